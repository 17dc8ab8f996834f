#pragma once
// A picture loaded from a file for showing as it is: a bitmap, an icon or a metafile, each drawn
// at its own size from a window's top-left corner.
#include <windows.h>

#include <string>

#include "codecs/picture_file.h"
#include "win/handles.h"

namespace tilvane::kit {

class Picture {
public:
    Picture() = default;
    Picture(Picture&&) noexcept = default;
    Picture& operator=(Picture&&) noexcept = default;

    // Loads path with the decoder its extension names, letter case ignored: .bmp and .jpg/.jpeg
    // (and .png where formats takes every format) through the core's decoders, upright as a
    // JPEG's orientation says, .ico through Windows, .wmf (placeable or plain) and .emf as
    // metafiles. Throws the decoder's error for a file it cannot read, and "Unknown picture file
    // extension (.ext)" for any other extension.
    static Picture Load_File(const std::string& utf8_path, Picture_Formats formats = Picture_Formats::Bmp_Only);

    bool Empty() const { return !bitmap_ && !icon_ && !metafile_; }
    SIZE Size() const { return size_; }
    // Draws the picture unscaled with its top-left corner at (0, 0) of dc.
    void Draw(HDC dc) const;

private:
    win::Gdi_Object<HBITMAP> bitmap_;
    win::Icon icon_;
    win::Enhanced_Metafile metafile_;
    SIZE size_{0, 0};
};

}  // namespace tilvane::kit
