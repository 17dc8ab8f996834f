#include "tile_structure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace tilvane {
namespace {

// The eigenvectors of a symmetric matrix by cyclic Jacobi rotations, as the columns of the
// result; the eigenvalues end on the diagonal of a.
using Matrix = std::array<double, kStructure_Values * kStructure_Values>;
constexpr int kN = kStructure_Values;

Matrix Eigenvectors(Matrix& a) {
    Matrix v{};
    for (int i = 0; i < kN; ++i) v[i * kN + i] = 1;
    for (int sweep = 0; sweep < 60; ++sweep) {
        double off = 0, all = 0;
        for (int p = 0; p < kN; ++p)
            for (int q = 0; q < kN; ++q) (p == q ? all : off) += a[p * kN + q] * a[p * kN + q];
        if (off <= 1e-22 * (all + off) || off == 0) break;
        for (int p = 0; p < kN; ++p)
            for (int q = p + 1; q < kN; ++q) {
                const double apq = a[p * kN + q];
                if (apq == 0) continue;
                const double theta = (a[q * kN + q] - a[p * kN + p]) / (2 * apq);
                const double t = (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < kN; ++k) {
                    const double kp = a[k * kN + p], kq = a[k * kN + q];
                    a[k * kN + p] = c * kp - s * kq;
                    a[k * kN + q] = s * kp + c * kq;
                }
                for (int k = 0; k < kN; ++k) {
                    const double pk = a[p * kN + k], qk = a[q * kN + k];
                    a[p * kN + k] = c * pk - s * qk;
                    a[q * kN + k] = s * pk + c * qk;
                }
                for (int k = 0; k < kN; ++k) {
                    const double kp = v[k * kN + p], kq = v[k * kN + q];
                    v[k * kN + p] = c * kp - s * kq;
                    v[k * kN + q] = s * kp + c * kq;
                }
            }
    }
    return v;
}

int Part_Edge(int from, int length, int part) {
    return static_cast<int>(from + std::int64_t{length} * part / kStructure_Grid);
}

}  // namespace

Covered_Sums Sum_Covered(const Raster_Image& image, Rect r, int scale) {
    const std::int64_t k = scale;
    const std::int64_t left = std::max<std::int64_t>(r.left, 0), right = std::min(std::int64_t{r.right}, image.Width() * k);
    const std::int64_t top = std::max<std::int64_t>(r.top, 0), bottom = std::min(std::int64_t{r.bottom}, image.Height() * k);
    Covered_Sums sums;
    if (right <= left || bottom <= top) return sums;
    // A pixel stands for k of r's rows or columns, except the first and the last, which r may
    // cover only in part.
    const auto weight = [k](std::int64_t from, std::int64_t to, std::int64_t i) {
        return std::min(to, (i + 1) * k) - std::max(from, i * k);
    };
    const std::int64_t first_x = left / k, last_x = (right - 1) / k;
    const std::int64_t first_weight = weight(left, right, first_x), last_weight = weight(left, right, last_x);
    for (std::int64_t y = top / k; y <= (bottom - 1) / k; ++y) {
        const std::uint8_t* row = image.Row(static_cast<int>(y));
        std::int64_t line[3] = {0, 0, 0};
        for (const std::uint8_t* p = row + first_x * 3; p <= row + last_x * 3; p += 3) {
            line[0] += p[0];
            line[1] += p[1];
            line[2] += p[2];
        }
        const std::int64_t row_weight = weight(top, bottom, y);
        for (int ch = 0; ch < 3; ++ch) {
            std::int64_t weighted = line[ch] * k + (first_weight - k) * row[first_x * 3 + ch];
            if (last_x != first_x) weighted += (last_weight - k) * row[last_x * 3 + ch];
            sums.channel[ch] += static_cast<std::uint64_t>(row_weight * weighted);
        }
    }
    sums.area = static_cast<std::uint64_t>((right - left) * (bottom - top));
    return sums;
}

Structure Structure_Of(const Raster_Image& image, Rect r, Colour mean, int scale,
                       std::array<bool, kStructure_Grid * kStructure_Grid>* visible) {
    Structure s{};
    const float own[3] = {static_cast<float>(mean.blue), static_cast<float>(mean.green), static_cast<float>(mean.red)};
    for (int py = 0; py < kStructure_Grid; ++py)
        for (int px = 0; px < kStructure_Grid; ++px) {
            const Rect part{Part_Edge(r.left, r.Width(), px), Part_Edge(r.top, r.Height(), py),
                            Part_Edge(r.left, r.Width(), px + 1), Part_Edge(r.top, r.Height(), py + 1)};
            const Covered_Sums sums = Sum_Covered(image, part, scale);
            const int index = py * kStructure_Grid + px;
            if (visible) (*visible)[static_cast<std::size_t>(index)] = sums.area != 0;
            if (sums.area == 0) continue;
            const double count = static_cast<double>(sums.area);
            for (int ch = 0; ch < 3; ++ch)
                s[static_cast<std::size_t>(index * 3 + ch)] = static_cast<float>(sums.channel[ch] / count) - own[ch];
        }
    return s;
}

