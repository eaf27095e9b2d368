// Writes the tuner's client area as the skin model composes it when the window opens, as a
// binary PPM, for the Wine test to compare the Windows program's window with.
//
//   skin_composition OUT.ppm R G B [lit]
//
// R G B is the window colour (the system's button face); "lit" shows the lamp lit.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ui/tform1.h"

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: skin_composition OUT.ppm R G B [lit]\n");
        return 2;
    }
    TForm1 form;
    form.SetWindowColour(skin::Rgb(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])));
    form.ShowLamp(argc == 6 && std::string_view(argv[5]) == "lit");
    form.Compose();
    const skin::PixelImage& image = form.Composed();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const skin::Pixel p = image.At(x, y);
            const unsigned char rgb[] = {static_cast<unsigned char>(skin::RedOf(p)),
                                         static_cast<unsigned char>(skin::GreenOf(p)),
                                         static_cast<unsigned char>(skin::BlueOf(p))};
            std::fwrite(rgb, 1, sizeof rgb, file);
        }
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
