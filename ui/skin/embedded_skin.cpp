#include "ui/skin/embedded_skin.h"

#include <algorithm>
#include <string>

#include "ui/skin/art_scales.h"

namespace skin {
namespace {

EncodedBytesDone embeddedBytesDone = nullptr;

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

Picture EmbeddedPicture(std::string_view componentName, int scale) {
    const ArtScale* art = FindArtScale(scale);
    if (art == nullptr) {
        throw PictureError("the program holds no skin drawn at " + std::to_string(scale) + "x");
    }
    const EmbeddedFile& file = Find(std::string(art->folder) + std::string(componentName));
    const auto format = file.name.ends_with(".png") ? PictureFormat::Png
                        : file.name.ends_with(".jpg") || file.name.ends_with(".jpeg")
                            ? PictureFormat::Jpeg
                            : PictureFormat::Bmp;
    return Picture(format, file.bytes, embeddedBytesDone);
}

void SetEmbeddedBytesDone(EncodedBytesDone done) {
    embeddedBytesDone = done;
}

std::span<const std::uint8_t> EmbeddedBytes(std::string_view stem) {
    return Find(stem).bytes;
}

} // namespace skin
