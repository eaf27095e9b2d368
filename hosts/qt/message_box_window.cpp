#include "hosts/qt/message_box_window.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>

namespace qt_host {
namespace {

constexpr Qt::WindowFlags kFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                   Qt::MSWindowsFixedSizeDialogHint;

// Room in a title bar beside its caption: the window manager's icon, buttons and margins.
constexpr int TitleBarRoomInLines = 9;
// A long body wraps at half the screen's width, and at most this wide.
constexpr int WrapWidth = 500;
constexpr int IconSize = 32;

// A box whose body is empty is only as wide as its OK button, and the window manager's title
// bar then cuts its caption ("No so... alled !"). The caption is the whole message, so the box
// is made wide enough for it in whatever font a title bar is likely to use: bold, or fixed as
// sway's is, at least at the title-bar font's size.
int WidthForCaption(const QString& caption) {
    QFont bold = QGuiApplication::font();
    bold.setBold(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(fixed.pointSizeF(), bold.pointSizeF()));
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics fixedMetrics(fixed);
    const int text =
        std::max(boldMetrics.horizontalAdvance(caption), fixedMetrics.horizontalAdvance(caption));
    const int room = TitleBarRoomInLines * std::max(boldMetrics.height(), fixedMetrics.height());
    return text + room;
}

QString OkText() {
    return QStringLiteral("OK");
}

} // namespace

MessageBoxWindow::MessageBoxWindow(const QString& caption, const QString& text, const QIcon& icon)
    : text_(text), icon_(icon) {
    setFlags(kFlags);
    setTitle(caption);
    LayOut();
}

void MessageBoxWindow::LayOut() {
    const QFontMetrics metrics(QGuiApplication::font());
    const int line = metrics.height();
    const int margin = line;
    const int spacing = line;

    const int okWidth = std::max(metrics.horizontalAdvance(OkText()) + 2 * line, 5 * line);
    const int okHeight = line + line / 2 + 4;

    QSize textSize;
    if (!text_.isEmpty()) {
        const QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
        const int wrap = std::min(
            WrapWidth, target != nullptr ? target->availableGeometry().width() / 2 : WrapWidth);
        textSize = metrics.boundingRect(QRect(0, 0, wrap, 1 << 20), Qt::TextWordWrap, text_).size();
    }
    const int iconWidth = HasIcon() ? IconSize + spacing : 0;
    const bool body = HasIcon() || !text_.isEmpty();
    const int bodyHeight = body ? std::max(HasIcon() ? IconSize : 0, textSize.height()) : 0;

    const int content = std::max({iconWidth + textSize.width(), okWidth, WidthForCaption(title())});
    const QSize box(content + 2 * margin,
                    margin + bodyHeight + (body ? spacing : 0) + okHeight + margin);

    iconArea_ = HasIcon() ? QRect(margin, margin, IconSize, IconSize) : QRect();
    textArea_ = QRect(margin + iconWidth, margin, content - iconWidth, bodyHeight);
    button_ =
        QRect(box.width() - margin - okWidth, box.height() - margin - okHeight, okWidth, okHeight);
    resize(box);
    setMinimumSize(box);
    setMaximumSize(box);
}

void MessageBoxWindow::Open(std::function<void()> finished) {
    finished_ = std::move(finished);
    setModality(Qt::ApplicationModal);
    if (const QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = target->availableGeometry();
        setPosition(area.left() + (area.width() - width()) / 2,
                    area.top() + (area.height() - height()) / 2);
    }
    show();
    requestActivate();
}

void MessageBoxWindow::paintEvent(QPaintEvent*) {
    const QPalette palette = QGuiApplication::palette();
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), size()), palette.color(QPalette::Window));
    if (HasIcon()) {
        icon_.paint(&painter, iconArea_);
    }
    painter.setFont(QGuiApplication::font());
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(textArea_, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text_);

    // The box's one button is its default: framed in the highlight colour.
    painter.fillRect(button_, palette.color(pressedOver_ ? QPalette::Mid : QPalette::Button));
    painter.setPen(palette.color(QPalette::Highlight));
    painter.drawRect(button_.adjusted(0, 0, -1, -1));
    painter.setPen(palette.color(QPalette::ButtonText));
    painter.drawText(button_, Qt::AlignCenter, OkText());
}

void MessageBoxWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Space:
    case Qt::Key_Escape:
        Finish();
        break;
    default:
        event->ignore();
    }
}

void MessageBoxWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && button_.contains(event->position().toPoint())) {
        pressed_ = pressedOver_ = true;
        update();
    }
}

void MessageBoxWindow::mouseMoveEvent(QMouseEvent* event) {
    const bool over = pressed_ && button_.contains(event->position().toPoint());
    if (over != pressedOver_) {
        pressedOver_ = over;
        update();
    }
}

void MessageBoxWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    // A click: the press and its release both on OK.
    const bool click = button_.contains(event->position().toPoint());
    pressed_ = pressedOver_ = false;
    update();
    if (click) {
        Finish();
    }
}

void MessageBoxWindow::closeEvent(QCloseEvent* event) {
    // Hidden, not destroyed: the box's owner ends it, and a box is never the last window whose
    // closing ends the program.
    event->ignore();
    Finish();
}

void MessageBoxWindow::Finish() {
    hide();
    if (auto finished = std::exchange(finished_, nullptr)) {
        finished();
    }
}

} // namespace qt_host
