// The skin's picture files, built into the program from ui/skin/ (see ui/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace skin {

struct EmbeddedFile {
    std::string_view name; // the file's name in ui/skin/, e.g. "LA5.jpg"
    std::span<const std::uint8_t> bytes;
};

std::span<const EmbeddedFile> EmbeddedFiles();
// The file whose name without its extension is `stem` (a component's name); null if none.
const EmbeddedFile* FindEmbeddedFile(std::string_view stem);

} // namespace skin
