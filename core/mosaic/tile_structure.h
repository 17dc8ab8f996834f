#pragma once
// What a tile's or a cell's picture looks like once its mean colour is taken out: the colour shift
// supplies the mean, so two pictures match when these agree.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "image/raster_image.h"

namespace tilvane {

// The means of a 4 x 4 grid of equal parts of a rectangle, per channel (blue, green, red), each
// less the rectangle's own mean colour as the shift uses it.
inline constexpr int kStructure_Grid = 4;
inline constexpr int kStructure_Values = kStructure_Grid * kStructure_Grid * 3;
using Structure = std::array<float, kStructure_Values>;

// The structure of the part of image under r, less `mean`. A grid part with no pixel inside the
// image (a cell hanging over the edge) counts as 0 and is not visible: visible[part] is false.
// scale maps r onto an image `scale` times smaller (see Sum_Covered).
Structure Structure_Of(const Raster_Image& image, Rect r, Colour mean, int scale = 1,
                       std::array<bool, kStructure_Grid * kStructure_Grid>* visible = nullptr);

// The structure of the picture mirrored left to right: the grid's columns in reverse order.
Structure Mirrored(const Structure& s);

// The part of an image `scale` times smaller that lies under r of the large one, as the large
// one's pixels see it: the sums of each channel (blue, green, red), each pixel weighted by how many
// of r's pixels it stands for (a pixel r covers only a part of counts that part), and the number of
// r's pixels inside the large image.
struct Covered_Sums {
    std::uint64_t channel[3] = {0, 0, 0};
    std::uint64_t area = 0;
};
Covered_Sums Sum_Covered(const Raster_Image& image, Rect r, int scale);

// Finds the tiles whose structures lie nearest to a cell's without measuring every tile: the
// structures are projected onto their few main directions of spread (most of their differences
// lie there) and kept in a k-d tree over those coordinates; the tree gives the tiles nearest in
// projection, which the chooser then measures in full.
class Structure_Index {
public:
    static constexpr int kProjected = 8;

    explicit Structure_Index(std::vector<Structure> tiles);

    // Up to `count` tile indexes nearest to s in projection, nearest first (ties: lower index).
    void Nearest(const Structure& s, int count, std::vector<int>& out) const;

    const Structure& Tile(int index) const { return tiles_[static_cast<std::size_t>(index)]; }
    int Size() const { return static_cast<int>(tiles_.size()); }

private:
    using Point = std::array<float, kProjected>;
    struct Node {
        int begin, end;   // of order_
        int low, high;    // children, -1 for a leaf
        int axis;
        float split;
    };
    Point Project(const Structure& s) const;
    int Build(int begin, int end);
    void Search(int node, const Point& q, int count, std::vector<std::pair<float, int>>& heap) const;

    std::vector<Structure> tiles_;
    Structure centre_{};
    std::array<Structure, kProjected> axes_{};
    std::vector<Point> points_;
    std::vector<int> order_;
    std::vector<Node> nodes_;
};

}  // namespace tilvane
