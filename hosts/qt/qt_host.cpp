#include "hosts/qt/qt_host.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

#include <QApplication>
#include <QScreen>
#include <QString>

#include "hosts/qt/desktop_dialogs.h"
#include "hosts/qt/form_window.h"
#include "hosts/qt/message_dialog.h"
#include "hosts/qt/skin_pages.h"
#include "ui/skin/embedded_skin.h"
#include "ui/tform1.h"

namespace qt_host {

namespace {

// Keeps an exception thrown by an event handler from unwinding through the toolkit: the first
// one is kept and ends every running loop; Run rethrows it.
class GuardedApplication final : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            if (!pending) {
                pending = std::current_exception();
            }
            QCoreApplication::exit(1);
            return false;
        }
    }

    void RethrowPending() {
        if (pending) {
            std::rethrow_exception(std::exchange(pending, nullptr));
        }
    }

    std::exception_ptr pending;
};

// Qt ends the process with abort() when it cannot reach any display. With no window there is
// nothing to show an error in: say why on stderr and end as the program always does, with 0.
void NoDisplayHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::fprintf(stderr, "Vibralon: %s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Vibralon: no display to show the tuner on.\n");
        std::_Exit(0);
    }
}

} // namespace

struct Application::Impl {
    // Our handler only while the application connects to the display (members are made in
    // order): later fatal errors keep Qt's own handling, so a real fault still aborts.
    Impl(int& argc, char** argv) : app(argc, argv) { qInstallMessageHandler(previous); }
    QtMessageHandler previous = qInstallMessageHandler(NoDisplayHandler);
    GuardedApplication app;
};

Application::Application(int& argc, char** argv, std::string_view title)
    : impl_(std::make_unique<Impl>(argc, argv)) {
    const QString name = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    // The name only, not a display name: Qt would append a display name to every other
    // window's title ("No sound card installed ! — Vibralon"), and a message box's title is
    // its caption alone. The display name still reads back as this name.
    QGuiApplication::setApplicationName(name);
    // Lets Wayland compositors match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vibralon.Vibralon"));
    ui_ = std::make_unique<QtUiWaker>();
    RegisterDesktopDialogs();
}

Application::~Application() {
    UnregisterDesktopDialogs();
    ui_.reset();
}

int Application::ArtScale() const {
    // With no screen yet the window picks its art again once it is on one.
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? skin::ArtScaleFor(screen->devicePixelRatio()) : 1;
}

std::unique_ptr<TunerWindow> Application::MakeWindow(TForm1& form) {
    return std::make_unique<Window>(form);
}

int Application::Run() {
    // An exception caught before the loop (in a message box's loop, say) ends it at once.
    impl_->app.RethrowPending();
    const int code = QGuiApplication::exec();
    impl_->app.RethrowPending();
    return code;
}

bool Application::TeardownCanHang() const {
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
#else
    return false;
#endif
}

void Application::ShowException(std::string_view message) {
    // The error icon is the desktop's where its icon theme has one.
    MessageDialog box(QGuiApplication::applicationDisplayName(),
                      QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
                      QMessageBox::Critical);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    // A loop of its own rather than exec(): the exit that ended the other loops on the way
    // here would end a new one at once.
    while (box.isVisible()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

Window::Window(skin::Form& form) : window_(std::make_unique<FormWindow>(form)) {
    // The form has decoded its bitmaps: the skin files' own pages are not needed from here on.
    // What is decoded later (the note frames, the pictures that wait for their first painting)
    // lets its file's pages go once decoded; a single call here costs start-up less than one
    // for each bitmap.
    ReleaseEmbeddedSkinPages();
    skin::SetEmbeddedBytesDone(ReleaseSkinPagesOf);
}

Window::Window(TForm1& form) : Window(static_cast<skin::Form&>(form)) {
    window_->MakeAccessible(form.Access());
    // The help is the one document the window opens.
    SetOpenFailedHandler([&form] { form.Access().HelpNotOpened(); });
}

Window::~Window() {
    SetOpenFailedHandler(nullptr);
}

void Window::Show() {
    window_->ShowWindow();
}

void Window::Close() {
    window_->CloseAndEnd();
}

bool Window::Visible() const {
    return window_->isVisible();
}

unsigned long long Window::NativeId() {
    return static_cast<unsigned long long>(window_->winId());
}

} // namespace qt_host
