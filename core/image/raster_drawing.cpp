#include "raster_drawing.h"

#include <algorithm>
#include <cstring>

namespace tilvane {
namespace {

// Writes n source pixels to target, reduced to what dst holds when convert is set.
void put_run(const RasterImage& dst, std::uint8_t* target, const std::uint8_t* source, std::size_t n, bool convert) {
    std::memcpy(target, source, n * 3);
    if (convert) dst.reduce_run(target, n);
}

// A pixel-for-pixel copy between rectangles of one size: the overlap of what exists on both
// sides is copied row by row.
void copy_same_size(RasterImage& dst, Rect dst_rect, const RasterImage& src, Rect src_rect, bool convert) {
    const std::int64_t dx = std::int64_t{src_rect.left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_rect.top} - dst_rect.top;
    const Rect r = clip_to_both(dst_rect, dst.width(), dst.height(), dx, dy, src.width(), src.height());
    if (r.empty()) return;
    const std::size_t n = static_cast<std::size_t>(r.width());
    for (int y = r.top; y < r.bottom; ++y)
        put_run(dst, dst.row(y) + static_cast<std::size_t>(r.left) * 3,
                src.row(static_cast<int>(y + dy)) + static_cast<std::size_t>(r.left + dx) * 3, n, convert);
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
    const bool convert = !dst.stores_unchanged(src);
    if (dst_rect.width() == src_rect.width() && dst_rect.height() == src_rect.height()) {
        copy_same_size(dst, dst_rect, src, src_rect, convert);
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
        const std::uint8_t* source_row = src.row(sy);
        std::uint8_t* target = dst.row(y) + static_cast<std::size_t>(clipped.left) * 3;
        for (int x = clipped.left; x < clipped.right; ++x, target += 3) {
            const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
            if (sx >= 0) put_run(dst, target, source_row + static_cast<std::size_t>(sx) * 3, 1, convert);
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
