#pragma once
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
// The mosaic is read a band of one block row at a time, so a poster takes the memory of a band;
// a band found not valid throws the reader's error.
Fidelity Compare_Block_Means(const RasterImage& original, Picture_Rows& mosaic, int block_width, int block_height);
Fidelity Compare_Block_Means(const RasterImage& original, const RasterImage& mosaic, int block_width, int block_height);

}  // namespace tilvane
