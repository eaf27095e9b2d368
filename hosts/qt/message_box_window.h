// A message box drawn with QtGui alone: the caption in the title bar, the text in the body, an
// optional icon beside it and one "OK" button, in the platform's palette and font. Enter,
// Return, Space, Escape, a click on OK and the title bar's close all end it.
#pragma once

#include <functional>

#include <QIcon>
#include <QRasterWindow>
#include <QRect>
#include <QString>

namespace qt_host {

class MessageBoxWindow final : public QRasterWindow {
public:
    MessageBoxWindow(const QString& caption, const QString& text, const QIcon& icon = QIcon());

    // Shows the box application-modal, centred on the screen; `finished` runs once it has
    // ended and is hidden.
    void Open(std::function<void()> finished = {});

    const QString& Text() const { return text_; }
    bool HasIcon() const { return !icon_.isNull(); }
    // The OK button, in the box's own coordinates.
    QRect OkButtonArea() const { return button_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LayOut();
    void Finish();

    QString text_;
    QIcon icon_;
    QRect iconArea_;
    QRect textArea_;
    QRect button_;
    bool pressed_ = false;     // a left press began on OK and is still down
    bool pressedOver_ = false; // ...and the pointer is over OK now
    std::function<void()> finished_;
};

} // namespace qt_host
