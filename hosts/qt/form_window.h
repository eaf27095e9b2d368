// The Qt window that puts a skin::Form on screen: it blits what the form composes of each area
// to paint into a backing store of its own, forwards raw mouse events, shows the form's cursors and
// hints, and carries out the moves and closes the form asks for. Everything the window looks like
// and does comes from the form. The form is the program's main window: once its window has closed,
// the message loop ends.
#pragma once

#include <memory>
#include <optional>

#include <QBackingStore>
#include <QRegion>
#include <QWindow>

#include "hosts/qt/pointer_hint.h"
#include "ui/skin/band_composer.h"
#include "ui/skin/form.h"

namespace a11y {
class TunerAccess;
}

namespace qt_host {

class AccessBridge;

class FormWindow final : public QWindow, private skin::WindowHost {
public:
    // `form` must outlive the window.
    explicit FormWindow(skin::Form& form);
    ~FormWindow() override;

    skin::Form& Form() { return form_; }
    // Shows the window; the first time, at the position the form chooses for the screen.
    void ShowWindow();
    // Closes the window, which ends the message loop, also when it was never shown.
    void CloseAndEnd();
    // Paints `region` of the client area as the window shows it, at the painter's device's
    // pixel ratio.
    void Render(QPainter& painter, const QRegion& region);

    // Shows `access` to assistive technology as this window's controls; it must outlive the
    // window.
    void MakeAccessible(a11y::TunerAccess& access);
    AccessBridge* Accessibility() const { return access_.get(); }
    QAccessibleInterface* accessibleRoot() const override;

    static Qt::CursorShape CursorShape(skin::Cursor cursor);
    static constexpr Qt::WindowFlags kFlags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

protected:
    void exposeEvent(QExposeEvent* event) override;
    // Paints the event's region into the backing store, between its begin and end of painting.
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Those without a handler of their own: the pointer's coming and going, palette changes,
    // requests to paint.
    bool event(QEvent* event) override;
    // Input: the mouse goes to the form's handlers as it comes, keys to the accessible controls.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void InvalidateArea(const skin::Rect& clientArea) override;
    void Invalidate(const QRegion& region);
    void PaintInvalidated();
    void MoveWindow(skin::Point position) override;
    void CloseWindow() override;
    bool StartInteractiveMove() override;

    void Press(QMouseEvent* event, bool doubleClick);
    void FinishInteractiveMove();
    void TakeWindowColour();
    void TakeIcon();
    void UpdateCursor(skin::Point at);

    skin::Form& form_;
    QBackingStore store_{this};
    QRegion invalid_;          // what is to be painted at the next painting
    bool paintPosted_ = false; // a painting is waiting in the event queue
    skin::BandComposer bands_;
    PointerHint hint_;
    skin::Cursor cursor_ = skin::Cursor::Default;
    struct HeldPress {
        skin::MouseButton button;
        skin::Point at;
    };
    skin::MouseButton pressButton_ = skin::MouseButton::Left; // the last press's button
    skin::Point pressAt_;                    // where the last press was, in client pixels
    std::optional<HeldPress> moveHeldPress_; // a press the compositor is moving the window with
    std::unique_ptr<AccessBridge> access_;
};

} // namespace qt_host
