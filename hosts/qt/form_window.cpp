#include "hosts/qt/form_window.h"

#include <cmath>
#include <optional>
#include <utility>

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QExposeEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "hosts/qt/accessibility/access_bridge.h"
#include "hosts/qt/accessibility/window_interface.h"

namespace qt_host {
namespace {

std::optional<skin::MouseButton> SkinButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return skin::MouseButton::Left;
    case Qt::RightButton: return skin::MouseButton::Right;
    case Qt::MiddleButton: return skin::MouseButton::Middle;
    default: return std::nullopt;
    }
}

Qt::MouseButton QtButton(skin::MouseButton button) {
    switch (button) {
    case skin::MouseButton::Right: return Qt::RightButton;
    case skin::MouseButton::Middle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

// The skin pixel under the pointer (positions are fractional on scaled screens).
skin::Point SkinPoint(const QPointF& position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

// The stroke a key event stands for. Keys held with Ctrl, Alt or Meta belong to the desktop,
// and only Tab repeats: a held digit would pick and let go by turns.
std::optional<a11y::KeyStroke> Stroke(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return std::nullopt;
    }
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        return a11y::KeyStroke{a11y::CodeTab, shift || key == Qt::Key_Backtab};
    }
    if (event.isAutoRepeat()) {
        return std::nullopt;
    }
    switch (key) {
    case Qt::Key_Space: return a11y::KeyStroke{a11y::CodeSpace, shift};
    case Qt::Key_Return:
    case Qt::Key_Enter: return a11y::KeyStroke{a11y::CodeEnter, shift};
    case Qt::Key_Escape: return a11y::KeyStroke{a11y::CodeEscape, shift};
    case Qt::Key_F1: return a11y::KeyStroke{a11y::CodeF1, shift};
    default: break;
    }
    // Qt's codes for letters and digits are their upper-case ASCII, keypad digits included.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
        return a11y::KeyStroke{static_cast<char32_t>(key), shift};
    }
    return std::nullopt;
}

} // namespace

FormWindow::FormWindow(skin::Form& form)
    : form_(form),
      hint_([this] { return this; },
            [this](QPoint at, QRect* area) {
                skin::Rect held;
                const std::string_view hint = form_.HintAt({at.x(), at.y()}, &held);
                *area = QRect(held.left, held.top, held.Width(), held.Height());
                return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
            }) {
    setSurfaceType(QSurface::RasterSurface);
    setFlags(kFlags);
    setTitle(
        QString::fromUtf8(form.Caption().data(), static_cast<qsizetype>(form.Caption().size())));
    TakeWindowColour();
    // The art for the screen the window starts on, before anything is painted or decoded.
    form_.SetArtScale(skin::ArtScaleFor(devicePixelRatio()));
    const skin::Size client = form.ClientSize();
    resize(client.width, client.height);
    form_.AttachHost(this);
}

FormWindow::~FormWindow() {
    // Before the window goes: Qt may still ask its interface for children until then.
    access_.reset();
    form_.AttachHost(nullptr);
}

void FormWindow::MakeAccessible(a11y::TunerAccess& access) {
    InstallWindowFactory();
    access_ = std::make_unique<AccessBridge>(*this, access);
}

QAccessibleInterface* FormWindow::accessibleRoot() const {
    // Without a root the application shows assistive technology no windows at all.
    if (!access_) {
        return QWindow::accessibleRoot();
    }
    return QAccessible::queryAccessibleInterface(const_cast<FormWindow*>(this));
}

void FormWindow::ShowWindow() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target != nullptr) {
        const QRect area = target->geometry();
        if (const auto at = form_.PlaceForFirstShowing({area.width(), area.height()})) {
            setFramePosition({area.left() + at->x, area.top() + at->y});
        }
    }
    show();
    // Reading the icon loads the toolkit's image plugins: once the window is up, not before.
    if (icon().isNull()) {
        QTimer::singleShot(0, this, &FormWindow::TakeIcon);
    }
}

