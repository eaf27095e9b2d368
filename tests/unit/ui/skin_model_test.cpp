// The skin model on made-up pictures: clipping, composing in bands, stacking, capture and the
// host.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/image/client_picture.h"
#include "tests/support/routing/event_recorder.h"
#include "tests/unit/ui/host_recorder.h"
#include "ui/skin/band_composer.h"
#include "ui/skin/form.h"
#include "ui/skin/image.h"

namespace {

using skin::Pixel;
using skin::Point;
using skin::Rect;
using skin::Rgb;

constexpr Pixel kRed = Rgb(255, 0, 0);
constexpr Pixel kBlue = Rgb(0, 0, 255);
constexpr Pixel kGrey = Rgb(50, 50, 50);

TEST(RgbPixelsCopy, ClipsAtEveryEdgeOfSourceAndTarget) {
    skin::RgbPixels source(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.Set(x, y, Rgb(x, y, 0));
        }
    }
    skin::RgbPixels target(5, 5, kGrey);
    target.Copy(source, {1, 1, 6, 6}, {-1, 2}); // beyond the source, left of the target
    EXPECT_EQ(target.At(0, 2), Rgb(2, 1, 0));
    EXPECT_EQ(target.At(1, 3), Rgb(3, 2, 0));
    EXPECT_EQ(target.At(2, 2), kGrey); // source ends at column 3
    EXPECT_EQ(target.At(0, 1), kGrey);
    EXPECT_EQ(target.At(0, 4), Rgb(2, 3, 0));
    target.Fill({3, -2, 10, 1}, kRed);
    EXPECT_EQ(target.At(4, 0), kRed);
    EXPECT_EQ(target.At(2, 0), kGrey);
    EXPECT_EQ(target.At(4, 1), kGrey);
}

skin::ComponentDescription Component(std::string_view name, int left, int top, int width,
                                     int height, bool visible = true) {
    skin::ComponentDescription description;
    description.name = name;
    description.left = left;
    description.top = top;
    description.width = width;
    description.height = height;
    description.visible = visible;
    return description;
}

TEST(BandComposer, BandsJoinIntoTheAreaAndEachIsHandedOverWithItsPlace) {
    skin::Form form{skin::FormDescription{"Test", 0, 0, 12, 9}};
    skin::RgbPixels art(12, 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            art.Set(x, y, Rgb(x, y, 7));
        }
    }
    skin::Image all{form, Component("all", 0, 0, 12, 9), skin::Picture(art)};
    skin::BandComposer composer;
    for (const Rect area : {Rect{1, 2, 11, 9}, Rect{0, 0, 3, 2}, Rect{0, 0, 12, 9}}) {
        skin::RgbPixels joined(12, 9, kGrey);
        std::vector<Rect> bands;
        composer.Compose(form, area, 3, [&](const skin::RgbPixels& pixels, const Rect& band) {
            bands.push_back(band);
            joined.Copy(pixels, {0, 0, band.Width(), band.Height()}, {band.left, band.top});
        });
        ASSERT_FALSE(bands.empty());
        EXPECT_EQ(bands.front().top, area.top);
        EXPECT_EQ(bands.back().bottom, area.bottom);
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_LE(bands[i].Height(), 3);
            EXPECT_EQ(bands[i].left, area.left);
            EXPECT_EQ(bands[i].right, area.right);
            if (i > 0) {
                EXPECT_EQ(bands[i].top, bands[i - 1].bottom);
            }
        }
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool inside = area.Contains(Point{x, y});
                ASSERT_EQ(joined.At(x, y), inside ? art.At(x, y) : kGrey) << x << "," << y;
            }
        }
    }
}

// Two pictures overlapping on a 20 x 10 window: a red one below, a blue one above.
class TwoPictures : public testing::Test {
protected:
    TwoPictures() {
        form.SetWindowColour(kGrey);
        host.painted.clear();
    }

    skin::Form form{skin::FormDescription{"Test", 28, 37, 20, 10}};
    skin::Image below{form, Component("below", 2, 2, 8, 6),
                      skin::Picture(skin::RgbPixels(8, 6, kRed))};
    skin::Image above{form, Component("above", 6, 4, 8, 6),
                      skin::Picture(skin::RgbPixels(8, 6, kBlue))};
    HostRecorder host{form};
};

