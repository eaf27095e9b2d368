#include "hosts/qt/form_widget.h"

#include <cmath>
#include <optional>
#include <utility>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace qt_host {
namespace {

std::optional<skin::MouseButton> SkinButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return skin::MouseButton::Left;
    case Qt::RightButton:
        return skin::MouseButton::Right;
    case Qt::MiddleButton:
        return skin::MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

// The skin pixel under the pointer (positions are fractional on scaled screens).
skin::Point SkinPoint(const QPointF& position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

} // namespace

FormWidget::FormWidget(skin::Form& form)
    : QWidget(nullptr, kFlags), form_(form),
      hint_([this] { return windowHandle(); },
            [this](QPoint at, QRect* area) {
                skin::Rect held;
                const std::string_view hint = form_.HintAt({at.x(), at.y()}, &held);
                *area = QRect(held.left, held.top, held.Width(), held.Height());
                return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
            }) {
    setWindowTitle(
        QString::fromUtf8(form.Caption().data(), static_cast<qsizetype>(form.Caption().size())));
    const auto icon = form.IconData();
    QPixmap iconPixmap;
    if (!icon.empty() &&
        iconPixmap.loadFromData(icon.data(), static_cast<uint>(icon.size()), "ICO")) {
        setWindowIcon(QIcon(iconPixmap));
    }
    // The form paints every pixel of the client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    TakeWindowColour();
    const skin::Size client = form.ClientSize();
    resize(client.width, client.height);
    form_.AttachHost(this);
}

FormWidget::~FormWidget() {
    form_.AttachHost(nullptr);
}

void FormWidget::ShowWindow() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target != nullptr) {
        const QRect area = target->geometry();
        if (const auto at = form_.PlaceForFirstShowing({area.width(), area.height()})) {
            move(area.left() + at->x, area.top() + at->y);
        }
    }
    show();
}

Qt::CursorShape FormWidget::CursorShape(skin::Cursor cursor) {
    switch (cursor) {
    case skin::Cursor::HandPoint:
        return Qt::PointingHandCursor;
    case skin::Cursor::Help:
        return Qt::WhatsThisCursor;
    case skin::Cursor::Default:
        break;
    }
    return Qt::ArrowCursor;
}

bool FormWidget::event(QEvent* event) {
    if (event->type() == QEvent::Enter) {
        // The pointer is back after the compositor moved the window.
        FinishInteractiveMove();
    }
    if (event->type() == QEvent::Leave) {
        hint_.Left();
    }
    return QWidget::event(event);
}

void FormWidget::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    // One skin pixel becomes a block of screen pixels: nearest neighbour, never smoothed. At an
    // uneven scale each area goes in one piece, so that its blocks line up as one picture's.
    const bool evenScale = ratio == std::floor(ratio);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const auto show = [&painter](const skin::PixelImage& pixels, const skin::Rect& band) {
        // 0xFFRRGGBB words, exactly Qt's RGB32: wrapped, not copied.
        const QImage view(reinterpret_cast<const uchar*>(pixels.Data()), pixels.Width(),
                          pixels.Height(), pixels.Width() * 4, QImage::Format_RGB32);
        painter.drawImage(QRect(band.left, band.top, band.Width(), band.Height()), view,
                          QRect(0, 0, band.Width(), band.Height()));
    };
    for (const QRect& needed : event->region()) {
        const skin::Rect area{needed.left(), needed.top(), needed.right() + 1, needed.bottom() + 1};
        bands_.Compose(form_, area, evenScale ? skin::BandComposer::kRows : area.Height(), show);
    }
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    form_.SetClientSize({width(), height()});
    QWidget::resizeEvent(event);
}

void FormWidget::moveEvent(QMoveEvent* event) {
    form_.WindowMoved({pos().x(), pos().y()});
    QWidget::moveEvent(event);
}

void FormWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        TakeWindowColour();
    }
    QWidget::changeEvent(event);
}

void FormWidget::mousePressEvent(QMouseEvent* event) {
    Press(event, false);
}

void FormWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event, true);
}

void FormWidget::Press(QMouseEvent* event, bool doubleClick) {
    FinishInteractiveMove();
    hint_.Pressed();
    const auto button = SkinButton(event->button());
    if (!button) {
        return;
    }
    pressAt_ = SkinPoint(event->position());
    form_.MouseDown(*button, pressAt_, doubleClick);
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = SkinButton(event->button());
    if (!button) {
        return;
    }
    if (button == skin::MouseButton::Left) {
        // The compositor declined the move: this is the press's own release.
        moveHeldPress_.reset();
    }
    const skin::Point at = SkinPoint(event->position());
    form_.MouseUp(*button, at);
    UpdateCursor(at);
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
    // Motion with the button still down means the compositor did not take the press.
    if (!event->buttons().testFlag(Qt::LeftButton)) {
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

void FormWidget::UpdateCursor(skin::Point at) {
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

void FormWidget::TakeWindowColour() {
    const QColor face = palette().color(QPalette::Button);
    form_.SetWindowColour(skin::Rgb(face.red(), face.green(), face.blue()));
}

void FormWidget::InvalidateArea(const skin::Rect& area) {
    update(area.left, area.top, area.Width(), area.Height());
}

void FormWidget::MoveWindow(skin::Point position) {
    move(position.x, position.y);
}

bool FormWidget::StartInteractiveMove() {
    // On X11 and Windows the form moves the window itself, on release. A Wayland client cannot
    // place its window at all: only the compositor can move it, from the press under way.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
        return false;
    }
    moveHeldPress_ = pressAt_;
    return true;
}

void FormWidget::FinishInteractiveMove() {
    // The compositor keeps the release of a press it moved the window with. The window went
    // with the pointer, so the release would have come where the press was: deliver it there,
    // which ends the press for the form as any release does.
    if (const auto pressed = std::exchange(moveHeldPress_, std::nullopt)) {
        form_.MouseUp(skin::MouseButton::Left, *pressed);
    }
}

void FormWidget::CloseWindow() {
    // Takes effect once the handler that asked has returned, and also when asked before the
    // message loop has started (the loop then ends as soon as it runs).
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

void FormWidget::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // Also when the window was never shown, which the toolkit would not count as a last
    // window closing.
    QCoreApplication::quit();
}

} // namespace qt_host
