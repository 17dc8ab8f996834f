#include "raster_drawing.h"

#include <algorithm>

namespace tilvane {
namespace {

// A pixel-for-pixel copy between rectangles of one size: the overlap of what exists on both
// sides is copied row by row.
void copy_same_size(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect, bool unchanged) {
    const std::int64_t dx = std::int64_t{src_rect.left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_rect.top} - dst_rect.top;
    const Rect r = clip_to_both(dst_rect, dst.width(), dst.height(), dx, dy, src.width(), src.height());
    if (r.empty()) return;
    const std::size_t n = static_cast<std::size_t>(r.width());
    for (int y = r.top; y < r.bottom; ++y)
        dst.copy_run(r.left, y, src, static_cast<int>(r.left + dx), static_cast<int>(y + dy), n, unchanged);
}

// For each destination position d in [0, dst_length), the source position it takes, or -1 where
// that lies outside the source. Positions map by truncation: d * src_length / dst_length. The
// vector is reused between calls, since a mosaic build scales one tile per cell.
const std::vector<int>& source_positions(std::vector<int>& positions, int dst_length, int src_start, int src_length,
                                         int src_limit) {
    positions.resize(static_cast<std::size_t>(dst_length));
    for (int d = 0; d < dst_length; ++d) {
        const auto s = src_start + static_cast<std::int64_t>(d) * src_length / dst_length;
        positions[static_cast<std::size_t>(d)] = s >= 0 && s < src_limit ? static_cast<int>(s) : -1;
    }
    return positions;
}

// Scales src_rect of src into dst_rect of dst: one source pixel per destination pixel.
void draw_scaled(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect) {
    if (dst_rect.empty() || src_rect.empty()) return;
    const bool unchanged = dst.stores_unchanged(src);
    if (dst_rect.width() == src_rect.width() && dst_rect.height() == src_rect.height()) {
        copy_same_size(dst, dst_rect, src, src_rect, unchanged);
        return;
    }
    const Rect clipped = clip_to(dst_rect, dst.width(), dst.height());
    if (clipped.empty()) return;
    thread_local std::vector<int> column_buffer, row_buffer;
    const std::vector<int>& columns =
        source_positions(column_buffer, dst_rect.width(), src_rect.left, src_rect.width(), src.width());
    const std::vector<int>& rows = source_positions(row_buffer, dst_rect.height(), src_rect.top, src_rect.height(), src.height());

    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = rows[static_cast<std::size_t>(y - dst_rect.top)];
        if (sy < 0) continue;
        for (int x = clipped.left; x < clipped.right; ++x) {
            const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
            if (sx >= 0) dst.copy_run(x, y, src, sx, sy, 1, unchanged);
        }
    }
}

}  // namespace

void copy_rect(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect) {
    draw_scaled(dst, dst_rect, src, src_rect);
}

void stretch_draw(RasterImage& dst, Rect dst_rect, const RasterImage& src) {
    draw_scaled(dst, dst_rect, src, Rect::at(0, 0, src.width(), src.height()));
}

}  // namespace tilvane
