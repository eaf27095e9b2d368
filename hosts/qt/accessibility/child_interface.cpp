#include "hosts/qt/accessibility/child_interface.h"

#include <QWindow>

namespace qt_host {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ChildInterface::ChildInterface(QWindow& window, a11y::TunerAccess& access, int child)
    : LeafInterface(window), access_(access), child_(child) {}

QAccessibleInterface* LeafInterface::parent() const {
    return QAccessible::queryAccessibleInterface(&window_);
}

QString ChildInterface::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name: return FromUtf8(access_.Child(child_).name);
    case QAccessible::Description: return FromUtf8(access_.Child(child_).description);
    default: return {};
    }
}

QRect ChildInterface::rect() const {
    const skin::Rect place = access_.Child(child_).place;
    // Skin pixels are the window's own logical pixels.
    return {window_.mapToGlobal(QPoint(place.left, place.top)),
            QSize(place.Width(), place.Height())};
}

QAccessible::Role ChildInterface::role() const {
    switch (access_.Child(child_).role) {
    case a11y::Role::CheckButton: return QAccessible::CheckBox;
    case a11y::Role::PushButton: return QAccessible::Button;
    case a11y::Role::Window: return QAccessible::Window;
    case a11y::Role::Text: break;
    }
    return QAccessible::StaticText;
}

QAccessible::State ChildInterface::state() const {
    const a11y::Element element = access_.Child(child_);
    QAccessible::State state;
    state.focusable = element.focusable;
    state.focused = element.focused;
    state.checkable = element.role == a11y::Role::CheckButton;
    state.checked = element.checked;
    state.readOnly = element.role == a11y::Role::Text;
    return state;
}

void* ChildInterface::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface && !access_.Child(child_).defaultAction.empty()) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
}

QStringList ChildInterface::actionNames() const {
    if (access_.Child(child_).defaultAction.empty()) {
        return {};
    }
    return {pressAction()};
}

QStringList ChildInterface::keyBindingsForAction(const QString& actionName) const {
    const std::string_view shortcut = access_.Child(child_).shortcut;
    if (actionName != pressAction() || shortcut.empty()) {
        return {};
    }
    return {FromUtf8(shortcut)};
}

void ChildInterface::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        access_.DoDefaultAction(child_);
    }
}

void AnnouncementInterface::Announce(const QString& text) {
    // Hidden first, so that showing it again is news even when the words repeat.
    shown_ = false;
    QAccessibleEvent hide(this, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&hide);
    text_ = text;
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    shown_ = true;
    QAccessibleEvent show(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&show);
}

QString AnnouncementInterface::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? text_ : QString();
}

QAccessible::State AnnouncementInterface::state() const {
    QAccessible::State state;
    state.invisible = !shown_;
    state.readOnly = true;
    return state;
}

} // namespace qt_host
