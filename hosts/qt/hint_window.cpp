#include "hosts/qt/hint_window.h"

#include <algorithm>
#include <utility>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>

namespace qt_host {
namespace {

// How long the pointer rests before a hint shows, and how long a hint stays, in ms.
constexpr int RestBeforeHint = 700;
constexpr int HintLifetime = 10000;
// Where a hint goes from the pointer: below its arrow, not under it.
constexpr QPoint OffsetFromPointer(2, 16);
constexpr int Padding = 4;

} // namespace

HintWindow::HintWindow() {
    setFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
}

void HintWindow::ShowText(const QString& text, QPoint globalAt, QWindow* owner) {
    text_ = text;
    const QFontMetrics metrics(QGuiApplication::font());
    const QSize size =
        metrics.size(0, text) + QSize(2 * (Padding + 1), 2 * (Padding + 1)); // + the frame
    QPoint at = globalAt;
    if (const QScreen* target = QGuiApplication::screenAt(globalAt)) {
        const QRect area = target->geometry();
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    // On Wayland a hint is a popup of the window it belongs to.
    setTransientParent(owner);
    setGeometry(QRect(at, size));
    show();
    update();
}

void HintWindow::paintEvent(QPaintEvent*) {
    const QPalette palette = QGuiApplication::palette();
    QPainter painter(this);
    const QRect all(QPoint(0, 0), size());
    painter.fillRect(all, palette.color(QPalette::ToolTipBase));
    painter.setPen(palette.color(QPalette::ToolTipText));
    painter.drawRect(all.adjusted(0, 0, -1, -1));
    painter.setFont(QGuiApplication::font());
    painter.drawText(all, Qt::AlignCenter, text_);
}

PointerHint::PointerHint(std::function<QWindow*()> owner, Lookup lookup)
    : owner_(std::move(owner)), lookup_(std::move(lookup)) {
    rest_.setSingleShot(true);
    rest_.setInterval(RestBeforeHint);
    rest_.callOnTimeout([this] { Show(); });
    expiry_.setSingleShot(true);
    expiry_.setInterval(HintLifetime);
    expiry_.callOnTimeout([this] { Hide(); });
}

void PointerHint::Moved(QPoint at) {
    at_ = at;
    if (window_.isVisible()) {
        if (area_.contains(at)) {
            return;
        }
        Hide();
    }
    // Shows once the pointer rests: every move starts the wait again.
    rest_.start();
}

void PointerHint::Left() {
    rest_.stop();
    Hide();
}

void PointerHint::Pressed() {
    Left();
}

void PointerHint::Show() {
    QWindow* owner = owner_();
    if (owner == nullptr || !owner->isVisible()) {
        return;
    }
    QRect area;
    const QString text = lookup_(at_, &area);
    if (text.isEmpty()) {
        return;
    }
    area_ = area;
    window_.ShowText(text, owner->mapToGlobal(at_) + OffsetFromPointer, owner);
    expiry_.start();
}

void PointerHint::Hide() {
    expiry_.stop();
    window_.hide();
}

} // namespace qt_host
