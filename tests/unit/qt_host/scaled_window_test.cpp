// On a scaled screen the window shows the art drawn for it. At 200 % every screen pixel is one
// pixel of the 2x composition; at other scales from 150 % up the 2x composition is scaled
// smoothly; below 150 % every skin pixel of the 1x art becomes a block of whole screen pixels of
// its own colour: nothing blurred, nothing cut off.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "hosts/qt/form_window.h"
#include "hosts/qt/qt_host.h"
#include "qt_host_test_app.h"
#include "tests/support/image/client_picture.h"
#include "ui/tform1.h"

namespace {

// Each screen pixel is a skin pixel's colour, or at an uneven scale a neighbour's (a block
// boundary rounded either way): a blend of two colours would be a colour of neither.
int UnexplainedBlockPixels(const QImage& shown, const skin::RgbPixels& skin, double scale) {
    int unexplained = 0;
    for (int py = 0; py < shown.height(); ++py) {
        const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(py));
        const int y = std::min(skin.Height() - 1, static_cast<int>(py / scale));
        for (int px = 0; px < shown.width(); ++px) {
            const int x = std::min(skin.Width() - 1, static_cast<int>(px / scale));
            const skin::Pixel got = row[px] | 0xFF000000u;
            bool neighbour = false;
            for (int dy = -1; dy <= 1 && !neighbour; ++dy) {
                for (int dx = -1; dx <= 1 && !neighbour; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    neighbour = nx >= 0 && ny >= 0 && nx < skin.Width() && ny < skin.Height() &&
                                skin.At(nx, ny) == got;
                }
            }
            unexplained += !neighbour;
        }
    }
    return unexplained;
}

int OutsideTheirSources(const QImage& shown, const skin::RgbPixels& source, double scale) {
    const auto range = [&](int centre, int size) {
        return std::pair{std::max(0, centre - 1), std::min(size - 1, centre + 2)};
    };
    int outside = 0;
    for (int py = 0; py < shown.height(); ++py) {
        const auto [y0, y1] =
            range(static_cast<int>(std::floor((py + 0.5) / scale - 0.5)), source.Height());
        for (int px = 0; px < shown.width(); ++px) {
            const auto [x0, x1] =
                range(static_cast<int>(std::floor((px + 0.5) / scale - 0.5)), source.Width());
            const QRgb got = shown.pixel(px, py);
            for (int c = 0; c < 3; ++c) {
                // Red, green, blue: the pixel's bits 16, 8 and 0 up.
                const auto channel = [c](skin::Pixel p) {
                    return static_cast<int>((p >> (16 - 8 * c)) & 0xFFu);
                };
                int lo = 255;
                int hi = 0;
                for (int y = y0; y <= y1; ++y) {
                    for (int x = x0; x <= x1; ++x) {
                        lo = std::min(lo, channel(source.At(x, y)));
                        hi = std::max(hi, channel(source.At(x, y)));
                    }
                }
                const int value = channel(got | 0xFF000000u);
                if (value < lo - 2 || value > hi + 2) {
                    ++outside;
                    break;
                }
            }
        }
    }
    return outside;
}

TEST(ScaledWindow, ShowsTheArtDrawnForTheScreen) {
    const double scale = std::atof(std::getenv("VIBRALON_TEST_SCALE"));
    const int art = scale >= 1.5 ? 2 : 1;
    // Made as the program makes it: with the art of the screen it opens on, decoded at once.
    TForm1 form(TestApplication().ArtScale());
    EXPECT_EQ(form.Fond.PictureScale(), art);
    form.Liste.Draw(form.Shape1, 16, 23, 10);
    qt_host::Window window(form);
    window.Show();
    qt_host::FormWindow& host = window.Host();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_DOUBLE_EQ(host.devicePixelRatio(), scale);
    // The skin keeps its own size in logical pixels.
    EXPECT_EQ(host.size(), QSize(423, 328));
    EXPECT_EQ(form.ArtScale(), art);

    // The window painted into a picture of its screen pixels, as into its backing store (the
    // offscreen screen's grab gives back only the logical size of a scaled window).
    const QSize physical(static_cast<int>(std::ceil(host.width() * scale)),
                         static_cast<int>(std::ceil(host.height() * scale)));
    QImage shown(physical, QImage::Format_RGB32);
    shown.setDevicePixelRatio(host.devicePixelRatio());
    {
        QPainter painter(&shown);
        host.Render(painter, QRect(0, 0, host.width(), host.height()));
    }
    // The composition at the art's scale, with the note drawn again on the new art.
    const skin::RgbPixels composed = test_image::ClientPicture(form);
    ASSERT_EQ(composed.Width(), 423 * art);
    ASSERT_EQ(shown.width(), static_cast<int>(std::ceil(423 * scale)));
    ASSERT_EQ(shown.height(), static_cast<int>(std::ceil(328 * scale)));
    if (scale == art) {
        for (int y = 0; y < composed.Height(); ++y) {
            for (int x = 0; x < composed.Width(); ++x) {
                ASSERT_EQ(shown.pixel(x, y) | 0xFF000000u, composed.At(x, y)) << x << "," << y;
            }
        }
    } else if (art == 1) {
        EXPECT_EQ(UnexplainedBlockPixels(shown, composed, scale), 0);
    } else {
        // Smooth: each screen pixel a blend of the composed pixels around where it comes from
        // (within their range, channel by channel), and blended indeed: a nearest-neighbour
        // scaling would repeat the composition's own colours only.
        EXPECT_EQ(OutsideTheirSources(shown, composed, scale / art), 0);
        EXPECT_GT(UnexplainedBlockPixels(shown, composed, scale / art), 1000);
    }
    // The last column and row of the art are on screen.
    EXPECT_EQ(shown.pixel(shown.width() - 1, 0) | 0xFF000000u, composed.At(423 * art - 1, 0));
    EXPECT_EQ(shown.pixel(0, shown.height() - 1) | 0xFF000000u, composed.At(0, 328 * art - 1));
}

} // namespace
