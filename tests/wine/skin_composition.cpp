// Writes the tuner's client area as the skin model composes it when the window opens, as a
// binary PPM, for the Wine test to compare the Windows program's window with.
//
//   skin_composition OUT.ppm R G B [lit]
//
// R G B is the window colour (the system's button face); "lit" shows the lamp lit.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/support/image/client_picture.h"
#include "tests/support/image/ppm_file.h"
#include "ui/tform1.h"

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: skin_composition OUT.ppm R G B [lit]\n");
        return 2;
    }
    TForm1 form;
    form.SetWindowColour(skin::Rgb(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])));
    form.ShowLamp(argc == 6 && std::string_view(argv[5]) == "lit");
    if (!test_image::WritePpm(test_image::ClientPicture(form), argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
