// Where each picture sits in the window's client area, and how big it is. Small pictures carry
// as background whatever lies beneath them, so the generator needs these places to crop it.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace skingen {

inline constexpr QPoint kFondAt{3, 0};
inline constexpr QSize kFondSize{418, 326};
inline constexpr QPoint kShape1At{105, 62};
inline constexpr QSize kShape1Size{168, 179};

inline constexpr QPoint kLampAt{71, 23};
inline constexpr QSize kOffSize{16, 15};
inline constexpr QSize kOnSize{16, 16};
inline constexpr QPoint kHelpAt{330, 24};
inline constexpr QSize kHelpSize{16, 16};
inline constexpr QPoint kLogoAt{282, 248};
inline constexpr QSize kLogoSize{86, 43};

inline constexpr QSize kButtonSize{59, 58};
struct StringButton {
    const char* name;
    QPoint unlitAt;
    QPoint litAt;
    bool litAsJpeg; // all lit twins but the first are stored as JPEG
};
inline constexpr std::array<StringButton, 6> kStringButtons{{
    {"E6", {24, 50}, {24, 48}, false},
    {"A5", {24, 120}, {24, 120}, true},
    {"D4", {24, 192}, {24, 192}, true},
    {"G3", {287, 48}, {284, 48}, true},
    {"B2", {284, 120}, {284, 120}, true},
    {"E1", {284, 192}, {284, 192}, true},
}};

inline constexpr QPoint kMoinsAt{231, 168};
inline constexpr QSize kMoinsSize{32, 26};
inline constexpr QPoint kPlusAt{112, 173};
inline constexpr QSize kPlusSize{31, 20};

// The note read-out: 13 frames in a strip of four columns, drawn onto Shape1 at kNoteAt.
inline constexpr QSize kFrameSize{129, 75};
inline constexpr int kFrameCount = 13;
inline constexpr int kStripColumns = 4;
inline constexpr QSize kStripSize{516, 300};
inline constexpr QPoint kNoteAt{16, 23};

inline QPoint fondPoint(QPoint client) {
    return client - kFondAt;
}
inline QPoint shape1Point(QPoint client) {
    return client - kShape1At;
}

} // namespace skingen
