// Skin pixels (laid out for 96 dpi) and the screen's pixels at the window's DPI. A skin pixel
// becomes a block of whole screen pixels: the skin edge e lies at screen pixel Device(e), the
// nearest one, so that at 150 % blocks are two and one pixels wide in turn and at 200 % all two.
#pragma once

namespace win32_host {

class DpiScale {
public:
    static constexpr int SkinDpi = 96;

    explicit DpiScale(int dpi = SkinDpi) : dpi_(dpi > 0 ? dpi : SkinDpi) {}
    int Dpi() const { return dpi_; }
    // Screen pixels a skin pixel, as a device pixel ratio.
    double Ratio() const { return static_cast<double>(dpi_) / SkinDpi; }

    // Where skin edge `e` lies on screen.
    int Device(int e) const { return FloorDiv(e * dpi_ + SkinDpi / 2, SkinDpi); }
    // The skin pixel whose block holds screen pixel `px` (for the mouse).
    int Skin(int px) const { return FloorDiv(px * SkinDpi + SkinDpi / 2 - 1, dpi_); }
    // How many skin pixels it takes to cover `px` screen pixels: the least n with
    // Device(n) >= px.
    int SkinExtent(int px) const {
        int n = FloorDiv(px * SkinDpi, dpi_);
        while (Device(n) < px) {
            ++n;
        }
        return n;
    }

private:
    static int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

    int dpi_;
};

} // namespace win32_host
