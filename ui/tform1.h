// The main window: the tuner's skin, one member per component of its form description, the
// display state on which the worker's readings are shown, and the handlers its components are
// bound to. Everything here runs on the UI thread, except SelectedString, which the worker reads.
#pragma once

#include <array>
#include <atomic>

#include "analysis/tuner_reading.h"
#include "ui/a11y/tuner_access.h"
#include "ui/form1_description.h"
#include "ui/skin/form.h"
#include "ui/skin/image.h"
#include "ui/skin/image_list.h"
#include "ui/string_buttons.h"
#include "worker/tuner_view.h"

class TForm1 : public skin::Form, public TunerView {
public:
    static constexpr int BarCount = form1::kMeterBars;
    static constexpr int StringCount = StringButtonCount;
    static constexpr int NoString = -1;
    static constexpr int NoBar = -1;
    static constexpr skin::Pixel UnlitBar = skin::Rgb(0, 128, 0);
    static constexpr skin::Pixel LitBar = skin::Rgb(64, 255, 64);
    static constexpr skin::Point NoteWindow = form1::kNoteAt;

    // Builds every component from the description with its picture from the program's data at
    // `artScale` (bitmaps decoded now; JPEG and PNG pictures at their first painting, the note
    // frames at the first one drawn), then sets the display state: no note drawn, no bar lit, no
    // arrow, no string selected. Throws skin::PictureError when a component's picture is missing
    // or unreadable.
    explicit TForm1(int artScale = 1);

    // Components, in creation order (later ones lie above earlier ones).
    skin::Image Fond;
    skin::Image Shape1;
    skin::Image Off;
    skin::Image On;
    skin::Image Image2;
    skin::Image Image3;
    skin::Image E6;
    skin::Image LE6;
    skin::Image A5;
    skin::Image LA5;
    skin::Image D4;
    skin::Image LD4;
    skin::Image G3;
    skin::Image LG3;
    skin::Image B2;
    skin::Image LB2;
    skin::Image E1;
    skin::Image LE1;
    skin::Image moins;
    skin::Image plus;
    skin::ImageList Liste;

    // The window for screen readers and the keyboard; hosts adapt it to their platform.
    a11y::TunerAccess& Access() { return access_; }
    void KeyPressed(a11y::Key key) override { access_.KeyPressed(key); }

    // --- Display (TunerView) ---------------------------------------------------------------
    // Any thread: the selected string, 0 (E6) to 5 (E1), or NoString.
    int SelectedString() const override;
    void ShowLamp(bool lit) override;
    // Draws the frame only when it changed, then the arrows, then the bar meter.
    void ShowReading(const TunerReading& reading) override;
    // The worker's reading with its frequency: the screen reader's words name the string's
    // partial it was made from.
    void ShowHeard(const TunerReading& reading, int frequency) override;

    void DrawNote(int frame);
    void ShowDirection(int direction);
    void ShowStep(int step);
    void PaintBar(int bar, skin::Pixel colour);

    static skin::Rect BarRect(int bar) { return form1::MeterBar(bar); }

    // --- Handlers named in the form description -----------------------------------------------
    void FondMouseDown(skin::Image& sender, skin::MouseButton button, int x, int y);
    void FondMouseUp(skin::Image& sender, skin::MouseButton button, int x, int y);
    // Serves the six unlit string buttons (E6 A5 D4 G3 B2 E1): picks the clicked string.
    void IE6NClick(skin::Image& sender);
    // Serves the six lit string buttons (LE6 ... LE1): lets go of the picked string.
    void IE1OClick(skin::Image& sender);
    void Image2Click(skin::Image& sender);

protected:
    void ArtScaleChanged() override;

private:
    void BindHandlers();
    void Deselect(int string);

    // The string buttons by string index, with their lit twins.
    StringButtons strings_{};
    int noteShown_ = TunerReading::NoNoteFrame;
    int litBar_ = NoBar;
    int directionShown_ = 0;
    // The frequency of the reading being shown, 0 when it came without one.
    int heardFrequency_ = 0;
    std::atomic<int> selectedString_{NoString};
    // Where the last press on Fond was, in Fond's coordinates.
    skin::Point dragOrigin_{0, 0};
    // The platform is moving the window with that press: the release moves nothing.
    bool platformMoves_ = false;
    // After the components and the string buttons, which it is given.
    a11y::TunerAccess access_{*this, strings_, Image2, Shape1, *this};
};
