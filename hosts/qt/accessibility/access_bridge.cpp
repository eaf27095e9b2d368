#include "hosts/qt/accessibility/access_bridge.h"

#include <algorithm>
#include <chrono>

#include <QWindow>

#include "hosts/qt/accessibility/child_interface.h"

namespace qt_host {

AccessBridge::AccessBridge(QWindow& window, a11y::TunerAccess& access)
    : access_(access), announcement_(new AnnouncementInterface(window)), window_(window) {
    // Registered interfaces belong to Qt's cache until deleteAccessibleInterface.
    for (int child = 0; child < a11y::TunerAccess::ChildCount; ++child) {
        ids_[child] =
            QAccessible::registerAccessibleInterface(new ChildInterface(window, access, child));
    }
    ids_[AnnouncementChild] = QAccessible::registerAccessibleInterface(announcement_);
    due_.setSingleShot(true);
    QObject::connect(&due_, &QTimer::timeout, [this] { access_.Woken(); });
    access_.SetObserver(this);
    access_.SetSpeechPace([this] { return speechRate_.Pace(); });
    QAccessible::installActivationObserver(this);
}

AccessBridge::~AccessBridge() {
    QAccessible::removeActivationObserver(this);
    access_.SetObserver(nullptr);
    access_.SetSpeechPace([] { return 1.0; });
    for (const QAccessible::Id id : ids_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* AccessBridge::Child(int child) const {
    if (child < 0 || child >= ChildCount) {
        return nullptr;
    }
    return QAccessible::accessibleInterface(ids_[child]);
}

int AccessBridge::IndexOf(const QAccessibleInterface* child) const {
    for (int index = 0; index < ChildCount; ++index) {
        if (QAccessible::accessibleInterface(ids_[index]) == child) {
            return index;
        }
    }
    return -1;
}

void AccessBridge::accessibilityActiveChanged(bool active) {
    // Qt tells of this before it has made what carries events to the bus: told at the next
    // turn of the event loop, the reader hears the window and where the keyboard is.
    if (active) {
        QTimer::singleShot(0, &due_, [this] {
            if (window_.isActive()) {
                WindowFocused();
            }
        });
    }
}

void AccessBridge::WindowFocused() {
    if (!QAccessible::isActive()) {
        return;
    }
    // Qt tells of the window's activation only once it hears of the screen reader's listeners,
    // which at start may come after the activation: told again, first, the reader names the
    // window, then the control that has the keyboard (it ignores an activation it knows).
    QAccessible::State activated;
    activated.active = true;
    QAccessibleStateChangeEvent event(&window_, activated);
    QAccessible::updateAccessibility(&event);
    FocusMoved(access_.Focus());
}

void AccessBridge::ChildChanged(int child) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* changed = Child(child);
    if (child == a11y::TunerAccess::ReadingText) {
        QAccessibleEvent renamed(changed, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        return;
    }
    QAccessible::State checked;
    checked.checked = true;
    QAccessibleStateChangeEvent event(changed, checked);
    QAccessible::updateAccessibility(&event);
    // A lit string's picture lies a little apart from its unlit one.
    QAccessibleEvent moved(changed, QAccessible::LocationChanged);
    QAccessible::updateAccessibility(&moved);
}

void AccessBridge::FocusMoved(int child) {
    if (!QAccessible::isActive() || child == a11y::TunerAccess::NoChild) {
        return;
    }
    QAccessibleEvent focus(Child(child), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void AccessBridge::Announce(std::string_view text) {
    if (!QAccessible::isActive()) {
        return;
    }
    announcement_->Announce(FromUtf8(text));
}

void AccessBridge::WakeAt(a11y::Clock::time_point when) {
    // Armed whether or not a screen reader listens: asking Qt that first thing would have it
    // reach the accessibility bus before the window is up. It fires every 3 s at most.
    // Rounded up: a timer that fires early only has the face ask for the time again.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - a11y::Clock::now());
    due_.start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

} // namespace qt_host
