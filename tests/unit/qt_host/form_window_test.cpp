// The window as the toolkit shows it: frame, caption, icon, pixels, input, cursors and hint.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/qt/form_window.h"
#include "hosts/qt/qt_host.h"
#include "qt_host_test_app.h"
#include "tests/support/image/client_picture.h"
#include "tests/support/routing/event_recorder.h"
#include "ui/skin/embedded_skin.h"
#include "ui/tform1.h"

namespace {

// Counts how many pixels of `shown` differ from the form's composition.
int DifferingPixels(const QImage& shown, const skin::RgbPixels& composed) {
    const QImage image = shown.convertToFormat(QImage::Format_RGB32);
    if (image.width() != composed.Width() || image.height() != composed.Height()) {
        return -1;
    }
    int differing = 0;
    for (int y = 0; y < composed.Height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < composed.Width(); ++x) {
            differing += (row[x] | 0xFF000000u) != composed.At(x, y);
        }
    }
    return differing;
}

// What the window shows: its backing store's picture, in screen pixels.
QImage Shown(qt_host::FormWindow& window) {
    return window.screen()->grabWindow(window.winId()).toImage();
}

// Whether the window comes to show exactly the form's composition (it paints on its next
// frame, not at once).
bool ShowsTheComposition(qt_host::FormWindow& window) {
    return QTest::qWaitFor([&] {
        return DifferingPixels(Shown(window), test_image::ClientPicture(window.Form())) == 0;
    });
}

class FormWindow : public testing::Test {
protected:
    void ShowAndWait() {
        window.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        QGuiApplication::processEvents();
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), host.mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&host, &event);
    }

    TForm1 form;
    qt_host::Window window{form};
    qt_host::FormWindow& host = window.Host();
    test_routing::EventRecorder recorder{form};
};

// The caption, the frame's buttons and real mouse input are window_e2e_test's, on a real display
// under a real window manager.
TEST_F(FormWindow, IconClientAreaAndWindowColour) {
    ShowAndWait();
    ASSERT_FALSE(host.icon().isNull());
    const QImage icon = host.icon().pixmap(32, 32).toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the icon's corner lies outside the dial";
    EXPECT_EQ(host.size(), QSize(423, 328));
    // Resizable: no fixed size.
    EXPECT_EQ(host.minimumSize(), QSize(0, 0));
    EXPECT_GT(host.maximumWidth(), 1000);
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    EXPECT_EQ(form.WindowColour(), skin::Rgb(face.red(), face.green(), face.blue()));
}

// Opening centred is Form1Placement's and window_e2e_test's.
TEST_F(FormWindow, KeepsItsPlaceWhenShownAgain) {
    ShowAndWait();
    host.setFramePosition({10, 20});
    host.hide();
    window.Show();
    QGuiApplication::processEvents();
    EXPECT_EQ(host.framePosition(), QPoint(10, 20));
    EXPECT_EQ(form.Left(), 10);
    EXPECT_EQ(form.Top(), 20);
    form.SetLeft(30);
    EXPECT_EQ(host.framePosition(), QPoint(30, 20));
}

TEST(FormWindowPaint, RepaintsOnlyWhatChanged) {
    TForm1 form;
    qt_host::FormWindow window(form);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(ShowsTheComposition(window));
    // A change the window is not told of (D4 lit) stays off the screen for as long as the window
    // paints only what it is told changed. The window is the form's host through a private base.
    form.AttachHost(nullptr);
    form.D4.Hide();
    form.LD4.Show();
    form.AttachHost((skin::WindowHost*)&window);
    // Each change is on screen at the next turn of the event loop, without waiting on a timer (a
    // reading is painted in the same wake-up of the UI thread that brought it), and nothing
    // beside it is painted again.
    const auto expectPaintedOnly = [&](const QRect& changed, auto change) {
        const QImage before = Shown(window);
        change();
        QCoreApplication::processEvents();
        const QImage after = Shown(window);
        const skin::RgbPixels composed = test_image::ClientPicture(form);
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                const QRgb expected =
                    changed.contains(x, y) ? composed.At(x, y) : before.pixel(x, y) | 0xFF000000u;
                ASSERT_EQ(after.pixel(x, y) | 0xFF000000u, expected) << "at " << x << "," << y;
            }
        }
    };
    const QRect e6(24, 48, 59, 60);
    expectPaintedOnly(e6, [&] {
        form.E6.Hide();
        form.LE6.Show();
    });
    expectPaintedOnly(e6, [&] {
        form.LE6.Hide();
        form.E6.Show();
    });
    expectPaintedOnly(QRect(145, 225, 4, 6), [&] {
        form.Shape1.FillRect({40, 163, 44, 169}, skin::Rgb(64, 255, 64));
    });
    EXPECT_NE(DifferingPixels(Shown(window), test_image::ClientPicture(form)), 0)
        << "the change the window was not told of was painted";
}

// How many of the whole pages within `bytes` are mapped in this process (from its page map).
int MappedPages(std::span<const std::uint8_t> bytes) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto at = reinterpret_cast<std::uintptr_t>(bytes.data());
    const int map = open("/proc/self/pagemap", O_RDONLY);
    int mapped = 0;
    for (std::uintptr_t p = (at + page - 1) / page; (p + 1) * page <= at + bytes.size(); ++p) {
        std::uint64_t entry = 0;
        if (pread(map, &entry, sizeof entry, static_cast<off_t>(p * sizeof entry)) ==
            sizeof entry) {
            mapped += (entry >> 63) != 0 ? 1 : 0;
        }
    }
    close(map);
    return mapped;
}

