#include "tools/skingen/lcd_face.h"

#include <cstdint>

namespace skingen {

namespace {
// 5-bit levels, widened the way BMP decoders widen them: (v << 3) | (v >> 2).
constexpr int Widen(int v) {
    return (v << 3) | (v >> 2);
}
constexpr QRgb Level(int r, int g, int b) {
    return qRgb(Widen(r), Widen(g), Widen(b));
}

constexpr QRgb kFace = Level(12, 18, 9);   // 99,148,74
constexpr QRgb kSpeck = Level(11, 17, 8);  // 90,140,66
constexpr QRgb kShadow = Level(10, 15, 7); // 82,123,57, the rim's shadow on the glass

std::uint32_t Mix(std::uint32_t h) {
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}
} // namespace

QRgb LcdFace(int x, int y) {
    if (x < 5 || y < 6) {
        return kShadow;
    }
    const std::uint32_t h = Mix(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                                static_cast<std::uint32_t>(y) * 0x85EBCA77u);
    return h % 11 == 0 ? kSpeck : kFace;
}

} // namespace skingen
