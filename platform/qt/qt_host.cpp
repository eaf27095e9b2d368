#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QString>

#include "platform/qt/desktop_dialogs.h"
#include "platform/qt/form_widget.h"

namespace qt_host {

struct Application::Impl {
    Impl(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

Application::Application(int& argc, char** argv, std::string_view title)
    : impl_(std::make_unique<Impl>(argc, argv)) {
    const QString name = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    QApplication::setApplicationName(name);
    QApplication::setApplicationDisplayName(name);
    ui_ = std::make_unique<UiThread>();
    RegisterDesktopDialogs();
}

Application::~Application() {
    UnregisterDesktopDialogs();
    ui_.reset();
}

int Application::Run() {
    return QApplication::exec();
}

void Application::ProcessEvents() {
    QApplication::processEvents();
}

Window::Window(skin::Form& form) : widget_(std::make_unique<FormWidget>(form)) {}

Window::~Window() = default;

void Window::Show() {
    widget_->ShowWindow();
}

void Window::Close() {
    widget_->close();
}

bool Window::Visible() const {
    return widget_->isVisible();
}

unsigned long long Window::NativeId() {
    return static_cast<unsigned long long>(widget_->winId());
}

} // namespace qt_host
