// The main window's skin with its real pictures: layout, drawing on the LCD panel, what shows
// through where twins and lamps differ in size, growing the window, decoding once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/image/client_picture.h"
#include "tests/unit/ui/host_recorder.h"
#include "ui/form1_description.h"
#include "ui/skin/embedded_skin.h"
#include "ui/skin/picture_decoding.h"
#include "ui/tform1.h"

namespace {

using skin::Pixel;
using skin::Rect;
using skin::Rgb;

constexpr Pixel kUnlit = Rgb(0, 128, 0);
constexpr Pixel kLit = Rgb(64, 255, 64);
constexpr int kShapeLeft = 105;
constexpr int kShapeTop = 62;

// Bar i of the meter as the display paints it, in Shape1's coordinates.
Rect BarRect(int i) {
    return form1::MeterBar(i);
}

class Form1Skin : public testing::Test {
protected:
    void SetUp() override { Paint(); }

    // What the window shows now, and the areas it has been told to paint since.
    void Paint() {
        shown = test_image::ClientPicture(form);
        host.painted.clear();
    }
    Pixel Client(int x, int y) const { return shown.At(x, y); }
    Pixel FondAt(int clientX, int clientY) {
        return form.Fond.GetPicture().At(clientX - 3, clientY);
    }

    TForm1 form;
    HostRecorder host{form};
    skin::RgbPixels shown;
};

TEST_F(Form1Skin, ComponentsFollowTheDescriptionInCreationOrder) {
    const auto& images = form.Images();
    ASSERT_EQ(images.size(), form1::kComponents.size() - 1);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const skin::ComponentDescription& row = form1::kComponents[i];
        SCOPED_TRACE(std::string(row.name));
        skin::Image& image = *images[i];
        EXPECT_EQ(image.Name(), row.name);
        EXPECT_EQ(image.BoundsRect(),
                  (Rect{row.left, row.top, row.left + row.width, row.top + row.height}));
        EXPECT_EQ(image.Visible(), row.visible);
        // Every picture is exactly the size of its component: drawn 1:1, never cut or padded.
        EXPECT_EQ(image.GetPicture().Dimensions(), (skin::Size{row.width, row.height}));
    }
    // Which handler each reaches is Form1Routing's and Form1Controls' to show.
    EXPECT_EQ(form.Caption(), "Vibralon");
}

TEST_F(Form1Skin, FramesAreCellsOfTheStripFourToARow) {
    EXPECT_EQ(form.Liste.FrameRect(0), (Rect{0, 0, 129, 75}));
    EXPECT_EQ(form.Liste.FrameRect(5), (Rect{129, 75, 258, 150}));
    EXPECT_EQ(form.Liste.FrameRect(12), (Rect{0, 225, 129, 300}));
}

// At either art scale each frame fills exactly the note window, and frame 12, the bare face,
// erases any note drawn before it: the panel is as the artwork has it.
TEST(Form1NoteFrames, EachCoversTheNoteWindowAndNothingElseAndTwelveRestoresThePanel) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        TForm1 form(scale);
        const skin::RgbPixels before = form.Shape1.GetPicture().ToRgb();
        const skin::Picture strip = skin::EmbeddedPicture("Liste", scale);
        const Rect window{16 * scale, 23 * scale, 145 * scale, 98 * scale};
        for (int frame = 0; frame < 13; ++frame) {
            form.Liste.Draw(form.Shape1, 16, 23, frame);
            const Rect cell = form.Liste.FrameRect(frame);
            const skin::RgbPixels shape = form.Shape1.GetPicture().ToRgb();
            for (int y = 0; y < shape.Height(); ++y) {
                for (int x = 0; x < shape.Width(); ++x) {
                    const bool inWindow = x >= window.left && x < window.right && y >= window.top &&
                                          y < window.bottom;
                    const Pixel want = inWindow ? strip.At(scale * cell.left + x - window.left,
                                                           scale * cell.top + y - window.top)
                                                : before.At(x, y);
                    ASSERT_EQ(shape.At(x, y), want) << "frame " << frame << " at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(form.Shape1.GetPicture().ToRgb(), before);
    }
}

// The same panel on a dense screen: the 2x art, drawn on in skin pixels, each one a 2 x 2 block.
class Form1SkinAt2x : public Form1Skin {
protected:
    void SetUp() override {
        form.SetArtScale(2);
        Form1Skin::SetUp();
    }
    // Shape1's 2x pixel (x, y) as the window shows it.
    Pixel Panel(int x, int y) const { return shown.At(2 * kShapeLeft + x, 2 * kShapeTop + y); }
};

TEST_F(Form1SkinAt2x, ALitBarCoversExactlyTwiceItsRectangle) {
    ASSERT_EQ(form.Shape1.GetPicture().Dimensions(), (skin::Size{336, 358}));
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE("bar " + std::to_string(i));
        const Rect bar = BarRect(i);
        host.painted.clear();
        form.Shape1.FillRect(bar, kLit);
        EXPECT_EQ(host.painted, (std::vector<Rect>{bar.Translated(kShapeLeft, kShapeTop)}));
        Paint();
        // The slot, one skin pixel more each way, and a pixel of its surround.
        for (int y = 2 * bar.top - 1; y < 2 * bar.bottom + 2; ++y) {
            for (int x = 2 * bar.left - 1; x < 2 * bar.right + 2; ++x) {
                const bool lit = x >= 2 * bar.left && x < 2 * bar.right && y >= 2 * bar.top &&
                                 y < 2 * bar.bottom;
                ASSERT_EQ(Panel(x, y) == kLit, lit) << "at " << x << "," << y;
            }
        }
        form.Shape1.FillRect(bar, kUnlit);
    }
}

