// Writes a photo-like BMP for the benchmarks: bench_data OUT.bmp WIDTH HEIGHT [SEED]
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "codecs/bmp/bmp_file.h"
#include "demo_pictures.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "Usage: tilvane_bench_data OUT.bmp WIDTH HEIGHT [SEED]\n");
        return 2;
    }
    try {
        const unsigned seed = argc > 4 ? static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)) : 1;
        Save_Bitmap_File(tilvane::demo::Synthetic_Photo(std::atoi(argv[2]), std::atoi(argv[3]), seed), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
