// Keeps a key that was already down when a dialog appeared from answering it. A dialog acts on
// the press of Return or Escape and on the release of Space, and a held key's autorepeat sends
// both over and over: holding Return would answer every box that comes up behind the first,
// boxes the user has never seen.
#pragma once

#include <QObject>
#include <QSet>

class QWidget;

namespace qt_host {

class HeldKeyGuard final : public QObject {
public:
    // Watches the key events of `dialog` and its children while the guard lives: autorepeats are
    // dropped, and so is a release whose press the dialog did not see.
    explicit HeldKeyGuard(QWidget& dialog);
    ~HeldKeyGuard() override;
    HeldKeyGuard(const HeldKeyGuard&) = delete;
    HeldKeyGuard& operator=(const HeldKeyGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& dialog_;
    QSet<int> pressedHere_; // keys whose press reached the dialog and are not yet released
};

} // namespace qt_host
