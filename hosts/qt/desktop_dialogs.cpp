#include "hosts/qt/desktop_dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
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

std::function<void()> openFailed;

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
        const QFileInfo file(QString::fromLocal8Bit(path));
        if (!file.exists()) {
            return false;
        }
        // The opener is watched to its end, which Qt's own opening does not do: a desktop
        // with no application for the file makes it fail, and the player is told. It gets no
        // keyboard: with none, its last resort (an editor in the terminal) cannot take ours.
        auto* opener = new QProcess(QCoreApplication::instance());
        opener->setProgram(QStringLiteral("xdg-open"));
        opener->setArguments(
            {QString::fromUtf8(QUrl::fromLocalFile(file.absoluteFilePath()).toEncoded())});
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->setProcessChannelMode(QProcess::ForwardedChannels);
        QObject::connect(opener, &QProcess::finished, opener,
                         [opener](int code, QProcess::ExitStatus status) {
                             if ((status != QProcess::NormalExit || code != 0) && openFailed) {
                                 openFailed();
                             }
                             opener->deleteLater();
                         });
        opener->start();
        if (!opener->waitForStarted()) {
            delete opener;
            return false;
        }
        return true;
    });
}

void SetOpenFailedHandler(std::function<void()> handler) {
    openFailed = std::move(handler);
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
