#include "hosts/qt/ui_thread.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

namespace qt_host {

struct UiThread::Impl {
    Impl() : fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        if (fd < 0) {
            throw std::runtime_error("cannot create the UI thread's wake-up descriptor");
        }
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] { Run(); });
    }
    ~Impl() {
        notifier.reset();
        close(fd);
    }

    void Signal() const {
        const std::uint64_t one = 1;
        // A full counter (after 2^64 - 2 signals) still leaves the descriptor readable.
        while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }

    void Run() {
        std::uint64_t count = 0;
        while (read(fd, &count, sizeof count) < 0 && errno == EINTR) {
        }
        if (!stopped.load() && wakeHandler) {
            wakeHandler();
        }
    }

    const int fd;
    std::unique_ptr<QSocketNotifier> notifier;
    std::atomic<bool> stopped{false};
    std::function<void()> wakeHandler;
};

UiThread::UiThread() : impl_(std::make_unique<Impl>()) {}

UiThread::~UiThread() = default;

void UiThread::Wake(void* context) {
    auto* self = static_cast<UiThread*>(context);
    if (!self->impl_->stopped.load()) {
        self->impl_->Signal();
    }
}

void UiThread::SetWakeHandler(std::function<void()> handler) {
    impl_->wakeHandler = std::move(handler);
}

void UiThread::Stop() {
    impl_->stopped = true;
}

bool UiThread::Stopped() const {
    return impl_->stopped.load();
}

} // namespace qt_host
