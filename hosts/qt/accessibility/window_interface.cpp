#include "hosts/qt/accessibility/window_interface.h"

#include <QGuiApplication>

#include "hosts/qt/accessibility/access_bridge.h"
#include "hosts/qt/accessibility/child_interface.h"
#include "hosts/qt/form_window.h"

namespace qt_host {

namespace {

QAccessibleInterface* MakeWindowInterface(const QString&, QObject* object) {
    // Asked for every class of every object: ours is the tuner's window alone.
    if (auto* window = dynamic_cast<FormWindow*>(object)) {
        return new WindowInterface(*window);
    }
    return nullptr;
}

} // namespace

void InstallWindowFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeWindowInterface);
        return true;
    }();
    (void)installed;
}

WindowInterface::WindowInterface(FormWindow& window)
    : QAccessibleObject(&window), window_(window) {}

AccessBridge* WindowInterface::Bridge() const {
    return window_.Accessibility();
}

QWindow* WindowInterface::window() const {
    return &window_;
}

QAccessibleInterface* WindowInterface::parent() const {
    return QAccessible::queryAccessibleInterface(qApp);
}

QAccessibleInterface* WindowInterface::child(int index) const {
    AccessBridge* bridge = Bridge();
    return bridge != nullptr ? bridge->Child(index) : nullptr;
}

int WindowInterface::childCount() const {
    return Bridge() != nullptr ? AccessBridge::ChildCount : 0;
}

int WindowInterface::indexOfChild(const QAccessibleInterface* child) const {
    AccessBridge* bridge = Bridge();
    return bridge != nullptr ? bridge->IndexOf(child) : -1;
}

QAccessibleInterface* WindowInterface::childAt(int x, int y) const {
    AccessBridge* bridge = Bridge();
    if (bridge == nullptr) {
        return nullptr;
    }
    const QPoint at = window_.mapFromGlobal(QPoint(x, y));
    return bridge->Child(bridge->Access().ChildAt({at.x(), at.y()}));
}

QAccessibleInterface* WindowInterface::focusChild() const {
    AccessBridge* bridge = Bridge();
    return bridge != nullptr ? bridge->Child(bridge->Access().Focus()) : nullptr;
}

QString WindowInterface::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? window_.title() : QString();
}

QRect WindowInterface::rect() const {
    return {window_.mapToGlobal(QPoint(0, 0)), window_.size()};
}

QAccessible::State WindowInterface::state() const {
    QAccessible::State state;
    state.active = window_.isActive();
    state.focusable = true;
    state.focused = window_.isActive();
    state.invisible = !window_.isVisible();
    return state;
}

} // namespace qt_host
