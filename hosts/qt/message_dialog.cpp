#include "hosts/qt/message_dialog.h"

#include <algorithm>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace qt_host {
namespace {

// Room in a title bar beside its caption: the window manager's icon, buttons and margins.
constexpr int TitleBarRoomInLines = 9;

// A box whose body is empty is only as wide as its OK button, and the window manager's title
// bar then cuts its caption ("No so... alled !"). The caption is the whole message, so the box
// is made wide enough for it in whatever font a title bar is likely to use: bold, or fixed as
// sway's is, at least at the title-bar font's size.
int WidthForCaption(const QString& caption) {
    QFont bold = QGuiApplication::font();
    bold.setBold(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(fixed.pointSizeF(), bold.pointSizeF()));
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics fixedMetrics(fixed);
    const int text =
        std::max(boldMetrics.horizontalAdvance(caption), fixedMetrics.horizontalAdvance(caption));
    const int room = TitleBarRoomInLines * std::max(boldMetrics.height(), fixedMetrics.height());
    return text + room;
}

} // namespace

MessageDialog::MessageDialog(const QString& caption, const QString& text, Icon icon)
    : QMessageBox(icon, caption, text, Ok) {
    setTextFormat(Qt::PlainText);
    // Qt sizes the box to its contents each time it lays it out, the first time as it shows:
    // a text that asks for the width makes that size the final one. A width set after Qt's
    // own would be undone by its next layout and set again, and a box the window manager has
    // already placed, resized back and forth, was once left at the screen's corner with its
    // title bar off the screen.
    if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setMinimumWidth(WidthForCaption(caption));
    }
}

void MessageDialog::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);
    if (const QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        target->availableGeometry()));
    }
}

} // namespace qt_host