void FormWindow::TakeIcon() {
    const auto icon = form_.IconData();
    QPixmap iconPixmap;
    if (!icon.empty() &&
        iconPixmap.loadFromData(icon.data(), static_cast<uint>(icon.size()), "ICO")) {
        setIcon(QIcon(iconPixmap));
    }
}

void FormWindow::focusInEvent(QFocusEvent* event) {
    QWindow::focusInEvent(event);
    if (access_) {
        access_->WindowFocused();
    }
}

Qt::CursorShape FormWindow::CursorShape(skin::Cursor cursor) {
    switch (cursor) {
    case skin::Cursor::HandPoint: return Qt::PointingHandCursor;
    case skin::Cursor::Help: return Qt::WhatsThisCursor;
    case skin::Cursor::Default: break;
    }
    return Qt::ArrowCursor;
}

bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::Enter) {
        // The pointer is back after the compositor moved the window.
        FinishInteractiveMove();
    }
    if (event->type() == QEvent::Leave) {
        hint_.Left();
    }
    if (event->type() == QEvent::ApplicationPaletteChange ||
        event->type() == QEvent::PaletteChange) {
        TakeWindowColour();
        Invalidate(QRect(QPoint(0, 0), size()));
    }
    if (event->type() == QEvent::UpdateRequest) {
        paintPosted_ = false;
        PaintInvalidated();
        return true;
    }
    if (event->type() == QEvent::Paint) {
        // A platform that asks for painting itself gets the whole window, as on exposure.
        invalid_ = QRect(QPoint(0, 0), size());
        PaintInvalidated();
        return true;
    }
    return QWindow::event(event);
}

void FormWindow::exposeEvent(QExposeEvent*) {
    // The exposed region is not given in the same coordinates by every platform: all of it.
    if (isExposed()) {
        invalid_ = QRect(QPoint(0, 0), size());
        PaintInvalidated();
    }
}

void FormWindow::Invalidate(const QRegion& region) {
    invalid_ += region;
    // Painted once the event at hand is done, so that what it changed goes out together. Not
    // through the toolkit's update request, which waits a few milliseconds on a timer: one more
    // wake-up of this thread per block heard.
    if (!paintPosted_) {
        paintPosted_ = true;
        QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest));
    }
}

void FormWindow::PaintInvalidated() {
    // A hidden or minimised window keeps what it owes for when it shows again, which paints all.
    if (!isExposed() || invalid_.isEmpty()) {
        return;
    }
    if (store_.size() != size()) {
        store_.resize(size());
        invalid_ = QRect(QPoint(0, 0), size());
    }
    const QRegion region = std::exchange(invalid_, QRegion());
    store_.beginPaint(region);
    QPaintEvent paint(region);
    paintEvent(&paint);
    store_.endPaint();
    store_.flush(region);
}

void FormWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(store_.paintDevice());
    Render(painter, event->region());
}

void FormWindow::Render(QPainter& painter, const QRegion& region) {
    const qreal ratio = painter.device()->devicePixelRatio();
    // The screen may have changed under the window (another screen, another scale): the art
    // follows it. A change repaints the whole window; this paint already uses the new art.
    form_.SetArtScale(skin::ArtScaleFor(ratio));
    const int art = form_.ArtScale();
    const auto show = [&painter, art](const skin::RgbPixels& pixels, const skin::Rect& band) {
        // 0xFFRRGGBB words, exactly Qt's RGB32: wrapped, not copied.
        const QImage view(reinterpret_cast<const uchar*>(pixels.Data()), pixels.Width(),
                          pixels.Height(), pixels.Width() * 4, QImage::Format_RGB32);
        painter.drawImage(QRect(band.left, band.top, band.Width(), band.Height()), view,
                          QRect(0, 0, band.Width() * art, band.Height() * art));
    };
    for (const QRect& needed : region) {
        const skin::Rect area{needed.left(), needed.top(), needed.right() + 1, needed.bottom() + 1};
        const skin::ScreenPainting painting = skin::PaintingFor(art, ratio, area);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, painting.smooth);
        bands_.Compose(form_, area, painting.bandRows, show);
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    form_.SetClientSize({width(), height()});
    Invalidate(QRect(QPoint(0, 0), size()));
    QWindow::resizeEvent(event);
}

