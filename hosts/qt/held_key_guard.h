// Keeps a key that was already down when a dialog appeared from answering it. A dialog acts on
// the press of Return or Escape and on the release of Space, and a held key's autorepeat sends
// both over and over: holding Return would answer every box that comes up behind the first,
// boxes the user has never seen. The toolkit marks most repeats, not all: on X11 it takes a
// repeat's release for a real one when the press that follows has not arrived yet, and the
// press for a fresh one. Such a pair carries one timestamp, which no hand can.
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

class QWidget;

namespace qt_host {

class HeldKeyGuard final : public QObject {
public:
    // Watches the key events of `dialog` and its children while the guard lives: autorepeats are
    // dropped, marked or not, and so is a release whose press the dialog did not see.
    explicit HeldKeyGuard(QWidget& dialog);
    ~HeldKeyGuard() override;
    HeldKeyGuard(const HeldKeyGuard&) = delete;
    HeldKeyGuard& operator=(const HeldKeyGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& dialog_;
    QSet<int> pressedHere_;        // keys whose press reached the dialog, not yet released
    QHash<int, quint64> released_; // when each key was last released, anywhere
};

} // namespace qt_host
