// Letting go of the pages of the skin files built into the program.
#pragma once

// Once every bitmap is decoded, the files' bytes are read again only by a JPEG's first painting.
// Their pages are part of the program file and read-only, so dropping them from the process
// loses nothing: a later read maps them again from the page cache. About 0.6 MB of resident
// memory.
void ReleaseEmbeddedSkinPages();
