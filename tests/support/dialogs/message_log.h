// Stands in for the desktop's message box while it lives: records each box the program shows,
// and answers it OK.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/desktop_services.h"
#include "platform/winapi.h"

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned type = 0;
    friend bool operator==(const ShownBox&, const ShownBox&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownBox& box) {
        return out << "[" << box.caption << "] \"" << box.text << "\" type " << box.type;
    }
};

class MessageLog {
public:
    MessageLog()
        : previous_(desktop::SetMessageBoxHandler(
              [this](const std::string& text, const std::string& caption, unsigned type) {
                  shown.push_back({text, caption, type});
                  return IDOK;
              })) {}
    ~MessageLog() { desktop::SetMessageBoxHandler(previous_); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<ShownBox> shown;

private:
    desktop::MessageBoxHandler previous_;
};
