#include "hosts/qt/desktop_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QThread>
#include <QUrl>

#include "platform/posix/desktop_services.h"
#include "platform/winapi.h"

namespace qt_host {
namespace {

// Runs `function` on the UI thread and returns its result; dialogs exist only there.
template <typename Function> auto OnUiThread(Function function) -> decltype(function()) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        return function();
    }
    decltype(function()) result{};
    QMetaObject::invokeMethod(
        app, [&] { result = function(); }, Qt::BlockingQueuedConnection);
    return result;
}

// Room in a title bar beside its caption: the window manager's icon, buttons and margins.
constexpr int TitleBarRoomInLines = 9;

// A box whose body is empty is only as wide as its OK button, and the window manager's title
// bar then cuts its caption ("No so... alled !"). The caption is the whole message, so the box
// is made wide enough for it in whatever font a title bar is likely to use: bold, or fixed as
// sway's is, at least at the title-bar font's size.
void MakeRoomForCaption(QMessageBox& box) {
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(fixed.pointSizeF(), bold.pointSizeF()));
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics fixedMetrics(fixed);
    const QString caption = box.windowTitle();
    const int text =
        std::max(boldMetrics.horizontalAdvance(caption), fixedMetrics.horizontalAdvance(caption));
    const int room = TitleBarRoomInLines * std::max(boldMetrics.height(), fixedMetrics.height());
    // QMessageBox sizes itself from its layout when shown; a spacer row widens that layout.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid != nullptr) {
        grid->addItem(new QSpacerItem(text + room, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned) {
    return OnUiThread([&] {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption),
                        QString::fromLocal8Bit(text), QMessageBox::Ok);
        MakeRoomForCaption(box);
        box.exec();
        return IDOK;
    });
}

bool OpenDocument(const std::string& path) {
    return OnUiThread([&] {
        const QString absolute = QFileInfo(QString::fromLocal8Bit(path)).absoluteFilePath();
        return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
    });
}

void RegisterDesktopDialogs() {
    desktop::SetMessageBoxHandler(ShowMessageBox);
    desktop::SetDocumentOpener(OpenDocument);
}

void UnregisterDesktopDialogs() {
    desktop::SetMessageBoxHandler(nullptr);
    desktop::SetDocumentOpener(nullptr);
}

} // namespace qt_host
