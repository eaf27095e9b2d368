#include "hosts/qt/held_key_guard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qt_host {

HeldKeyGuard::HeldKeyGuard(QWidget& dialog) : dialog_(dialog) {
    // On the application: a key goes to the dialog's focused button first, which would act on
    // it before a filter on the dialog itself saw it.
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyGuard::~HeldKeyGuard() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

bool HeldKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A time of 0 is no time: events made by a program rather than the window system.
    const bool repeat = key->isAutoRepeat() || (type == QEvent::KeyPress && key->timestamp() != 0 &&
                                                released_.value(key->key(), 0) == key->timestamp());
    if (type == QEvent::KeyRelease) {
        released_.insert(key->key(), key->timestamp());
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != &dialog_ && !dialog_.isAncestorOf(widget))) {
        return false;
    }
    if (repeat) {
        return true;
    }
    if (type == QEvent::KeyPress) {
        pressedHere_.insert(key->key());
        return false;
    }
    // The release of a key pressed before the dialog appeared is the end of that earlier press.
    return !pressedHere_.remove(key->key());
}

} // namespace qt_host
