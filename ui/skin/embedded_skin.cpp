#include "ui/skin/embedded_skin.h"

#include <algorithm>
#include <string>

namespace skin {
namespace {

const EmbeddedFile& Find(std::string_view stem) {
    const auto files = EmbeddedFiles();
    const auto it = std::find_if(files.begin(), files.end(), [&](const EmbeddedFile& f) {
        return f.name.size() > stem.size() && f.name.starts_with(stem) &&
               f.name[stem.size()] == '.';
    });
    if (it == files.end()) {
        throw PictureError("the program holds no skin picture named " + std::string(stem));
    }
    return *it;
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