TEST_F(Form1Skin, ChangingTheArtKeepsTheReadingShown) {
    form.ShowReading({9, 0, 0}); // an A, in tune
    Paint();
    const skin::RgbPixels at1x = shown;
    form.SetArtScale(2);
    ASSERT_FALSE(host.painted.empty());
    EXPECT_EQ(host.painted.back(), form.ClientRect());
    Paint();
    TForm1 fresh;
    fresh.SetArtScale(2);
    fresh.ShowReading({9, 0, 0});
    EXPECT_EQ(shown, test_image::ClientPicture(fresh));
    form.SetArtScale(1);
    Paint();
    EXPECT_EQ(shown, at1x);
}

TEST_F(Form1Skin, LitTwinsOffsetFromTheirButtonsShowTheBackground) {
    form.E6.Hide();
    form.LE6.Show();
    form.G3.Hide();
    form.LG3.Show();
    Paint();
    for (int y = 106; y <= 107; ++y) {
        for (int x = 24; x < 83; ++x) {
            ASSERT_EQ(Client(x, y), FondAt(x, y)) << x << "," << y;
        }
    }
    for (int x = 343; x <= 345; ++x) {
        for (int y = 48; y < 106; ++y) {
            ASSERT_EQ(Client(x, y), FondAt(x, y)) << x << "," << y;
        }
    }
    // And the twins themselves cover their whole place.
    EXPECT_EQ(Client(24, 48), form.LE6.GetPicture().At(0, 0));
    EXPECT_EQ(Client(342, 105), form.LG3.GetPicture().At(58, 57));
}

TEST_F(Form1Skin, TheUnlitLampIsOneRowShorterThanTheLitOne) {
    for (int x = 71; x <= 86; ++x) {
        ASSERT_EQ(Client(x, 38), FondAt(x, 38)) << x;
        ASSERT_EQ(Client(x, 37), form.Off.GetPicture().At(x - 71, 14)) << x;
    }
    form.Off.Hide();
    form.On.Show();
    Paint();
    for (int x = 71; x <= 86; ++x) {
        ASSERT_EQ(Client(x, 38), form.On.GetPicture().At(x - 71, 15)) << x;
    }
}

TEST_F(Form1Skin, WindowColourShowsBesideFondAndWhereTheWindowGrewAndTheSkinDoesNot) {
    const Pixel colour = Rgb(212, 208, 200);
    form.SetWindowColour(colour);
    Paint();
    const skin::RgbPixels before = shown;
    EXPECT_EQ(Client(3, 0), FondAt(3, 0));
    EXPECT_EQ(Client(420, 325), FondAt(420, 325));
    form.SetClientSize({640, 480});
    // Only what the window gained is to be painted.
    EXPECT_EQ(host.painted, (std::vector<Rect>{{423, 0, 640, 480}, {0, 328, 423, 480}}));
    Paint();
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool onFond = x >= 3 && x < 421 && y < 326;
            ASSERT_EQ(Client(x, y), onFond ? before.At(x, y) : colour) << x << "," << y;
        }
    }
    form.SetClientSize({300, 200});
    EXPECT_TRUE(host.painted.empty());
    Paint();
    EXPECT_EQ(shown.Dimensions(), (skin::Size{300, 200}));
    EXPECT_EQ(Client(299, 199), before.At(299, 199));
}

