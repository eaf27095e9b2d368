// One control of the tuner's window as assistive technology sees it through Qt: a string
// button, the help button or the reading, answered from a11y::TunerAccess. The skin's controls
// are no QObjects, so these are plain interfaces that the bridge registers with QAccessible.
#pragma once

#include <QAccessibleInterface>

#include "ui/a11y/tuner_access.h"

class QWindow;

namespace qt_host {

QString FromUtf8(std::string_view text);

// What every part of the window is: a leaf under the window, its text not to be set.
class LeafInterface : public QAccessibleInterface {
public:
    explicit LeafInterface(QWindow& window) : window_(window) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return &window_; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QWindow& window_;
};

class ChildInterface final : public LeafInterface, public QAccessibleActionInterface {
public:
    ChildInterface(QWindow& window, a11y::TunerAccess& access, int child);

    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    a11y::TunerAccess& access_;
    int child_;
};

// What the screen reader is to speak: a notification that is hidden, renamed and shown again
// for each announcement. A plain name change reaches Orca without its text (Qt 6.4), so it
// could not speak it; a notification being shown it speaks.
class AnnouncementInterface final : public LeafInterface {
public:
    explicit AnnouncementInterface(QWindow& window) : LeafInterface(window) {}

    // Sends the hide, rename and show; only while a client listens.
    void Announce(const QString& text);

    QString text(QAccessible::Text t) const override;
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override;

private:
    QString text_;
    bool shown_ = false;
};

} // namespace qt_host
