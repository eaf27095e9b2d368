// Writes the tuner's client area as the skin model composes it when the window opens, as a
// binary PPM, for the Wine test to compare the Windows program's window with.
//
//   skin_composition OUT.ppm R G B [off|lit] [SCALE]
//
// R G B is the window colour (the system's button face); "lit" shows the lamp lit; SCALE (1 or 2)
// picks the art, as a screen of that density does.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/support/image/client_picture.h"
#include "tests/support/image/ppm_file.h"
#include "ui/tform1.h"

int main(int argc, char** argv) {
    if (argc < 5 || argc > 7) {
        std::fprintf(stderr, "usage: skin_composition OUT.ppm R G B [off|lit] [SCALE]\n");
        return 2;
    }
    TForm1 form;
    form.SetArtScale(argc == 7 ? std::atoi(argv[6]) : 1);
    form.SetWindowColour(skin::Rgb(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])));
    form.ShowLamp(argc >= 6 && std::string_view(argv[5]) == "lit");
    if (!test_image::WritePpm(test_image::ClientPicture(form), argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
