// A stand-in for the platform window: records what the form asks of it, in order.
#pragma once

#include <vector>

#include "ui/skin/form.h"
#include "ui/skin/window_host.h"

class HostRecorder final : public skin::WindowHost {
public:
    explicit HostRecorder(skin::Form& form) : form_(form) { form_.AttachHost(this); }
    ~HostRecorder() { form_.AttachHost(nullptr); }
    HostRecorder(const HostRecorder&) = delete;
    HostRecorder& operator=(const HostRecorder&) = delete;

    void InvalidateArea(const skin::Rect& clientArea) override { painted.push_back(clientArea); }
    void MoveWindow(skin::Point position) override {
        moves.push_back(position);
        // A real window reports where it went.
        form_.WindowMoved(position);
    }
    void CloseWindow() override { ++closes; }

    std::vector<skin::Rect> painted;
    std::vector<skin::Point> moves;
    int closes = 0;

private:
    skin::Form& form_;
};
