#pragma once
#include <optional>

#include "codecs/picture_rows.h"
#include "image/raster_image.h"

namespace tilvane {

// How closely a mosaic follows its original at a coarse scale: both are reduced to the means of
// blocks of block_width x block_height pixels laid from the mosaic's top-left corner (blocks at
// the right and bottom edges take what lies inside). Where the sizes differ, the original is
// first brought to the mosaic's size, one original pixel per mosaic pixel (for a mosaic K times
// the original, each pixel repeated K times). Nothing enlarged is held in memory.
struct Fidelity {
    double mean_absolute_difference;  // over all blocks and channels, 0 to 255
    double psnr;                      // in decibels, of the block means; infinite when they agree
};
// The mosaic is read a band of one block row at a time and the original a row at a time, so a
// poster on either side takes the memory of a band; a band found not valid throws the reader's error.
Fidelity Compare_Block_Means(Picture_Rows& original, Picture_Rows& mosaic, int block_width, int block_height);
Fidelity Compare_Block_Means(const Raster_Image& original, const Raster_Image& mosaic, int block_width, int block_height);

// The structural similarity (SSIM) of the two pictures in grey (0.299 R + 0.587 G + 0.114 B),
// the original brought to the mosaic's size as above: how far the mosaic keeps the original's
// shapes and contrasts, 1 when they are the same. Both are reduced 4 times by means of whole
// 4 x 4 blocks, then compared over every 7 x 7 window that lies wholly inside, with the usual
// constants (0.01 x 255)^2 and (0.03 x 255)^2 and the windows' sample variances; none when the
// reduced pictures are smaller than one window.
inline constexpr int kSimilarity_Reduction = 4;
// The mosaic is read k rows at a time and the original a row at a time, and only the last seven
// reduced rows are kept.
std::optional<double> Structural_Similarity(Picture_Rows& original, Picture_Rows& mosaic);
std::optional<double> Structural_Similarity(const Raster_Image& original, const Raster_Image& mosaic);

}  // namespace tilvane
