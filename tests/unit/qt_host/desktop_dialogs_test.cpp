// The real message box and document opener behind the Windows calls.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <utility>
#include <vector>

#include "hosts/qt/message_box_window.h"
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

// The modal box that is open now. Without one, every loop is told to end: a box that is open
// but not modal would otherwise hold the test forever.
qt_host::MessageBoxWindow* OpenBox() {
    auto* box = dynamic_cast<qt_host::MessageBoxWindow*>(QGuiApplication::modalWindow());
    if (box == nullptr) {
        QCoreApplication::exit(1);
    }
    return box;
}

TEST(MessageBoxDialog, ShowsCaptionAndBodyWithOnlyAnOkButtonAndNoIcon) {
    QString title;
    QString text;
    bool icon = true;
    Qt::WindowModality modality = Qt::NonModal;
    QPoint offCentre;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        qt_host::MessageBoxWindow* box = OpenBox();
        ASSERT_NE(box, nullptr);
        seen = true;
        title = box->title();
        text = box->Text();
        icon = box->HasIcon();
        modality = box->modality();
        offCentre = box->geometry().center() - box->screen()->availableGeometry().center();
        QTest::mouseClick(box, Qt::LeftButton, {}, box->OkButtonArea().center());
    });
    EXPECT_EQ(MessageBoxA(nullptr, "", "No sound card installed !", MB_OK), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "No sound card installed !");
    EXPECT_EQ(text, "");
    EXPECT_FALSE(icon);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
}

TEST(MessageBoxDialog, EndsWithOkOnEveryKeyAndClickThatAnswersIt) {
    const auto key = [](Qt::Key k) {
        return [k](qt_host::MessageBoxWindow* box) { QTest::keyClick(box, k); };
    };
    const std::vector<std::pair<const char*, std::function<void(qt_host::MessageBoxWindow*)>>>
        answers = {
            {"Enter", key(Qt::Key_Enter)},
            {"Return", key(Qt::Key_Return)},
            {"Space", key(Qt::Key_Space)},
            {"Escape", key(Qt::Key_Escape)},
            {"click on OK",
             [](auto* box) {
                 QTest::mouseClick(box, Qt::LeftButton, {}, box->OkButtonArea().center());
             }},
            {"the title bar's close", [](auto* box) { box->close(); }},
        };
    for (const auto& [name, answer] : answers) {
        bool stayedForOthers = false;
        bool ended = false;
        QTimer::singleShot(0, [&, answer = answer] {
            qt_host::MessageBoxWindow* box = OpenBox();
            ASSERT_NE(box, nullptr);
            // Neither another key, nor a click beside OK, nor a press on OK released elsewhere.
            QTest::keyClick(box, Qt::Key_A);
            QTest::mouseClick(box, Qt::LeftButton, {},
                              box->OkButtonArea().topLeft() - QPoint(3, 3));
            QTest::mousePress(box, Qt::LeftButton, {}, box->OkButtonArea().center());
            QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(1, 1));
            stayedForOthers = box->isVisible();
            answer(box);
            ended = QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
            if (!ended) {
                // Nothing else will end it: end every loop so that the test goes on.
                QCoreApplication::exit(1);
            }
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Text", "Recorder", MB_OK), IDOK) << name;
        EXPECT_TRUE(stayedForOthers) << name;
        EXPECT_TRUE(ended) << name << " did not end the box";
    }
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
