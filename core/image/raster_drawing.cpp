#include "raster_drawing.h"

#include <algorithm>

namespace tilvane {
namespace {

// A pixel-for-pixel copy between rectangles of one size: the overlap of what exists on both
// sides is copied row by row.
void Copy_Same_Size(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, Rect src_rect, bool unchanged) {
    const std::int64_t dx = std::int64_t{src_rect.left} - dst_rect.left;
    const std::int64_t dy = std::int64_t{src_rect.top} - dst_rect.top;
    const Rect r = Clip_To_Both(dst_rect, dst.Width(), dst.Height(), dx, dy, src.Width(), src.Height());
    if (r.empty()) return;
    const std::size_t n = static_cast<std::size_t>(r.Width());
    for (int y = r.top; y < r.bottom; ++y)
        dst.Copy_Run(r.left, y, src, static_cast<int>(r.left + dx), static_cast<int>(y + dy), n, unchanged);
}

// For each destination position d in [0, dst_length), the source position it takes, or -1 where
// that lies outside the source. Positions map by truncation: d * src_length / dst_length. The
// vector is reused between calls, since a mosaic build scales one tile per cell.
const std::vector<int>& Source_Positions(std::vector<int>& positions, int dst_length, int src_start, int src_length,
                                         int src_limit) {
    positions.resize(static_cast<std::size_t>(dst_length));
    for (int d = 0; d < dst_length; ++d) {
        const auto s = src_start + static_cast<std::int64_t>(d) * src_length / dst_length;
        positions[static_cast<std::size_t>(d)] = s >= 0 && s < src_limit ? static_cast<int>(s) : -1;
    }
    return positions;
}

// Scales src_rect of src into dst_rect of dst: one source pixel per destination pixel.
void Draw_Scaled(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, Rect src_rect) {
    if (dst_rect.empty() || src_rect.empty()) return;
    const bool unchanged = dst.Stores_Unchanged(src);
    if (dst_rect.Width() == src_rect.Width() && dst_rect.Height() == src_rect.Height()) {
        Copy_Same_Size(dst, dst_rect, src, src_rect, unchanged);
        return;
    }
    const Rect clipped = Clip_To(dst_rect, dst.Width(), dst.Height());
    if (clipped.empty()) return;
    thread_local std::vector<int> column_buffer, row_buffer;
    const std::vector<int>& columns =
        Source_Positions(column_buffer, dst_rect.Width(), src_rect.left, src_rect.Width(), src.Width());
    const std::vector<int>& rows = Source_Positions(row_buffer, dst_rect.Height(), src_rect.top, src_rect.Height(), src.Height());

    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = rows[static_cast<std::size_t>(y - dst_rect.top)];
        if (sy < 0) continue;
        for (int x = clipped.left; x < clipped.right; ++x) {
            const int sx = columns[static_cast<std::size_t>(x - dst_rect.left)];
            if (sx >= 0) dst.Copy_Run(x, y, src, sx, sy, 1, unchanged);
        }
    }
}

}  // namespace

void Copy_Rect(Raster_Image& dst, Rect dst_rect, const Raster_Image& src, Rect src_rect) {
    Draw_Scaled(dst, dst_rect, src, src_rect);
}

void Stretch_Draw(Raster_Image& dst, Rect dst_rect, const Raster_Image& src) {
    Draw_Scaled(dst, dst_rect, src, Rect::At(0, 0, src.Width(), src.Height()));
}

}  // namespace tilvane