Structure Mirrored(const Structure& s) {
    Structure m;
    for (int py = 0; py < kStructure_Grid; ++py)
        for (int px = 0; px < kStructure_Grid; ++px)
            for (int ch = 0; ch < 3; ++ch)
                m[static_cast<std::size_t>((py * kStructure_Grid + px) * 3 + ch)] =
                    s[static_cast<std::size_t>((py * kStructure_Grid + kStructure_Grid - 1 - px) * 3 + ch)];
    return m;
}

Structure_Index::Structure_Index(std::vector<Structure> tiles) : tiles_(std::move(tiles)) {
    const double n = std::max<double>(1, static_cast<double>(tiles_.size()));
    std::array<double, kN> centre{};
    for (const Structure& t : tiles_)
        for (int d = 0; d < kN; ++d) centre[d] += t[d] / n;
    for (int d = 0; d < kN; ++d) centre_[d] = static_cast<float>(centre[d]);
    Matrix spread{};
    for (const Structure& t : tiles_)
        for (int i = 0; i < kN; ++i)
            for (int j = i; j < kN; ++j) spread[i * kN + j] += (t[i] - centre[i]) * (t[j] - centre[j]);
    for (int i = 0; i < kN; ++i)
        for (int j = 0; j < i; ++j) spread[i * kN + j] = spread[j * kN + i];
    const Matrix vectors = Eigenvectors(spread);
    std::array<int, kN> by_spread;
    std::iota(by_spread.begin(), by_spread.end(), 0);
    std::stable_sort(by_spread.begin(), by_spread.end(), [&](int a, int b) { return spread[a * kN + a] > spread[b * kN + b]; });
    for (int k = 0; k < kProjected; ++k)
        for (int d = 0; d < kN; ++d) axes_[k][d] = static_cast<float>(vectors[d * kN + by_spread[k]]);

    points_.reserve(tiles_.size());
    for (const Structure& t : tiles_) points_.push_back(Project(t));
    order_.resize(tiles_.size());
    std::iota(order_.begin(), order_.end(), 0);
    if (!tiles_.empty()) Build(0, static_cast<int>(order_.size()));
}

Structure_Index::Point Structure_Index::Project(const Structure& s) const {
    Point p{};
    for (int k = 0; k < kProjected; ++k) {
        float sum = 0;
        for (int d = 0; d < kN; ++d) sum += axes_[k][d] * (s[d] - centre_[d]);
        p[k] = sum;
    }
    return p;
}

int Structure_Index::Build(int begin, int end) {
    const int at = static_cast<int>(nodes_.size());
    nodes_.push_back({begin, end, -1, -1, 0, 0});
    constexpr int kLeaf = 8;
    if (end - begin <= kLeaf) return at;
    int axis = 0;
    float widest = -1;
    for (int k = 0; k < kProjected; ++k) {
        const auto [low, high] = std::minmax_element(order_.begin() + begin, order_.begin() + end,
                                                     [&](int a, int b) { return points_[a][k] < points_[b][k]; });
        const float width = points_[*high][k] - points_[*low][k];
        if (width > widest) widest = width, axis = k;
    }
    const int middle = begin + (end - begin) / 2;
    std::nth_element(order_.begin() + begin, order_.begin() + middle, order_.begin() + end, [&](int a, int b) {
        return points_[a][axis] < points_[b][axis] || (points_[a][axis] == points_[b][axis] && a < b);
    });
    const float split = points_[order_[middle]][axis];
    const int low = Build(begin, middle);
    const int high = Build(middle, end);
    nodes_[at] = {begin, end, low, high, axis, split};
    return at;
}

void Structure_Index::Search(int index, const Point& q, int count, std::vector<std::pair<float, int>>& heap) const {
    const Node& node = nodes_[static_cast<std::size_t>(index)];
    if (node.low < 0) {
        for (int i = node.begin; i < node.end; ++i) {
            const int tile = order_[static_cast<std::size_t>(i)];
            float d = 0;
            for (int k = 0; k < kProjected; ++k) d += (points_[tile][k] - q[k]) * (points_[tile][k] - q[k]);
            const std::pair<float, int> found{d, tile};
            if (static_cast<int>(heap.size()) < count) {
                heap.push_back(found);
                std::push_heap(heap.begin(), heap.end());
            } else if (found < heap.front()) {
                std::pop_heap(heap.begin(), heap.end());
                heap.back() = found;
                std::push_heap(heap.begin(), heap.end());
            }
        }
        return;
    }
    const float diff = q[node.axis] - node.split;
    Search(diff < 0 ? node.low : node.high, q, count, heap);
    if (static_cast<int>(heap.size()) < count || diff * diff <= heap.front().first)
        Search(diff < 0 ? node.high : node.low, q, count, heap);
}

void Structure_Index::Nearest(const Structure& s, int count, std::vector<int>& out) const {
    out.clear();
    if (tiles_.empty() || count <= 0) return;
    thread_local std::vector<std::pair<float, int>> heap;
    heap.clear();
    Search(0, Project(s), count, heap);
    std::sort_heap(heap.begin(), heap.end());
    for (const auto& [distance, tile] : heap) out.push_back(tile);
}

}  // namespace tilvane
