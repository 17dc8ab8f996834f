#pragma once

namespace tilvane {

// The size a caller needs at least: a decoder that can shrink while decoding may return an
// image down to this size (never below it, never above the file's own). Zero asks for the
// full size.
struct Load_Hint {
    int min_width = 0;
    int min_height = 0;
};

}  // namespace tilvane
