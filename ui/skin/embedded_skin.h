// The skin's picture files, built into the program from ui/skin/art/ (see ui/CMakeLists.txt),
// and the pictures made from them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/skin/picture.h"

namespace skin {

struct EmbeddedFile {
    std::string_view name; // the file's name in ui/skin/art/, e.g. "LA5.jpg"
    std::span<const std::uint8_t> bytes;
};

// Every file, for whoever deals with the program's memory of them.
std::span<const EmbeddedFile> EmbeddedFiles();
// The picture stored under the component's name, drawn at `scale` (one of kArtScales, in its
// folder; art_scales.h): bitmaps decoded now, JPEG and PNG at first painting. Throws
// PictureError when the program holds no such picture or a bitmap cannot be read.
Picture EmbeddedPicture(std::string_view componentName, int scale = 1);
// From now on, each picture made by EmbeddedPicture tells `done` of its file's bytes once it is
// decoded from them (the host lets their pages go); null for nothing, as at start.
void SetEmbeddedBytesDone(EncodedBytesDone done);
// The bytes of the file whose name without its extension is `stem`, for what the host decodes
// itself (the window icon); throws PictureError when absent.
std::span<const std::uint8_t> EmbeddedBytes(std::string_view stem);

} // namespace skin
