// Message boxes as this program shows them on Windows.
//
// A system message box is as wide as its body and buttons, whatever its caption: an empty body
// under the caption "No sound card installed !" gives a box the width of its OK button, with
// none of the caption readable. While a CaptionWideBoxes lives, every message box the UI thread
// opens is widened, once laid out and before it shows, until its whole caption fits on its title
// bar; the body and buttons stay centred.
#pragma once

#include <string_view>

#include "hosts/win32/windows_names.h"

namespace win32_host {

class CaptionWideBoxes {
public:
    // On the UI thread, which owns every message box the program shows.
    CaptionWideBoxes();
    ~CaptionWideBoxes();
    CaptionWideBoxes(const CaptionWideBoxes&) = delete;
    CaptionWideBoxes& operator=(const CaptionWideBoxes&) = delete;

    // The outer width a box needs so that its caption shows whole (title bar font, icon,
    // buttons and frame included), at the box's DPI.
    static int WidthForCaption(HWND box);

private:
    static LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam);
    static void Widen(HWND box);

    HHOOK hook_ = nullptr;
};

// The standard report of an error: a modal box with the error icon, titled `title`. UTF-8.
void ShowErrorBox(std::string_view title, std::string_view message);

} // namespace win32_host
