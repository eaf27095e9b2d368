// The yardstick for start-up time and memory: the barest Qt 6 window, the tuner's size, that
// opens and closes (when its window is closed or it is told to end). Nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("bare");
    window.setFixedSize(431, 355);
    window.show();
    return QApplication::exec();
}
