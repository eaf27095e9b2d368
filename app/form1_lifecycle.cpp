#include "app/form1_lifecycle.h"

#include "platform/winapi.h"

Form1Lifecycle::~Form1Lifecycle() {
    FormDestroy();
    JoinWorker();
}

void Form1Lifecycle::FormCreate() {
    // A failed check still lets the later steps run: each tells its own failure, so the user
    // sees every reason the tuner cannot listen before the window goes.
    if (waveInGetNumDevs() == 0) {
        Tell(NoSoundCardCaption);
        closeRequested_ = true;
    }
    WAVEINCAPSA caps{};
    if (waveInGetDevCapsA(0, &caps, sizeof caps) != MMSYSERR_NOERROR) {
        Tell(NoCapabilitiesCaption);
        closeRequested_ = true;
    }
    worker_ = std::make_unique<Display>(true, Display::BlockLength, Display::SampleRate,
                                        Display::FftLength, form_);
    worker_->SetUpdateWaker(&waker_);
    waker_.SetDrain(worker_.get());
    worker_->Resume();
    // The recorder has told the user why capture did not start; the window stays and shows
    // nothing new.
    worker_->Start();
}

void Form1Lifecycle::FormDestroy() {
    if (worker_ != nullptr) {
        worker_->Stop();
    }
}

void Form1Lifecycle::JoinWorker() {
    if (worker_ != nullptr) {
        waker_.SetDrain(nullptr);
        worker_->WaitFor();
        worker_.reset();
    }
}

void Form1Lifecycle::Tell(const char* caption) {
    // OK only, no icon, owned by the application rather than by the window.
    MessageBoxA(nullptr, "", caption, MB_OK);
}