TEST_F(FormWindow, PicturesDecodedAfterTheWindowIsMadeLetTheirFilesPagesGo) {
    // The note frames wait for the first one drawn, long after the window is made.
    const auto strip = skin::EmbeddedBytes("Liste");
    form.Liste.Draw(form.Shape1, 16, 23, 9);
    ASSERT_TRUE(form.Liste.Decoded());
    EXPECT_EQ(MappedPages(strip), 0);
    volatile std::uint8_t read = strip[strip.size() / 2];
    (void)read;
    EXPECT_GT(MappedPages(strip), 0) << "the page map does not show what is read";
}

TEST_F(FormWindow, EnlargingShowsWindowColourBesideTheSkin) {
    ShowAndWait();
    host.resize(600, 450);
    QGuiApplication::processEvents();
    EXPECT_EQ(form.ClientSize(), (skin::Size{600, 450}));
    EXPECT_TRUE(ShowsTheComposition(host));
    const QImage shown = Shown(host);
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    EXPECT_EQ(QColor(shown.pixel(550, 100)), face);
    EXPECT_EQ(QColor(shown.pixel(100, 400)), face);
}

TEST_F(FormWindow, ForwardsTheWindowsKeysAndLeavesTheRest) {
    ShowAndWait();
    const auto key = [this](int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                            bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, code, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(&host, &event);
    };
    key(Qt::Key_3);                       // G3
    key(Qt::Key_3, Qt::ControlModifier);  // the desktop's
    key(Qt::Key_3, Qt::NoModifier, true); // a held digit does not toggle
    EXPECT_EQ(form.SelectedString(), 3);
    key(Qt::Key_Escape); // lets go of G3
    EXPECT_EQ(form.SelectedString(), -1);
    key(Qt::Key_Tab, Qt::ShiftModifier); // focus back from G3 to D4, then on to G3
    key(Qt::Key_Tab, Qt::NoModifier, true);
    key(Qt::Key_Return);
    EXPECT_EQ(form.SelectedString(), 3);
    EXPECT_EQ(form.Access().Focus(), 3);
    EXPECT_FALSE(form.FocusRing().Empty());
}

TEST_F(FormWindow, CursorFollowsTheComponentUnderThePointer) {
    ShowAndWait();
    Send(QEvent::MouseButtonPress, {50, 80}, Qt::BackButton, Qt::BackButton);
    EXPECT_TRUE(recorder.Events().empty()) << "a button the skin does not know was forwarded";
    const auto moveTo = [&](QPoint at, Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseMove, at, Qt::NoButton, held);
        return host.cursor().shape();
    };
    EXPECT_EQ(moveTo({50, 80}), Qt::PointingHandCursor);
    EXPECT_EQ(moveTo({335, 30}), Qt::WhatsThisCursor);
    EXPECT_EQ(moveTo({10, 10}), Qt::ArrowCursor);
    // While Fond holds the mouse, passing over a button changes nothing.
    Send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(moveTo({50, 80}, Qt::LeftButton), Qt::ArrowCursor);
    Send(QEvent::MouseButtonRelease, {50, 80}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(host.cursor().shape(), Qt::PointingHandCursor);
}

// The text of the hint on screen now; empty for none.
QString ShownHint() {
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST_F(FormWindow, HelpButtonShowsItsHintOnceThePointerRestsThereAndOnlyThen) {
    ShowAndWait();
    const auto moveTo = [&](QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); };
    const auto hintShows = [] { return QTest::qWaitFor([] { return !ShownHint().isEmpty(); }); };
    // The toolkit fades a tooltip out: gone within a moment.
    const auto hintGoes = [] {
        return QTest::qWaitFor([] { return ShownHint().isEmpty(); }, 1000);
    };
    moveTo({200, 300});
    QTest::qWait(1200);
    EXPECT_EQ(ShownHint(), "") << "a hint over the body";
    moveTo({335, 30});
    EXPECT_EQ(ShownHint(), "") << "a hint before the pointer rested";
    ASSERT_TRUE(hintShows());
    EXPECT_EQ(ShownHint(), QString::fromUtf8("Accés à l'aide"));
    // It stays while the pointer is on the button, and goes as soon as it leaves.
    moveTo({337, 33});
    QTest::qWait(500);
    EXPECT_NE(ShownHint(), "") << "the hint went while the pointer stayed on the button";
    moveTo({200, 300});
    EXPECT_TRUE(hintGoes()) << "the hint stays after the pointer left the button";
    // A press hides it.
    moveTo({335, 30});
    ASSERT_TRUE(hintShows());
    Send(QEvent::MouseButtonPress, {335, 30}, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(hintGoes()) << "the hint stays on a press";
    Send(QEvent::MouseButtonRelease, {335, 30}, Qt::RightButton, Qt::NoButton);
}

// Runs the application's loop; true when it ended by itself with code 0 within 10 s.
bool LoopEndsByItself() {
    bool gaveUp = false;
    QTimer::singleShot(10000, [&] {
        gaveUp = true;
        QCoreApplication::quit();
    });
    return TestApplication().Run() == 0 && !gaveUp;
}

TEST_F(FormWindow, AClosingAskedForBeforeTheLoopRunsEndsTheLoopWhenItStarts) {
    ShowAndWait();
    ASSERT_TRUE(window.Visible());
    form.Close();
    // Not at once: the handler that asked finishes first.
    EXPECT_TRUE(window.Visible());
    EXPECT_TRUE(LoopEndsByItself());
    EXPECT_FALSE(window.Visible());
}

TEST_F(FormWindow, ANeverShownWindowClosedBeforeTheLoopStillEndsIt) {
    form.Close();
    EXPECT_TRUE(LoopEndsByItself());
}

} // namespace
