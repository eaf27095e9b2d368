// Mouse routing on the main window: which component and which handler each press, release
// and click reaches, with what coordinates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/win32/dpi_scale.h"
#include "tests/support/routing/event_recorder.h"
#include "ui/tform1.h"

namespace {

using skin::MouseButton;
using skin::Point;

class Form1Routing : public testing::Test {
protected:
    Form1Routing() = default;

    void Click(Point at, bool doubleClick = false) {
        form.MouseDown(MouseButton::Left, at, doubleClick);
        form.MouseUp(MouseButton::Left, at);
    }
    // The component and handler of each event that reached one, "A5:IE6NClick".
    std::vector<std::string> Handlers() const {
        std::vector<std::string> names;
        for (const std::string& s : seen) {
            if (!s.ends_with(' ')) {
                names.push_back(Target(s) + ":" + s.substr(s.rfind(' ') + 1));
            }
        }
        return names;
    }
    static std::string Target(const std::string& event) { return event.substr(0, event.find(' ')); }

    TForm1 form;
    std::vector<std::string> seen; // each event once its position is known
    test_routing::EventRecorder recorder{
        form, [this](const test_routing::RoutedEvent& e) { seen.push_back(ToString(e)); }};
};

constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;

TEST_F(Form1Routing, LeftPressOnFondReleasedOverThePanelStillReachesFond) {
    form.MouseDown(L, {10, 10}, false);
    form.MouseUp(L, {150, 100}); // over Shape1
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Fond down left 7,10 FondMouseDown",
                        "Fond click left 147,100 ",
                        "Fond up left 147,100 FondMouseUp",
                    }));
}

TEST_F(Form1Routing, PressesOnPicturesWithoutHandlersReachNoHandler) {
    Click({150, 100}); // Shape1
    Click({75, 30});   // the lamp
    Click({300, 260}); // the logo
    EXPECT_TRUE(Handlers().empty());
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(Target(seen[0]), "Shape1");
    EXPECT_EQ(Target(seen[3]), "Off");
    EXPECT_EQ(Target(seen[6]), "Image3");
}

TEST_F(Form1Routing, ClicksReachTheTopmostShownButtonAndNeverAHiddenOne) {
    Click({50, 130}); // A5; its hidden twin LA5 lies above it
    Click({30, 49});  // the row LE6 would cover but E6 does not: Fond
    Click({340, 30}); // help
    form.A5.Hide();
    form.LA5.Show();
    Click({50, 130});
    EXPECT_EQ(Handlers(),
              (std::vector<std::string>{"A5:IE6NClick", "Fond:FondMouseDown", "Fond:FondMouseUp",
                                        "Image2:Image2Click", "LA5:IE1OClick"}));
}

TEST_F(Form1Routing, AClickNeedsTheReleaseInsideThePressedButton) {
    form.MouseDown(L, {50, 130}, false); // A5
    form.MouseUp(L, {50, 200});          // over D4
    form.MouseDown(L, {50, 130}, false);
    form.MouseUp(L, {82, 177}); // A5's last pixel
    EXPECT_EQ(Handlers(), (std::vector<std::string>{"A5:IE6NClick"}));
    EXPECT_EQ(seen[1], "A5 up left 26,80 ");
}

// A double-click's second press is no click on a button (tuner_e2e_test: D4 stays lit;
// window_e2e_test counts E6's and LE6's clicks); on Fond its press and release still run.
TEST_F(Form1Routing, TheSecondPressOfADoubleClickOnFondStillDrags) {
    Click({10, 10}, /*doubleClick=*/true);
    EXPECT_EQ(Handlers(), (std::vector<std::string>{"Fond:FondMouseDown", "Fond:FondMouseUp"}));
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Form1Routing, RightAndMiddleReleasesGoToWhateverIsUnderThePointer) {
    form.MouseDown(R, {10, 10}, false);
    form.MouseUp(R, {150, 100}); // over Shape1: Fond hears nothing of it
    form.MouseDown(M, {50, 80}, false);
    form.MouseUp(M, {20, 300}); // over Fond
    form.MouseDown(R, {20, 300}, false);
    form.MouseUp(R, {-5, 40}); // outside the window: nobody
    form.MouseDown(R, {50, 80}, false);
    form.MouseUp(R, {50, 80}); // no click with the right button
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Fond down right 7,10 FondMouseDown",
                        "Shape1 up right 45,38 ",
                        "E6 down middle 26,30 ",
                        "Fond up middle 17,300 FondMouseUp",
                        "Fond down right 17,300 FondMouseDown",
                        "E6 down right 26,30 ",
                        "E6 up right 26,30 ",
                    }));
}

TEST_F(Form1Routing, WhileTheLeftButtonHoldsAComponentItGetsTheOtherButtonsToo) {
    form.MouseDown(L, {10, 10}, false);
    form.MouseDown(R, {50, 80}, false);
    form.MouseUp(R, {50, 80});
    form.MouseUp(L, {150, 100});
    ASSERT_EQ(seen.size(), 5u);
    for (const std::string& s : seen) {
        EXPECT_EQ(Target(s), "Fond") << s;
    }
    EXPECT_EQ(form.Captured(), nullptr);
}

TEST_F(Form1Routing, PressesOutsideTheClientAreaOrOnBareWindowReachNothing) {
    Click({1, 100});   // window colour left of Fond
    Click({422, 100}); // right of Fond
    Click({100, 327}); // below Fond
    Click({500, 100}); // outside the window
    form.SetClientSize({200, 200});
    Click({300, 100}); // Fond reaches there, but the window no longer does
    EXPECT_TRUE(seen.empty());
}

