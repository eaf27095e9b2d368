// Letting go of the pages of the skin files built into the program.
#pragma once

#include <cstdint>
#include <span>

// Their pages are part of the program file and read-only, so dropping them from the process
// loses nothing: a later read maps them again from the page cache. About 0.6 MB of resident
// memory once the window's bitmaps are decoded, and each strip or picture decoded later.

// Every file's pages: the bytes of those decoded so far, and of those never read.
void ReleaseEmbeddedSkinPages();
// The pages lying wholly within `bytes`, the bytes of one file just decoded.
void ReleaseSkinPagesOf(std::span<const std::uint8_t> bytes);
