// The tuner's entry on Linux: the Qt window host.
#include <cstdio>

#include "app/tuner_program.h"
#include "hosts/qt/qt_host.h"

int main(int argc, char** argv) {
    return tuner_program::Run<qt_host::Application, qt_host::Window>(
        [&](std::optional<qt_host::Application>& app) { app.emplace(argc, argv, "Vibralon"); },
        [](const char* message) { std::fprintf(stderr, "Vibralon: %s\n", message); });
}
