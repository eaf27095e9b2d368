#include "ui/skin_pictures.h"

#include <string>

#include "ui/skin_files.h"

namespace skin {
namespace {

const EmbeddedFile& Find(std::string_view stem) {
    const EmbeddedFile* file = FindEmbeddedFile(stem);
    if (file == nullptr) {
        throw PictureError("the program holds no skin picture named " + std::string(stem));
    }
    return *file;
}

} // namespace

Picture EmbeddedPicture(std::string_view componentName) {
    const EmbeddedFile& file = Find(componentName);
    const bool jpeg = file.name.ends_with(".jpg") || file.name.ends_with(".jpeg");
    return Picture(jpeg ? PictureFormat::Jpeg : PictureFormat::Bmp, file.bytes);
}

std::span<const std::uint8_t> EmbeddedBytes(std::string_view stem) {
    return Find(stem).bytes;
}

} // namespace skin
