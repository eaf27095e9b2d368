// The LCD face of Shape1 as a function of its own pixel coordinates.
#pragma once

#include <QRgb>

namespace skingen {

// Colour of the LCD face at (x, y) of Shape1. The note frames paint their background with the
// same function at (16 + x, 23 + y), so a drawn frame blends in and frame 12 restores the
// untouched panel exactly. Every colour returned survives a 5-5-5 round trip unchanged.
QRgb LcdFace(int x, int y);

} // namespace skingen
