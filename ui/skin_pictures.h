// Pictures made from the skin files built into the program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/model/picture.h"

namespace skin {

// The picture stored under the component's name (bitmaps decoded now, JPEG at first painting).
// Throws PictureError when the program holds no such picture or a bitmap cannot be read.
Picture EmbeddedPicture(std::string_view componentName);
// The bytes of an embedded file that the host decodes itself (the window icon); throws
// PictureError when absent.
std::span<const std::uint8_t> EmbeddedBytes(std::string_view stem);

} // namespace skin
