#include "hosts/qt/ui_waker.h"

#include <cerrno>
#include <cstdint>
#include <stdexcept>

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

namespace qt_host {

struct QtUiWaker::Impl {
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
        if (drain != nullptr) {
            drain->DeliverUpdates();
        }
    }

    const int fd;
    std::unique_ptr<QSocketNotifier> notifier;
    UpdateDrain* drain = nullptr;
};

QtUiWaker::QtUiWaker() : impl_(std::make_unique<Impl>()) {}

QtUiWaker::~QtUiWaker() = default;

void QtUiWaker::Wake() {
    impl_->Signal();
}

void QtUiWaker::SetDrain(UpdateDrain* drain) {
    impl_->drain = drain;
}

} // namespace qt_host
