#include "demo_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

#include "codecs/bmp/bmp_file.h"
#include "support/file_io.h"
#include "tiles/tile_list_file.h"

namespace tilvane::demo {
namespace {

constexpr int kDemo_Tiles = 12;

std::uint8_t to_channel(double v) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(v * 255), 0, 255)); }

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

Raster_Image Synthetic_Photo(int width, int height, unsigned seed) {
    Raster_Image image(width, height, Pixel_Format::Bits24);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    const double cx = width * 0.6, cy = height * 0.4, radius = 0.35 * std::min(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const double dx = x - cx, dy = y - cy;
            const double sun = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / radius);
            const double sky = static_cast<double>(y) / height;
            const double wave = 0.5 + 0.5 * std::sin(x * 0.01 + std::cos(y * 0.013) * 3);
            const auto channel = [&](double v) { return to_channel(v + noise(random) / 255.0); };
            p[2] = channel(0.2 + 0.6 * sun + 0.2 * wave);
            p[1] = channel(0.3 * sky + 0.4 * sun + 0.2 * wave);
            p[0] = channel(0.8 - 0.6 * sky + 0.1 * wave);
        }
    }
    return image;
}

Raster_Image Demo_Tile(int index) {
    const int width = 48 + 8 * (index % 4), height = 36 + 6 * (index % 3);
    Raster_Image tile(width, height, Pixel_Format::Bits24);
    const double hue = index * 0.53;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double light = 0;
            switch (index % 4) {
                case 0: light = (x / 6 + y / 6) % 2; break;                                     // checks
                case 1: light = 0.5 + 0.5 * std::sin(x * 0.5); break;                           // stripes
                case 2: light = 0.5 + 0.5 * std::cos(std::hypot(x - width / 2.0, y - height / 2.0) * 0.6); break;  // rings
                default: light = static_cast<double>(x + y) / (width + height); break;          // ramp
            }
            tile.Set_Pixel(x, y, {to_channel(0.3 + 0.5 * light * (0.5 + 0.5 * std::sin(hue))),
                                  to_channel(0.3 + 0.5 * light * (0.5 + 0.5 * std::sin(hue + 2.1))),
                                  to_channel(0.3 + 0.5 * light * (0.5 + 0.5 * std::sin(hue + 4.2)))});
        }
    return tile;
}

std::vector<std::string> Write_Demo(const std::string& folder) {
    const std::filesystem::path base = std::filesystem::absolute(std::filesystem::path(std::u8string(folder.begin(), folder.end())));
    Save_Bitmap_File(Synthetic_Photo(640, 480, 2026), utf8(base / "Demo_Original.bmp"));
    std::filesystem::create_directories(base / "Demo_Tiles");
    std::vector<std::string> tiles;
    for (int i = 0; i < kDemo_Tiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Tile_%02d.bmp", i + 1);
        tiles.push_back(utf8(base / "Demo_Tiles" / name));
        Save_Bitmap_File(Demo_Tile(i), tiles.back());
    }
    Write_File_Atomically(utf8(base / std::string(tiles::kTile_List_File_Name)), tiles::Serialise_Tile_List(tiles));
    return tiles;
}

}  // namespace tilvane::demo
