// The yardstick for CPU at work: the bare window, the tuner's size, with a 16x16 lamp that
// changes colour once per capture block (4096 samples at 11025 Hz), repainted
// through Qt's own widget painting: what a plain Qt Widgets program costs to show something new
// at the tuner's pace, so the tuner's CPU can be read against it on any machine.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int BlockMs = 4096 * 1000 / 11025;
const QRect Lamp(71, 23, 16, 16);

class BlinkingWindow : public QWidget {
public:
    void Toggle() {
        lit_ = !lit_;
        update(Lamp);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(Lamp, lit_ ? Qt::red : Qt::darkRed);
    }

private:
    bool lit_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    BlinkingWindow window;
    window.setWindowTitle("bare, blinking");
    window.setFixedSize(431, 355);
    window.show();
    QTimer blink;
    QObject::connect(&blink, &QTimer::timeout, &window, [&window] { window.Toggle(); });
    blink.start(BlockMs);
    return QApplication::exec();
}
