#include "ui/skin_files.h"

#include <algorithm>

namespace skin {

const EmbeddedFile* FindEmbeddedFile(std::string_view stem) {
    const auto files = EmbeddedFiles();
    const auto it = std::find_if(files.begin(), files.end(), [&](const EmbeddedFile& f) {
        return f.name.size() > stem.size() && f.name.starts_with(stem) &&
               f.name[stem.size()] == '.';
    });
    return it != files.end() ? &*it : nullptr;
}

} // namespace skin
