// On a scaled screen every skin pixel becomes a block of whole screen pixels of its own colour:
// nothing blurred, nothing cut off.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <cstdlib>

#include "hosts/qt/form_window.h"
#include "hosts/qt/qt_host.h"
#include "qt_host_test_app.h"
#include "tests/support/image/client_picture.h"
#include "ui/tform1.h"

namespace {

TEST(ScaledWindow, EverySkinPixelIsACrispBlock) {
    const double scale = std::atof(std::getenv("VIBRALON_TEST_SCALE"));
    TForm1 form;
    form.Liste.Draw(form.Shape1, 16, 23, 10);
    qt_host::Window window(form);
    window.Show();
    qt_host::FormWindow& host = window.Host();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_DOUBLE_EQ(host.devicePixelRatio(), scale);
    // The skin keeps its own size in logical pixels.
    EXPECT_EQ(host.size(), QSize(423, 328));

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
    const skin::RgbPixels skin = test_image::ClientPicture(form);
    ASSERT_EQ(shown.width(), static_cast<int>(std::ceil(423 * scale)));
    ASSERT_EQ(shown.height(), static_cast<int>(std::ceil(328 * scale)));
    int unexplained = 0;
    for (int py = 0; py < shown.height(); ++py) {
        const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(py));
        const int y = std::min(skin.Height() - 1, static_cast<int>(py / scale));
        for (int px = 0; px < shown.width(); ++px) {
            const int x = std::min(skin.Width() - 1, static_cast<int>(px / scale));
            const skin::Pixel got = row[px] | 0xFF000000u;
            if (got == skin.At(x, y)) {
                continue;
            }
            // Uneven scales may round a block boundary either way, but only to a neighbour's
            // colour: a blend of two colours would be a colour of neither.
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
    EXPECT_EQ(unexplained, 0);
    if (scale == 2.0) {
        for (int y = 0; y < skin.Height(); ++y) {
            for (int x = 0; x < skin.Width(); ++x) {
                for (int k = 0; k < 4; ++k) {
                    ASSERT_EQ(shown.pixel(2 * x + k % 2, 2 * y + k / 2) | 0xFF000000u,
                              skin.At(x, y))
                        << x << "," << y;
                }
            }
        }
    }
    // The last skin column and row are on screen.
    EXPECT_EQ(shown.pixel(shown.width() - 1, 0) | 0xFF000000u, skin.At(422, 0));
    EXPECT_EQ(shown.pixel(0, shown.height() - 1) | 0xFF000000u, skin.At(0, 327));
}

} // namespace
