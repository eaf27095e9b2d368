// The one translation unit that compiles stb_image; BMP and PNG only, the way the program reads
// skins.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
