// The window's layout as the generator needs it, read from the program's own form description.
// Small pictures carry as background whatever lies beneath them, so the generator needs these
// places to crop it. Everything is in skin pixels.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <string_view>

#include "ui/form1_description.h"

namespace skingen {

inline QPoint PlaceOf(std::string_view component) {
    const skin::ComponentDescription& c = form1::Component(component);
    return {c.left, c.top};
}
inline QSize SizeOf(std::string_view component) {
    const skin::ComponentDescription& c = form1::Component(component);
    return {c.width, c.height};
}
inline QPoint ToQt(skin::Point p) {
    return {p.x, p.y};
}
inline QRect ToQt(const skin::Rect& r) {
    return {r.left, r.top, r.Width(), r.Height()};
}

// The string buttons, unlit and lit twin ("L" + name), as the form names them; all lit twins
// but the first are stored as JPEG.
struct StringButton {
    std::string_view name;
    bool litAsJpeg;
};
inline std::array<StringButton, form1::kStringButtons> StringButtons() {
    std::array<StringButton, form1::kStringButtons> buttons{};
    for (std::size_t k = 0; k < buttons.size(); ++k) {
        buttons[k] = {form1::StringButtonNames()[k], k != 0};
    }
    return buttons;
}

// The note strip holds Liste's frames four to a row; the cells past the last frame repeat it.
inline constexpr int kStripColumns = 4;
inline QRect StripCell(int cell) {
    const QSize frame = SizeOf("Liste");
    return {QPoint(cell % kStripColumns * frame.width(), cell / kStripColumns * frame.height()),
            frame};
}
inline QSize StripSize() {
    const int rows = (form1::kListeFrames + kStripColumns - 1) / kStripColumns;
    return {kStripColumns * SizeOf("Liste").width(), rows * SizeOf("Liste").height()};
}

inline QPoint FondPoint(QPoint client) {
    return client - PlaceOf("Fond");
}
inline QPoint Shape1Point(QPoint client) {
    return client - PlaceOf("Shape1");
}

} // namespace skingen