// What each change marks for painting is Form1Display's (notes, bars, arrows, lamp) and
// TwoPictures' (hiding and showing); a change that changes nothing marks nothing.
TEST_F(Form1Skin, AChangeThatChangesNothingMarksNothing) {
    form.E6.Show();
    form.plus.Hide();
    form.Shape1.FillRect({200, 0, 210, 10}, kLit); // wholly outside the panel
    EXPECT_TRUE(host.painted.empty());
}

// How many of the form's pictures still wait to be decoded (JPEGs not yet painted).
int Waiting(const TForm1& form) {
    int waiting = 0;
    for (const skin::Image* image : form.Images()) {
        waiting += image->GetPicture().Decoded() ? 0 : 1;
    }
    return waiting;
}

TEST(Form1Pictures, EachPictureIsDecodedOnceAndJpegsOnlyWhenFirstPainted) {
    TForm1 form;
    // The bitmap components are decoded; the seven JPEG pictures (five lit twins, the arrows)
    // wait, and the first painting shows none of them.
    EXPECT_EQ(Waiting(form), 7);
    test_image::ClientPicture(form);
    EXPECT_EQ(Waiting(form), 7);
    EXPECT_FALSE(form.LA5.GetPicture().Decoded());
    // The note frames, the largest bitmap, wait for the first one drawn: none shows before a
    // note is heard.
    EXPECT_FALSE(form.Liste.Decoded());

    form.A5.Hide();
    form.LA5.Show();
    test_image::ClientPicture(form);
    EXPECT_EQ(Waiting(form), 6);
    EXPECT_TRUE(form.LA5.GetPicture().Decoded());

    // Many readings later: notes, bars, arrows and twins come and go, and only plus and moins
    // were decoded on the way (a picture once decoded keeps its pixels).
    for (int reading = 0; reading < 200; ++reading) {
        form.Liste.Draw(form.Shape1, 16, 23, reading % 13);
        form.Shape1.FillRect(BarRect(reading % 11), reading % 2 ? kLit : kUnlit);
        form.LA5.SetVisible(reading % 2 == 0);
        form.plus.SetVisible(reading % 3 == 0);
        form.moins.SetVisible(reading % 3 == 1);
        test_image::ClientPicture(form);
    }
    EXPECT_EQ(Waiting(form), 4);
    EXPECT_TRUE(form.plus.GetPicture().Decoded());
    EXPECT_TRUE(form.moins.GetPicture().Decoded());
}

TEST(Form1Pictures, DenseScreensDecodeOnlyTheirOwnArt) {
    TForm1 form(2);
    // Every picture is the 2x art's (no 1x bitmap is decoded), each PNG waiting for its first
    // painting, which decodes the eleven shown.
    for (const skin::Image* image : form.Images()) {
        EXPECT_EQ(image->PictureScale(), 2) << image->Name();
    }
    EXPECT_EQ(Waiting(form), 20);
    test_image::ClientPicture(form);
    EXPECT_EQ(Waiting(form), 9);
    EXPECT_TRUE(form.Fond.GetPicture().Decoded());
    EXPECT_FALSE(form.LA5.GetPicture().Decoded());
    // The note frames too wait for the first one drawn, which decodes them.
    EXPECT_FALSE(form.Liste.Decoded());
    form.Liste.Draw(form.Shape1, 16, 23, 12);
    EXPECT_TRUE(form.Liste.Decoded());
}

// Placed centred once (296, 206 on 1024 x 768) is window_e2e_test's, kept when shown again
// FormWindow's.
TEST(Form1Placement, CentredNeverOffTheScreensCorner) {
    EXPECT_EQ(skin::CentredPosition({431, 355}, {400, 600}), (skin::Point{0, 122}));
    EXPECT_EQ(skin::CentredPosition({431, 355}, {800, 300}), (skin::Point{184, 0}));
    EXPECT_EQ(skin::CentredPosition({431, 355}, {430, 354}), (skin::Point{0, 0}));
    EXPECT_EQ(skin::CentredPosition({431, 355}, {432, 356}), (skin::Point{0, 0}));
    EXPECT_EQ(skin::CentredPosition({431, 355}, {433, 357}), (skin::Point{1, 1}));
}

} // namespace
