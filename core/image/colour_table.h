#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "colour.h"
#include "pixel_format.h"

namespace tilvane {

// The colour table of a 1-, 4- or 8-bit image, with nearest-colour reduction. Nearest means the
// least squared distance over the three channels; ties go to the lower index. Reduction is safe
// from several threads at once, and copies of a table share what it has learnt.
class Colour_Table {
public:
    static constexpr std::size_t kMax_Entries = 256;

    Colour_Table() = default;
    // At most kMax_Entries entries.
    explicit Colour_Table(std::vector<Colour> entries);

    // The fixed table an image gets when it is converted to a palette format: black and white
    // for 1 bit, the 16 standard VGA colours for 4 bits, a 6x6x6 colour cube and 40 greys for 8.
    static Colour_Table Standard(Pixel_Format format);

    const std::vector<Colour>& Entries() const { return entries_; }
    int size() const { return static_cast<int>(entries_.size()); }
    const Colour& operator[](int index) const { return entries_[static_cast<std::size_t>(index)]; }

    int Nearest_Index(Colour c) const;
    Colour Nearest(Colour c) const { return entries_[static_cast<std::size_t>(Nearest_Index(c))]; }
    // Replaces each of a run of blue-green-red pixels by its nearest entry, whose index goes to
    // the pixel's place in indexes.
    void Reduce(std::uint8_t* bgr, std::uint8_t* indexes, std::size_t pixels) const;

private:
    class Nearest_Search;
    struct Search_Holder;
    const Nearest_Search& Search() const;

    std::vector<Colour> entries_;
    std::shared_ptr<Search_Holder> holder_;
};

}  // namespace tilvane
