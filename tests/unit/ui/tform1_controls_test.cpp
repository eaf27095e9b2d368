// What the player does with the main window, through the real mouse routing: picking strings,
// moving the window by its body, and opening the help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/desktop_services.h"
#include "tests/unit/ui/host_recorder.h"
#include "ui/tform1.h"

namespace {

using skin::MouseButton;
using skin::Point;

constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;

class Form1Controls : public testing::Test {
protected:
    // The middle of a component, in client coordinates.
    static Point Centre(const skin::Image& image) {
        const skin::Rect r = image.BoundsRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(const skin::Image& image, bool secondOfDouble = false) {
        const Point at = Centre(image);
        form.MouseDown(L, at, secondOfDouble);
        form.MouseUp(L, at);
    }
    // Which string buttons show lit, by name.
    std::string Lit() const {
        std::string lit;
        for (const skin::Image* twin :
             {&form.LE6, &form.LA5, &form.LD4, &form.LG3, &form.LB2, &form.LE1}) {
            if (twin->Visible()) {
                lit += std::string(twin->Name()) + " ";
            }
        }
        return lit;
    }
    bool AllUnlitShownExcept(const skin::Image* hidden) const {
        for (const skin::Image* button :
             {&form.E6, &form.A5, &form.D4, &form.G3, &form.B2, &form.E1}) {
            if (button->Visible() == (button == hidden)) {
                return false;
            }
        }
        return true;
    }

    TForm1 form;
    HostRecorder host{form};
};

TEST_F(Form1Controls, EachStringButtonSelectsItsString) {
    const skin::Image* buttons[] = {&form.E6, &form.A5, &form.D4, &form.G3, &form.B2, &form.E1};
    const char* twins[] = {"LE6 ", "LA5 ", "LD4 ", "LG3 ", "LB2 ", "LE1 "};
    for (int string = 0; string < 6; ++string) {
        SCOPED_TRACE(twins[string]);
        Click(*buttons[string]);
        EXPECT_EQ(form.SelectedString(), string);
        EXPECT_EQ(Lit(), twins[string]);
        EXPECT_TRUE(AllUnlitShownExcept(buttons[string]));
    }
}

TEST_F(Form1Controls, ClickingAnotherStringMovesTheSelection) {
    Click(form.E6);
    Click(form.A5);
    EXPECT_TRUE(form.E6.Visible());
    EXPECT_FALSE(form.LE6.Visible());
    EXPECT_FALSE(form.A5.Visible());
    EXPECT_TRUE(form.LA5.Visible());
    EXPECT_EQ(form.SelectedString(), 1);
}

TEST_F(Form1Controls, ClickingTheLitTwinClearsTheSelection) {
    Click(form.G3);
    ASSERT_EQ(Lit(), "LG3 ");
    // LG3 lies 3 pixels left of G3; the click lands on the twin, which is on top.
    Click(form.LG3);
    EXPECT_EQ(Lit(), "");
    EXPECT_TRUE(AllUnlitShownExcept(nullptr));
    EXPECT_EQ(form.SelectedString(), -1);
}

TEST_F(Form1Controls, ADoubleClickSelectsOnceAndTwoClicksSelectThenClear) {
    Click(form.D4);
    Click(form.LD4, /*secondOfDouble=*/true);
    EXPECT_EQ(Lit(), "LD4 ");
    EXPECT_EQ(form.SelectedString(), 2);

    Click(form.LD4);
    EXPECT_EQ(Lit(), "");
    EXPECT_EQ(form.SelectedString(), -1);
}

TEST_F(Form1Controls, ReleasingOnTheBodyMovesTheWindowOnceByTheDragOffset) {
    form.WindowMoved({200, 100});
    // Fond lies 3 pixels right of the client's edge: (100, 50) on Fond is (103, 50).
    form.MouseDown(L, {103, 50}, false);
    EXPECT_TRUE(host.moves.empty());
    form.MouseUp(L, {133, 40});
    EXPECT_EQ(form.Left(), 230);
    EXPECT_EQ(form.Top(), 90);
    ASSERT_FALSE(host.moves.empty());
    EXPECT_EQ(host.moves.back(), (Point{230, 90}));

    host.moves.clear();
    form.MouseDown(L, {150, 300}, false);
    form.MouseUp(L, {150, 300});
    EXPECT_TRUE(host.moves.empty());
    EXPECT_EQ(form.Left(), 230);
    EXPECT_EQ(form.Top(), 90);
}

TEST_F(Form1Controls, OnlyTheAxisThatChangedMoves) {
    form.WindowMoved({10, 20});
    form.MouseDown(L, {103, 50}, false);
    form.MouseUp(L, {103, 45});
    EXPECT_EQ(host.moves, (std::vector<Point>{{10, 15}}));
    // A release left of the window still reaches Fond and moves it, also past the screen's edge.
    host.moves.clear();
    form.MouseDown(L, {103, 50}, false);
    form.MouseUp(L, {-100, 50});
    EXPECT_EQ(host.moves, (std::vector<Point>{{-193, 15}}));
}

TEST_F(Form1Controls, AnyButtonDragsButOnlyAReleaseOnTheBodyMoves) {
    form.WindowMoved({300, 300});
    form.MouseDown(R, {103, 50}, false);
    form.MouseUp(R, {93, 70});
    ASSERT_FALSE(host.moves.empty());
    EXPECT_EQ(host.moves.back(), (Point{290, 320}));
    // A right press captures nothing: released over the panel, no one on Fond hears it.
    host.moves.clear();
    form.MouseDown(R, {103, 50}, false);
    form.MouseUp(R, {200, 150});
    EXPECT_TRUE(host.moves.empty());
}

// Where windows cannot place themselves the platform moves the window from any press on the
// body; nothing else hands it the pointer, or string clicks would turn into moves there.
TEST_F(Form1Controls, EveryPressOnTheBodyOffersThePlatformTheMove) {
    host.movesByPointer = true;
    form.WindowMoved({300, 300});
    form.MouseDown(L, {103, 50}, false);
    EXPECT_EQ(host.interactiveMoves, 1);
    // The window followed the pointer: the release is where the press was.
    form.MouseUp(L, {103, 50});
    EXPECT_TRUE(host.moves.empty());

    // Whatever the release says, the platform moved the window: the form does not again.
    form.MouseDown(R, {103, 50}, false);
    form.MouseUp(R, {93, 70});
    form.MouseDown(M, {103, 50}, false);
    form.MouseUp(M, {133, 40});
    EXPECT_EQ(host.interactiveMoves, 3);
    EXPECT_TRUE(host.moves.empty());
    EXPECT_EQ(form.Left(), 300);
    EXPECT_EQ(form.Top(), 300);

    Click(form.A5);
    Click(form.Image3); // the logo: no handler at all
    EXPECT_EQ(host.interactiveMoves, 3);
    EXPECT_EQ(Lit(), "LA5 ");
}

TEST_F(Form1Controls, TheHelpButtonOpensTheGuideFromTheCurrentDirectory) {
    std::vector<std::string> opened;
    auto previous = desktop::SetDocumentOpener([&](const std::string& path) {
        opened.push_back(path);
        return false; // a failed launch is not reported
    });
    Click(form.Image2);
    // Clicks elsewhere open nothing.
    Click(form.E6);
    Click(form.Image3);
    desktop::SetDocumentOpener(previous);
    EXPECT_EQ(opened, (std::vector<std::string>{"help/guide.htm"}));
    // A failed launch is silent: the window stays.
    EXPECT_EQ(host.closes, 0);
}

} // namespace
