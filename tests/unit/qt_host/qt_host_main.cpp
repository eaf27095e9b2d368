// Runs the host's tests inside a real application object on the offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "hosts/qt/qt_host.h"
#include "qt_host_test_app.h"

namespace {
qt_host::Application* application = nullptr;
}

qt_host::Application& TestApplication() {
    return *application;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Exact pixels: no scaling from the environment, only the one a test asks for.
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI"}) {
        unsetenv(name);
    }
    if (const char* scale = std::getenv("VIBRALON_TEST_SCALE")) {
        setenv("QT_SCALE_FACTOR", scale, 1);
    }
    qt_host::Application app(argc, argv, "Vibralon");
    application = &app;
    return RUN_ALL_TESTS();
}
