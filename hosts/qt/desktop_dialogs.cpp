#include "hosts/qt/desktop_dialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include "hosts/qt/message_dialog.h"
#include "platform/linux/desktop_services.h"
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

} // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned) {
    return OnUiThread([&] {
        MessageDialog box(QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text));
        // Returns at once when every loop has been told to end (an error on its way up).
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