TEST_F(TwoPictures, LaterComponentsLieAboveAndHidingUncoversWhatIsBeneath) {
    EXPECT_EQ(test_image::ClientPicture(form).At(1, 1), kGrey);
    EXPECT_EQ(test_image::ClientPicture(form).At(3, 3), kRed);
    EXPECT_EQ(test_image::ClientPicture(form).At(7, 5), kBlue);
    EXPECT_EQ(test_image::ClientPicture(form).At(13, 9), kBlue);
    above.Hide();
    EXPECT_EQ(host.painted, (std::vector<Rect>{{6, 4, 14, 10}}));
    EXPECT_EQ(test_image::ClientPicture(form).At(7, 5), kRed);
    EXPECT_EQ(test_image::ClientPicture(form).At(13, 9), kGrey);
    below.Hide();
    EXPECT_EQ(test_image::ClientPicture(form), skin::RgbPixels(20, 10, kGrey));
}

TEST_F(TwoPictures, DrawingBelowIsRepaintedUnderWhatLiesAbove) {
    below.FillRect({0, 0, 8, 6}, Rgb(0, 255, 0));
    EXPECT_EQ(host.painted, (std::vector<Rect>{{2, 2, 10, 8}}));
    EXPECT_EQ(test_image::ClientPicture(form).At(3, 3), Rgb(0, 255, 0));
    EXPECT_EQ(test_image::ClientPicture(form).At(7, 5), kBlue);

    // Drawing on a hidden picture changes it without repainting; showing it shows the drawing.
    host.painted.clear();
    above.Hide();
    host.painted.clear();
    above.FillRect({0, 0, 2, 2}, kRed);
    EXPECT_TRUE(host.painted.empty());
    above.Show();
    EXPECT_EQ(test_image::ClientPicture(form).At(6, 4), kRed);
}

TEST_F(TwoPictures, HidingTheComponentThatHoldsTheMouseKeepsTheHoldUntilItsRelease) {
    using skin::EventKind;
    using skin::MouseButton;
    std::vector<std::pair<std::string_view, EventKind>> seen;
    const test_routing::EventRecorder recorder(form, [&](const test_routing::RoutedEvent& e) {
        seen.push_back({e.target->Name(), e.kind});
    });
    form.MouseDown(MouseButton::Left, {7, 5}, false);
    above.Hide();
    EXPECT_EQ(form.Captured(), &above);
    // Over `below` now, yet neither another button nor the release reaches it.
    form.MouseDown(MouseButton::Right, {7, 5}, false);
    form.MouseUp(MouseButton::Right, {7, 5});
    form.MouseUp(MouseButton::Left, {7, 5});
    EXPECT_EQ(form.Captured(), nullptr);
    EXPECT_EQ(seen, (decltype(seen){{"above", EventKind::MouseDown}}));

    // Shown again before the release, it gets the release but no click; untouched, a click.
    seen.clear();
    above.Show();
    form.MouseDown(MouseButton::Left, {7, 5}, false);
    above.Hide();
    above.Show();
    form.MouseUp(MouseButton::Left, {7, 5});
    form.MouseDown(MouseButton::Left, {7, 5}, false);
    form.MouseUp(MouseButton::Left, {7, 5});
    EXPECT_EQ(seen, (decltype(seen){{"above", EventKind::MouseDown},
                                    {"above", EventKind::MouseUp},
                                    {"above", EventKind::MouseDown},
                                    {"above", EventKind::Click},
                                    {"above", EventKind::MouseUp}}));
}

TEST_F(TwoPictures, PlacementAndClosingGoThroughTheHost) {
    form.SetLeft(40);
    form.SetTop(-10);
    form.Close();
    EXPECT_EQ(host.moves, (std::vector<Point>{{40, 0}, {40, -10}}));
    EXPECT_EQ(host.closes, 1);
    form.WindowMoved({5, 6});
    EXPECT_EQ(form.Left(), 5);
    EXPECT_EQ(form.Top(), 6);
    EXPECT_EQ(host.moves.size(), 2u);
}

TEST(UndecodablePicture, PaintsNothingAndIsTriedOnce) {
    static const std::uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0x00, 0x12};
    skin::Form form{skin::FormDescription{"Test", 0, 0, 10, 10}};
    skin::Image below{form, Component("below", 0, 0, 10, 10),
                      skin::Picture(skin::RgbPixels(10, 10, kRed))};
    skin::Image broken{form, Component("broken", 2, 2, 4, 4),
                       skin::Picture(skin::PictureFormat::Jpeg, garbage)};
    EXPECT_FALSE(broken.GetPicture().Decoded());
    test_image::ClientPicture(form);
    // Tried at its first painting and given up for good: nothing is left to decode.
    EXPECT_TRUE(broken.GetPicture().Decoded());
    broken.Hide();
    broken.Show();
    const skin::RgbPixels shown = test_image::ClientPicture(form);
    EXPECT_EQ(shown, skin::RgbPixels(10, 10, kRed));
}

} // namespace
