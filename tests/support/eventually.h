// Polls `condition` until it holds; false once `within` has passed, by default a generous while
// (a hung thread or server, not a slow one).
#pragma once

#include <chrono>
#include <thread>

template <class Condition>
bool Eventually(const Condition& condition,
                std::chrono::milliseconds within = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
