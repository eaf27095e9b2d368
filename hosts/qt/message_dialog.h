// The toolkit's own message box, as the program shows its messages: one OK button, the caption
// whole in the window manager's title bar, centred on the screen, and deaf to a key that was
// already held when it appeared. Being Qt's, it is read by screen readers, and themed and
// translated as the desktop is.
#pragma once

#include <QMessageBox>
#include <QString>

#include "hosts/qt/held_key_guard.h"

namespace qt_host {

class MessageDialog final : public QMessageBox {
public:
    MessageDialog(const QString& caption, const QString& text, Icon icon = NoIcon);

protected:
    void showEvent(QShowEvent* event) override;

private:
    HeldKeyGuard heldKeys_{*this};
};

} // namespace qt_host
