// Debian's libstb brings stb_image compiled for Linux only; on Windows the decoder is compiled
// here, BMP only, the way the program reads its skin.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
