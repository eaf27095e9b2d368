// The real message box and document opener behind the Windows calls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include "platform/winapi.h"
#include "qt_host_test_app.h"

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST(MessageBoxDialog, ShowsCaptionAndBodyWithOnlyAnOkButtonAndNoIcon) {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Critical;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MessageBoxA(nullptr, "", "No sound card installed !", MB_OK), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "No sound card installed !");
    EXPECT_EQ(text, "");
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST(DocumentOpener, OpensTheHelpFileFromTheCurrentDirectory) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", "help\\guide.htm", nullptr, nullptr, SW_SHOWNORMAL);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(result), 32u);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(QDir::currentPath() + "/help/guide.htm"));
}

} // namespace

#include "desktop_dialogs_test.moc"
