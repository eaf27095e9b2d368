// The scales the skin's art is drawn at, where each lies, and which one a screen gets. The 1x
// art lies in ui/skin/art/, every other in art/Nx/: the build embeds each such folder it finds
// under the same name, and tools/skingen draws every scale listed here.
#pragma once

#include <string_view>

namespace skin {

struct ArtScale {
    int scale;               // each skin pixel is scale x scale pixels of this art
    std::string_view folder; // its pictures' folder under art/, and so in the program
    double fromRatio;        // the lowest device pixel ratio that gets this art
};

// Smallest first.
inline constexpr ArtScale kArtScales[] = {{1, "", 0.0}, {2, "2x/", 1.5}};

// The art for a screen of that device pixel ratio: 1x below 150 %, 2x from there up (scaled
// down smoothly by the host below 200 %, up above it).
constexpr int ArtScaleFor(double devicePixelRatio) {
    int chosen = kArtScales[0].scale;
    for (const ArtScale& art : kArtScales) {
        if (devicePixelRatio >= art.fromRatio) {
            chosen = art.scale;
        }
    }
    return chosen;
}

// The art drawn at `scale`, or null when there is none.
constexpr const ArtScale* FindArtScale(int scale) {
    for (const ArtScale& art : kArtScales) {
        if (art.scale == scale) {
            return &art;
        }
    }
    return nullptr;
}

} // namespace skin
