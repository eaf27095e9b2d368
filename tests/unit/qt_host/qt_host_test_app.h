#pragma once

#include "hosts/qt/qt_host.h"

// The application object every test of the host runs in.
qt_host::Application& TestApplication();
