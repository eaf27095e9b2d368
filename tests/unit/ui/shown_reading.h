// What the window shows of a reading, read from its picture as a host paints it: the note's
// frame in the note window and the lit bar of the meter.
#pragma once

#include "ui/form1_description.h"
#include "ui/skin/embedded_skin.h"
#include "ui/tform1.h"

namespace shown_reading {

// The note window's place on Shape1, in Shape1's pixels.
inline skin::Rect NoteWindow() {
    const skin::ComponentDescription& liste = form1::Component("Liste");
    return {form1::kNoteAt.x, form1::kNoteAt.y, form1::kNoteAt.x + liste.width,
            form1::kNoteAt.y + liste.height};
}

// Which of Liste's frames the note window shows (the last is the blank one), or -1 for none.
inline int Frame(const TForm1& form) {
    const skin::Rect window = NoteWindow();
    skin::RgbPixels shown(window.Width(), window.Height());
    shown.Copy(form.Shape1.GetPicture().ToRgb(), window, {0, 0});
    const skin::Picture strip = skin::EmbeddedPicture("Liste");
    for (int frame = 0; frame < form1::kListeFrames; ++frame) {
        skin::RgbPixels cell(window.Width(), window.Height());
        strip.CopyTo(cell, form.Liste.FrameRect(frame), {0, 0});
        if (cell == shown) {
            return frame;
        }
    }
    return -1;
}

// The meter's lit bar, or -1 when none is lit.
inline int LitBar(const TForm1& form) {
    for (int bar = 0; bar < TForm1::BarCount; ++bar) {
        const skin::Rect slot = form1::MeterBar(bar);
        if (form.Shape1.GetPicture().At(slot.left, slot.top) == TForm1::LitBar) {
            return bar;
        }
    }
    return -1;
}

} // namespace shown_reading
