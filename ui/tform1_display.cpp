// The tuner's read-out: the note, the arrows, the bar meter and the activity lamp. Only what
// changes is painted, so a steady note costs nothing on screen.
#include "ui/tform1.h"

int TForm1::SelectedString() const {
    return selectedString_.load(std::memory_order_relaxed);
}

void TForm1::ShowLamp(bool lit) {
    // Off first either way: one picture of the lamp always ends up shown.
    Off.SetVisible(!lit);
    On.SetVisible(lit);
}

void TForm1::ShowReading(const TunerReading& reading) {
    if (reading.frame != noteShown_) {
        DrawNote(reading.frame);
        noteShown_ = reading.frame;
    }
    ShowDirection(reading.direction);
    ShowStep(reading.step);
    access_.ReadingShown(reading, heardFrequency_);
}

void TForm1::ShowHeard(const TunerReading& reading, int frequency) {
    heardFrequency_ = frequency;
    ShowReading(reading);
    heardFrequency_ = 0;
}

void TForm1::ArtScaleChanged() {
    // The pictures at the new scale are as the artwork has them: the reading goes on them again.
    if (noteShown_ != TunerReading::NoNoteFrame) {
        DrawNote(noteShown_);
    }
    PaintBar(litBar_, LitBar);
}

void TForm1::DrawNote(int frame) {
    Liste.Draw(Shape1, NoteWindow.x, NoteWindow.y, frame);
}

void TForm1::ShowDirection(int direction) {
    if (direction == directionShown_) {
        return;
    }
    if (direction < 0) {
        plus.Hide();
        moins.Show();
    } else if (direction > 0) {
        plus.Show();
        moins.Hide();
    } else {
        plus.Hide();
        moins.Hide();
    }
    directionShown_ = direction;
}

void TForm1::ShowStep(int step) {
    const int bar = step + form1::kMiddleBar;
    if (bar == litBar_) {
        return;
    }
    if (litBar_ >= 0) {
        PaintBar(litBar_, UnlitBar);
    }
    // No note (-6) or a note far below its string (-7) lights nothing.
    if (bar >= 0) {
        PaintBar(bar, LitBar);
    }
    litBar_ = bar;
}

void TForm1::PaintBar(int bar, skin::Pixel colour) {
    // The analysis never steps beyond the meter; if it ever did, nothing is painted.
    if (bar < 0 || bar >= BarCount) {
        return;
    }
    // The right column and bottom row of each slot stay artwork green: the rectangle excludes them.
    Shape1.FillRect(BarRect(bar), colour);
}
