// The real message box and document opener behind the Windows calls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

#include "hosts/qt/accessibility/orca_speech_rate.h"
#include "hosts/qt/desktop_dialogs.h"
#include "platform/winapi.h"
#include "qt_host_test_app.h"
#include "ui/a11y/speech_rate.h"

namespace {

// The modal box that is open now. Without one, every loop is told to end: a box that is open
// but not modal would otherwise hold the test forever.
QMessageBox* OpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        QCoreApplication::exit(1);
    }
    return box;
}

QPushButton* OkButton(QMessageBox* box) {
    return qobject_cast<QPushButton*>(box->button(QMessageBox::Ok));
}

// Where a key goes in the box: its focused button.
QWidget* KeyTarget(QMessageBox* box) {
    return box->focusWidget() != nullptr ? box->focusWidget() : box;
}

// Sends a key event to the box as the window system would, at `time` ms.
void Key(QMessageBox* box, bool press, Qt::Key key, bool autoRepeat, quint64 time) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier, QString(),
                    autoRepeat);
    event.setTimestamp(time);
    QApplication::sendEvent(KeyTarget(box), &event);
}

// A press and release, as a hand makes them.
void Stroke(QMessageBox* box, Qt::Key key) {
    static quint64 time = 1000;
    Key(box, true, key, false, time += 100);
    Key(box, false, key, false, time += 100);
}

// Ends the box if it is still up; false when it was.
bool EndsSoon(QMessageBox* box) {
    const bool ended = QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
    if (!ended) {
        // Nothing else will end it: end every loop so that the test goes on.
        QCoreApplication::exit(1);
    }
    return ended;
}

// Its caption, its text and the OK button are read over the bus by access_e2e_test.
TEST(MessageBoxDialog, ShowsOnlyAnOkButtonAndNoIconModalAndCentred) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = OpenBox();
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        const QPoint offCentre =
            box->geometry().center() - box->screen()->availableGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
        ASSERT_NE(OkButton(box), nullptr);
        QTest::mouseClick(OkButton(box), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "", "No sound card installed !", MB_OK), IDOK);
    EXPECT_TRUE(seen);
}

TEST(MessageBoxDialog, EndsWithOkOnEveryKeyAndClickThatAnswersIt) {
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { Stroke(box, k); }; };
    const std::vector<std::pair<const char*, std::function<void(QMessageBox*)>>> answers = {
        {"Enter", key(Qt::Key_Enter)},
        {"Return", key(Qt::Key_Return)},
        {"Space", key(Qt::Key_Space)},
        {"Escape", key(Qt::Key_Escape)},
        {"click on OK", [](QMessageBox* box) { QTest::mouseClick(OkButton(box), Qt::LeftButton); }},
        {"the title bar's close", [](QMessageBox* box) { box->close(); }},
    };
    for (const auto& [name, answer] : answers) {
        bool stayedForOthers = false;
        bool ended = false;
        QTimer::singleShot(0, [&, answer = answer] {
            QMessageBox* box = OpenBox();
            ASSERT_NE(box, nullptr);
            // Neither another key, nor a click beside OK, nor a press on OK released elsewhere.
            Stroke(box, Qt::Key_A);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, 2));
            QTest::mousePress(OkButton(box), Qt::LeftButton);
            QTest::mouseRelease(OkButton(box), Qt::LeftButton, {}, QPoint(-20, -20));
            stayedForOthers = box->isVisible();
            answer(box);
            ended = EndsSoon(box);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Text", "Recorder", MB_OK), IDOK) << name;
        EXPECT_TRUE(stayedForOthers) << name;
        EXPECT_TRUE(ended) << name << " did not end the box";
    }
}

// A key held down since before the box appeared (the one that answered the box before it, say)
// repeats into the box and is released there: neither answers it, a fresh press does. The
// window system's repeats are release and press pairs at one time, which the toolkit does not
// always mark as repeats.
TEST(MessageBoxDialog, AKeyHeldSinceBeforeTheBoxDoesNotAnswerIt) {
    for (const Qt::Key held : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape}) {
        const std::string name = QKeySequence(held).toString().toStdString();
        bool stayedThroughRepeats = false;
        bool stayedThroughUnmarked = false;
        bool stayedThroughRelease = false;
        bool ended = false;
        QTimer::singleShot(0, [&] {
            QMessageBox* box = OpenBox();
            ASSERT_NE(box, nullptr);
            for (const quint64 time : {700, 740, 780}) {
                Key(box, false, held, true, time);
                Key(box, true, held, true, time);
            }
            QCoreApplication::processEvents();
            stayedThroughRepeats = box->isVisible();
            Key(box, false, held, false, 820);
            Key(box, true, held, false, 820);
            QCoreApplication::processEvents();
            stayedThroughUnmarked = box->isVisible();
            Key(box, false, held, false, 850);
            QCoreApplication::processEvents();
            stayedThroughRelease = box->isVisible();
            Stroke(box, held);
            ended = EndsSoon(box);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "", "Cannot determine sound card capabilities !", MB_OK),
                  IDOK);
        EXPECT_TRUE(stayedThroughRepeats) << name << ": answered by its autorepeat";
        EXPECT_TRUE(stayedThroughUnmarked) << name << ": answered by an unmarked repeat";
        EXPECT_TRUE(stayedThroughRelease) << name << ": answered by its release";
        EXPECT_TRUE(ended) << name << ": a fresh press did not answer";
    }
}

// The help opened, and a failed opener announced, are the tuner's end-to-end checks (the help
// button and F1, with a working and a failing xdg-open). What they cannot show: a file that is
// not there is refused at once, before any opener is started or could report a failure.
TEST(DocumentOpener, RefusesAMissingFileAtOnce) {
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    int failures = 0;
    qt_host::SetOpenFailedHandler([&failures] { ++failures; });
    const auto result = reinterpret_cast<std::uintptr_t>(
        ShellExecuteA(nullptr, "open", "help\\guide.htm", nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_LE(result, 32u);
    QTest::qWait(200);
    EXPECT_EQ(failures, 0) << "an opener was started for a missing file";
    qt_host::SetOpenFailedHandler(nullptr);
    QDir::setCurrent(before);
}

// Orca's settings as its preferences write them: the starting profile's default voice wins over
// the general one; the tuner follows a change without a restart.
TEST(OrcaSpeechRate, IsReadFromOrcasSettingsAndFollowedWhenTheyChange) {
    QTemporaryDir dir;
    const QString path = dir.filePath("user-settings.conf");
    qt_host::OrcaSpeechRate rate(path);
    EXPECT_DOUBLE_EQ(rate.Pace(), a11y::PaceAtOrcaRate(50)); // no settings: Orca's default
    const auto write = [&path](const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    write(R"({"general": {"voices": {"default": {"rate": 70}}, "startingProfile": ["Slow", "slow"]},
              "profiles": {"slow": {"voices": {"default": {"rate": 25}}}}})");
    EXPECT_DOUBLE_EQ(rate.Pace(), a11y::PaceAtOrcaRate(25));
    EXPECT_GT(rate.Pace(), 1.4);
    write(R"({"general": {"voices": {"default": {"rate": 90}}}, "profiles": {"default": {}}})");
    EXPECT_DOUBLE_EQ(rate.Pace(), a11y::PaceAtOrcaRate(90));
    EXPECT_LT(rate.Pace(), 0.4);
    write("not JSON");
    EXPECT_DOUBLE_EQ(rate.Pace(), a11y::PaceAtOrcaRate(50));
}

} // namespace
