// Puts the tuner's accessible face (a11y::TunerAccess) on Qt's accessibility, which AT-SPI
// carries to screen readers on Linux: registers an interface for each control and the
// announcement, and turns the face's changes, focus moves and announcements into Qt's events.
// With no client listening nothing is sent, so a reading costs only the face's bookkeeping.
#pragma once

#include <array>

#include <QAccessible>
#include <QTimer>

#include "hosts/qt/accessibility/orca_speech_rate.h"
#include "ui/a11y/access_observer.h"
#include "ui/a11y/tuner_access.h"

class QWindow;

namespace qt_host {

class AnnouncementInterface;

class AccessBridge final : private a11y::AccessObserver, private QAccessible::ActivationObserver {
public:
    // The window's children: TunerAccess's, then the announcement.
    static constexpr int AnnouncementChild = a11y::TunerAccess::ChildCount;
    static constexpr int ChildCount = AnnouncementChild + 1;

    // Both must outlive the bridge; the bridge observes `access` until it is destroyed.
    AccessBridge(QWindow& window, a11y::TunerAccess& access);
    ~AccessBridge();
    AccessBridge(const AccessBridge&) = delete;
    AccessBridge& operator=(const AccessBridge&) = delete;

    a11y::TunerAccess& Access() const { return access_; }
    QAccessibleInterface* Child(int child) const;
    int IndexOf(const QAccessibleInterface* child) const;
    // The window has the keyboard (again): the window's activation and the control focused in
    // it are told, so that a reader hears where the keyboard is, not only the window's name.
    void WindowFocused();

private:
    // A screen reader came after the window was up (or Qt's bridge answered late): it is told
    // where the keyboard is, since the window's activation went by before it listened.
    void accessibilityActiveChanged(bool active) override;
    void ChildChanged(int child) override;
    void FocusMoved(int child) override;
    void Announce(std::string_view text) override;
    void WakeAt(a11y::Clock::time_point when) override;

    a11y::TunerAccess& access_;
    std::array<QAccessible::Id, ChildCount> ids_{};
    AnnouncementInterface* announcement_;
    QWindow& window_;
    QTimer due_;
    OrcaSpeechRate speechRate_;
};

} // namespace qt_host