void FormWindow::moveEvent(QMoveEvent* event) {
    // Where the frame is, as the form places the window.
    const QPoint frame = framePosition();
    form_.WindowMoved({frame.x(), frame.y()});
    QWindow::moveEvent(event);
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
    // The second press of a double-click comes again as the double-click itself.
    if (event->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) {
        return;
    }
    Press(event, false);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event, true);
}

void FormWindow::Press(QMouseEvent* event, bool doubleClick) {
    FinishInteractiveMove();
    hint_.Pressed();
    const auto button = SkinButton(event->button());
    if (!button) {
        return;
    }
    pressButton_ = *button;
    pressAt_ = SkinPoint(event->position());
    form_.MouseDown(*button, pressAt_, doubleClick);
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = SkinButton(event->button());
    if (!button) {
        return;
    }
    if (moveHeldPress_ && moveHeldPress_->button == *button) {
        // The compositor declined the move: this is the press's own release.
        moveHeldPress_.reset();
    }
    const skin::Point at = SkinPoint(event->position());
    form_.MouseUp(*button, at);
    UpdateCursor(at);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    const std::optional<a11y::KeyStroke> stroke = Stroke(*event);
    const std::optional<a11y::Key> key = stroke ? a11y::KeyFor(*stroke) : std::nullopt;
    if (!key) {
        QWindow::keyPressEvent(event);
        return;
    }
    form_.KeyPressed(*key);
}

void FormWindow::mouseMoveEvent(QMouseEvent* event) {
    // Motion with the button still down means the compositor did not take the press.
    if (moveHeldPress_ && !event->buttons().testFlag(QtButton(moveHeldPress_->button))) {
        FinishInteractiveMove();
    }
    // No hint while a button is down.
    if (event->buttons() == Qt::NoButton) {
        hint_.Moved(event->position().toPoint());
    } else {
        hint_.Pressed();
    }
    UpdateCursor(SkinPoint(event->position()));
}

void FormWindow::UpdateCursor(skin::Point at) {
    // While a component holds the mouse the cursor stays as it was when it took it.
    if (form_.Captured() != nullptr) {
        return;
    }
    const skin::Cursor wanted = form_.CursorAt(at);
    if (wanted != cursor_) {
        cursor_ = wanted;
        setCursor(CursorShape(wanted));
    }
}

void FormWindow::TakeWindowColour() {
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    form_.SetWindowColour(skin::Rgb(face.red(), face.green(), face.blue()));
}

void FormWindow::InvalidateArea(const skin::Rect& area) {
    Invalidate(QRect(area.left, area.top, area.Width(), area.Height()));
}

void FormWindow::MoveWindow(skin::Point position) {
    setFramePosition({position.x, position.y});
}

bool FormWindow::StartInteractiveMove() {
    // On X11 and Windows the form moves the window itself, on release. A Wayland client cannot
    // place its window at all: only the compositor can move it, from the press under way.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        handle() == nullptr || !startSystemMove()) {
        return false;
    }
    moveHeldPress_ = HeldPress{pressButton_, pressAt_};
    return true;
}

void FormWindow::FinishInteractiveMove() {
    // The compositor keeps the release of a press it moved the window with. The window went
    // with the pointer, so the release would have come where the press was: deliver it there,
    // which ends the press for the form as any release does.
    if (const auto pressed = std::exchange(moveHeldPress_, std::nullopt)) {
        form_.MouseUp(pressed->button, pressed->at);
    }
}

void FormWindow::CloseWindow() {
    // Takes effect once the handler that asked has returned, and also when asked before the
    // message loop has started (the loop then ends as soon as it runs).
    QMetaObject::invokeMethod(
        this, [this] { CloseAndEnd(); }, Qt::QueuedConnection);
}

void FormWindow::CloseAndEnd() {
    // A window that was never shown has nothing to close and hears no close event: the loop
    // ends all the same.
    if (handle() == nullptr) {
        QCoreApplication::quit();
        return;
    }
    close();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    QWindow::closeEvent(event);
    QCoreApplication::quit();
}

} // namespace qt_host