TEST_F(Form1Routing, ALeftPressOnBareWindowHoldsTheMouseUntilItsRelease) {
    // Pressed beside Fond and released over it: neither the release nor a press of another
    // button meanwhile reaches Fond, so no stale drag origin can move the window.
    form.MouseDown(L, {1, 50}, false);
    form.MouseDown(MouseButton::Right, {150, 50}, false);
    form.MouseUp(MouseButton::Right, {150, 50});
    form.MouseUp(L, {150, 50});
    EXPECT_TRUE(seen.empty());
    // Afterwards the window routes as usual again.
    Click({150, 50});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "Fond down left 147,50 FondMouseDown");
    EXPECT_EQ(seen.back(), "Fond up left 147,50 FondMouseUp");
}

TEST_F(Form1Routing, AHoldTheWindowLostEndsWithoutAClick) {
    // Another window took the mouse mid-press, so no release will come for that press: the
    // next click must reach what lies under it, not the component pressed before.
    form.MouseDown(L, {10, 10}, false); // Fond
    form.CancelMouseHold();
    EXPECT_EQ(form.Captured(), nullptr);
    Click({50, 130}); // A5
    // Pressed on LA5, now in A5's place, lost, then released over Shape1 and outside the
    // window: unheld releases, no click for LA5.
    form.MouseDown(L, {50, 130}, false);
    form.CancelMouseHold();
    form.MouseUp(L, {150, 100});
    form.MouseUp(L, {-5, 40});
    // A press on bare window colour, lost: the window routes again.
    form.MouseDown(L, {1, 50}, false);
    form.CancelMouseHold();
    Click({50, 130});
    EXPECT_EQ(Handlers(),
              (std::vector<std::string>{"Fond:FondMouseDown", "A5:IE6NClick", "LA5:IE1OClick"}));
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[4], "LA5 down left 26,10 ");
    EXPECT_EQ(seen[5], "Shape1 up left 45,38 ");
}

TEST_F(Form1Routing, CursorsAndHintFollowTheTopmostShownComponent) {
    // Each kind of cursor over its component is
    // FormWindow.CursorFollowsTheComponentUnderThePointer's.
    EXPECT_EQ(form.CursorAt({30, 49}), skin::Cursor::Default); // LE6's place, hidden
    form.LE6.Show();
    EXPECT_EQ(form.CursorAt({30, 49}), skin::Cursor::HandPoint);
    skin::Rect area;
    EXPECT_EQ(form.HintAt({335, 30}, &area), "Acc\xC3\xA9s \xC3\xA0 l'aide");
    EXPECT_EQ(area, form.Image2.BoundsRect());
    EXPECT_EQ(form.HintAt({50, 80}), "");
    EXPECT_EQ(form.HintAt({329, 30}), "");
}

// On a dense screen a click lands on the component it lands on at 1x, on every button's edge
// too: each screen pixel of a skin pixel's block maps back to that skin pixel, whichever art is
// shown (the screen-to-skin mapping the Windows host uses; the Qt host gets skin pixels from Qt).
TEST(Form1DenseClicks, EachButtonsEdgesRouteAsAt1x) {
    struct Edge {
        const char* component;
        bool lit; // the string picked first, so that its lit twin is shown
    };
    const Edge buttons[] = {{"E6", false},    {"A5", false}, {"D4", false}, {"G3", false},
                            {"B2", false},    {"E1", false}, {"LE6", true}, {"LA5", true},
                            {"LD4", true},    {"LG3", true}, {"LB2", true}, {"LE1", true},
                            {"Image2", false}};
    const auto target = [](const TForm1& form, Point at) {
        const skin::Image* image = form.ImageAt(at);
        return image != nullptr ? std::string(image->Name()) : std::string("(none)");
    };
    for (const Edge& button : buttons) {
        TForm1 form;
        if (button.lit) {
            form.Click(*form.FindImage(std::string(button.component).substr(1)));
        }
        const skin::Rect r = form.FindImage(button.component)->BoundsRect();
        const int midX = (r.left + r.right) / 2;
        const int midY = (r.top + r.bottom) / 2;
        // Each edge's last pixel inside and first outside.
        const Point edges[] = {{r.left, midY},       {r.left - 1, midY}, {r.right - 1, midY},
                               {r.right, midY},      {midX, r.top},      {midX, r.top - 1},
                               {midX, r.bottom - 1}, {midX, r.bottom}};
        for (const int dpi : {192, 144}) {
            const win32_host::DpiScale scale(dpi);
            form.SetArtScale(skin::ArtScaleFor(dpi / 96.0));
            for (const Point at : edges) {
                const std::string expected = target(form, at);
                for (int py = scale.Device(at.y); py < scale.Device(at.y + 1); ++py) {
                    for (int px = scale.Device(at.x); px < scale.Device(at.x + 1); ++px) {
                        const Point mapped{scale.Skin(px), scale.Skin(py)};
                        ASSERT_EQ(target(form, mapped), expected)
                            << button.component << " at " << at.x << "," << at.y << ", " << dpi
                            << " dpi, screen pixel " << px << "," << py;
                        ASSERT_EQ(form.CursorAt(mapped), form.CursorAt(at));
                    }
                }
            }
        }
        EXPECT_EQ(form.ArtScale(), 2);
    }
}

} // namespace
