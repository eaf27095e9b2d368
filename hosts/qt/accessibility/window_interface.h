// The tuner's window as assistive technology sees it through Qt: named by its caption, with
// the controls and the announcement of its AccessBridge as children. Qt makes one for the
// window through the factory that InstallWindowFactory installs, and keeps it.
#pragma once

#include <QAccessibleObject>

namespace qt_host {

class FormWindow;
class AccessBridge;

// Installs the factory once per process; later calls do nothing.
void InstallWindowFactory();

class WindowInterface final : public QAccessibleObject {
public:
    explicit WindowInterface(FormWindow& window);

    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Window; }
    QAccessible::State state() const override;

private:
    // None before the window was made accessible (and after).
    AccessBridge* Bridge() const;

    FormWindow& window_;
};

} // namespace qt_host
