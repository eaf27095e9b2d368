// A hint beside the pointer, and when to show it: once the pointer has rested a moment over an
// area that has one; gone when the pointer leaves that area, on a press, or after a while.
#pragma once

#include <functional>

#include <QPoint>
#include <QRasterWindow>
#include <QRect>
#include <QString>
#include <QTimer>

namespace qt_host {

// The hint itself: its text on the platform's tooltip colours, in a frameless window.
class HintWindow final : public QRasterWindow {
public:
    HintWindow();
    // Shows `text` with its top-left corner at `globalAt`, kept on the screen; `owner` is the
    // window the hint belongs to.
    void ShowText(const QString& text, QPoint globalAt, QWindow* owner);
    const QString& Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

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
    QRect area_; // where the hint shown holds
    QTimer rest_;
    QTimer expiry_;
    HintWindow window_;
};

} // namespace qt_host
