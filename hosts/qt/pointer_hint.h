// When a window's hints show: once the pointer has rested a moment over an area that has one;
// gone when the pointer leaves that area, or on a press. The hint itself is the toolkit's
// tooltip, which screen readers read and the desktop themes.
#pragma once

#include <functional>

#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

class QWindow;

namespace qt_host {

class PointerHint {
public:
    // The hint at a point of the owner and the area it holds for; empty text for none.
    using Lookup = std::function<QString(QPoint at, QRect* area)>;

    // `owner` gives the window the hints belong to once it exists.
    PointerHint(std::function<QWindow*()> owner, Lookup lookup);

    // The pointer moved to `at`, in the owner's coordinates.
    void Moved(QPoint at);
    // The pointer left the owner, or pressed a button.
    void Left();
    void Pressed();

private:
    void Show();
    void Hide();

    std::function<QWindow*()> owner_;
    Lookup lookup_;
    QPoint at_;
    QRect area_;         // where the hint shown holds
    bool shown_ = false; // a hint of ours is up
    QTimer rest_;
};

} // namespace qt_host
