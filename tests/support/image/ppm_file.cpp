#include "tests/support/image/ppm_file.h"

#include <cstdio>

namespace test_image {

bool WritePpm(const skin::RgbPixels& image, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const skin::Pixel p = image.At(x, y);
            const unsigned char rgb[] = {static_cast<unsigned char>(p >> 16),
                                         static_cast<unsigned char>(p >> 8),
                                         static_cast<unsigned char>(p)};
            std::fwrite(rgb, 1, sizeof rgb, file);
        }
    }
    return std::fclose(file) == 0;
}

} // namespace test_image
