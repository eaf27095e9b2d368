// The read-out on the main window: which note frame, bars, arrows and lamp picture each reading
// leaves on screen, and that only what changes is painted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/ui/host_recorder.h"
#include "tests/unit/ui/shown_reading.h"
#include "ui/tform1.h"

namespace {

using skin::Pixel;
using skin::Rect;

constexpr int kShapeLeft = 105;
constexpr int kShapeTop = 62;
const Rect kNoteWindow{kShapeLeft + 16, kShapeTop + 23, kShapeLeft + 145, kShapeTop + 98};

// The meter's slots in the artwork (columns and rows inclusive): 5 columns, down to row 169.
Rect Slot(int i) {
    const int heights[] = {7, 12, 17, 22, 27, 32, 27, 22, 17, 12, 7};
    return {40 + 8 * i, 170 - heights[i], 45 + 8 * i, 170};
}

Rect OnClient(Rect shapeArea) {
    return shapeArea.Translated(kShapeLeft, kShapeTop);
}

class Form1Display : public testing::Test {
protected:
    Form1Display() : artwork(form.Shape1.GetPicture().ToRgb()) {}

    skin::RgbPixels Shape() const { return form.Shape1.GetPicture().ToRgb(); }

    // The bar's slot as the player sees it: lit or not, and the slot's edge kept dark.
    void ExpectBar(int i, bool lit) {
        SCOPED_TRACE("bar " + std::to_string(i));
        const Rect slot = Slot(i);
        for (int y = slot.top; y < slot.bottom; ++y) {
            for (int x = slot.left; x < slot.right; ++x) {
                const bool inside = x < slot.right - 1 && y < slot.bottom - 1;
                ASSERT_EQ(form.Shape1.GetPicture().At(x, y),
                          lit && inside ? TForm1::LitBar : TForm1::UnlitBar)
                    << "at " << x << "," << y;
            }
        }
    }
    void ExpectOnlyLit(int litBar) {
        for (int i = 0; i < TForm1::BarCount; ++i) {
            ExpectBar(i, i == litBar);
        }
    }

    TForm1 form;
    HostRecorder host{form};
    skin::RgbPixels artwork;
};

TEST_F(Form1Display, StartsWithNothingShownAndNoNoteThenDrawsNothing) {
    EXPECT_EQ(shown_reading::Frame(form), TunerReading::NoNoteFrame);
    EXPECT_EQ(shown_reading::LitBar(form), -1);
    EXPECT_EQ(form.SelectedString(), -1);
    EXPECT_TRUE(form.Off.Visible());
    EXPECT_FALSE(form.On.Visible());
    EXPECT_FALSE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
    form.ShowReading({12, -6, 0});
    EXPECT_TRUE(host.painted.empty());
    EXPECT_EQ(Shape(), artwork);
    EXPECT_FALSE(form.plus.Visible());
}

TEST_F(Form1Display, ANoteIsDrawnOnceAndTheLitBarFollowsTheStep) {
    form.ShowReading({9, 0, 0});
    EXPECT_EQ(shown_reading::Frame(form), 9);
    ExpectOnlyLit(5);
    EXPECT_EQ(host.painted, (std::vector<Rect>{kNoteWindow, OnClient(form.BarRect(5))}));

    host.painted.clear();
    form.ShowReading({9, 1, 0});
    EXPECT_EQ(shown_reading::Frame(form), 9);
    ExpectOnlyLit(6);
    // The note is not drawn again: only the bar going out and the one coming on.
    EXPECT_EQ(host.painted,
              (std::vector<Rect>{OnClient(form.BarRect(5)), OnClient(form.BarRect(6))}));
    EXPECT_FALSE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
    // The same reading again paints nothing.
    host.painted.clear();
    form.ShowReading({9, 1, 0});
    EXPECT_TRUE(host.painted.empty());
}

// Each slot's right column and bottom row stay dark under a lit bar.
TEST_F(Form1Display, EveryStepLightsTheBarOfItsSlot) {
    // Steps beyond the meter light none.
    for (int step = -7; step <= 6; ++step) {
        form.ShowReading({4, step, 0});
        ExpectOnlyLit(step >= -5 && step <= 5 ? step + 5 : -1);
    }
    // An unlit bar cannot be told from the untouched artwork.
    form.ShowReading({12, -6, 0});
    skin::RgbPixels meter(Shape().Width(), 60);
    skin::RgbPixels untouchedMeter(Shape().Width(), 60);
    meter.Copy(Shape(), {0, 120, Shape().Width(), 180}, {0, 0});
    untouchedMeter.Copy(artwork, {0, 120, Shape().Width(), 180}, {0, 0});
    EXPECT_EQ(meter, untouchedMeter);
}

TEST_F(Form1Display, FarBelowTheStringDarkensTheLitBarAndLightsNone) {
    form.ShowReading({9, 0, 0});
    host.painted.clear();
    form.ShowReading({3, -7, +1});
    ExpectOnlyLit(-1);
    EXPECT_EQ(shown_reading::Frame(form), 3);
    EXPECT_TRUE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
    EXPECT_EQ(host.painted,
              (std::vector<Rect>{kNoteWindow, form.plus.BoundsRect(), OnClient(form.BarRect(5))}));
    // Back to no note: nothing more to darken, the note window is LCD green again.
    host.painted.clear();
    form.ShowReading({12, -6, 0});
    EXPECT_EQ(shown_reading::Frame(form), 12);
    EXPECT_EQ(Shape(), artwork);
    EXPECT_EQ(host.painted, (std::vector<Rect>{kNoteWindow, form.plus.BoundsRect()}));
}

TEST_F(Form1Display, ArrowsChangeOnlyWithTheDirection) {
    form.ShowDirection(-1);
    form.ShowDirection(-1);
    EXPECT_TRUE(form.moins.Visible());
    EXPECT_FALSE(form.plus.Visible());
    EXPECT_EQ(host.painted, (std::vector<Rect>{form.moins.BoundsRect()}));

    host.painted.clear();
    form.ShowDirection(+1);
    EXPECT_TRUE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
    EXPECT_EQ(host.painted.size(), 2u);

    form.ShowDirection(0);
    EXPECT_FALSE(form.plus.Visible());
    EXPECT_FALSE(form.moins.Visible());
}

TEST_F(Form1Display, TheLampAlternatesWithOffSetFirst) {
    const Rect off = form.Off.BoundsRect();
    const Rect on = form.On.BoundsRect();
    for (int block = 0; block < 4; ++block) {
        SCOPED_TRACE("block " + std::to_string(block));
        const bool lit = block % 2 == 0;
        host.painted.clear();
        form.ShowLamp(lit);
        EXPECT_EQ(form.On.Visible(), lit);
        EXPECT_EQ(form.Off.Visible(), !lit);
        EXPECT_EQ(host.painted, (std::vector<Rect>{off, on}));
    }
    // The lamp shown twice the same way changes nothing.
    host.painted.clear();
    form.ShowLamp(false);
    EXPECT_TRUE(host.painted.empty());
}

} // namespace
