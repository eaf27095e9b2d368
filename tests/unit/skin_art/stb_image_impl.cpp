// The one translation unit that compiles stb_image; BMP only, the way the program reads skins.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
