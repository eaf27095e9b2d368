// stb_image's BMP and PNG readers, built into the program rather than taken from the system's
// shared libstb: compiled with the program it decodes the skin's pictures several times faster
// at start-up, and the program no longer loads the whole stb collection (and its memory) to read
// three kinds of BMP and the high-density PNGs.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>
