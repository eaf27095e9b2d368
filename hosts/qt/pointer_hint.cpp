#include "hosts/qt/pointer_hint.h"

#include <utility>

#include <QApplication>
#include <QStyle>
#include <QToolTip>
#include <QWindow>

namespace qt_host {

PointerHint::PointerHint(std::function<QWindow*()> owner, Lookup lookup)
    : owner_(std::move(owner)), lookup_(std::move(lookup)) {
    rest_.setSingleShot(true);
    // The desktop's wait before a tooltip, as its widgets have it.
    rest_.setInterval(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
    rest_.callOnTimeout([this] { Show(); });
}

void PointerHint::Moved(QPoint at) {
    at_ = at;
    if (shown_ && QToolTip::isVisible()) {
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
    // The owner is a window, not a widget, so the tooltip goes at the pointer's place on the
    // screen; it keeps itself on the screen and goes by itself after a while.
    QToolTip::showText(owner->mapToGlobal(at_), text);
    shown_ = true;
}

void PointerHint::Hide() {
    if (std::exchange(shown_, false)) {
        QToolTip::hideText();
    }
}

} // namespace qt_host
