#include "hosts/qt/skin_pages.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

#include "ui/skin/embedded_skin.h"

namespace {

void ReleasePages(std::uintptr_t begin, std::uintptr_t end) {
    // Whole pages only. The arrays are const, so the span lies in the program's read-only data;
    // any other constant sharing a page in it is mapped again just as the files are.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    begin = (begin + page - 1) / page * page;
    end = end / page * page;
    if (end > begin) {
        // Advice only: when refused, the pages simply stay.
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
    }
}

} // namespace

void ReleaseEmbeddedSkinPages() {
    std::uintptr_t begin = UINTPTR_MAX;
    std::uintptr_t end = 0;
    for (const skin::EmbeddedFile& file : skin::EmbeddedFiles()) {
        const auto at = reinterpret_cast<std::uintptr_t>(file.bytes.data());
        begin = std::min(begin, at);
        end = std::max(end, at + file.bytes.size());
    }
    ReleasePages(begin, end);
}

void ReleaseSkinPagesOf(std::span<const std::uint8_t> bytes) {
    const auto at = reinterpret_cast<std::uintptr_t>(bytes.data());
    ReleasePages(at, at + bytes.size());
}
