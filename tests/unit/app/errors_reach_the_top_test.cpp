// An error that a handler lets out does not unwind through the toolkit: it ends the loop, comes
// out of Run for the entry to show, and is shown the toolkit's way, titled with the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "hosts/qt/qt_host.h"
#include "platform/winapi.h"

namespace {

qt_host::Application* application = nullptr;

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Reads and dismisses the modal box that will be open once the loop runs.
void AnswerNextBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Without a modal box, the box's own loop is ended: nothing else would end it.
        if (box == nullptr) {
            QCoreApplication::exit(1);
        }
        ASSERT_NE(box, nullptr);
        seen = {true, box->windowTitle(), box->text(), box->icon()};
        QTest::keyClick(box, Qt::Key_Return);
    });
}

TEST(ErrorsReachTheTop, AnErrorInAHandlerEndsTheLoopAndComesOutOfRun) {
    bool ranAfter = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("a picture cannot be decoded"); });
    QTimer::singleShot(200, [&ranAfter] { ranAfter = true; });
    try {
        application->Run();
        FAIL() << "Run returned normally";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "a picture cannot be decoded");
    }
    EXPECT_FALSE(ranAfter);
    // The error is given out once; a later loop runs normally.
    QTimer::singleShot(0, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(application->Run(), 7);
}

TEST(ErrorsReachTheTop, AnErrorInsideAMessageBoxEndsItAndRunAtOnce) {
    QTimer::singleShot(0, [] { throw std::logic_error("inside a box"); });
    // The box's own loop ends with the error; Run then gives it out without looping.
    MessageBoxA(nullptr, "", "Recorder", MB_OK);
    EXPECT_THROW(application->Run(), std::logic_error);
}

TEST(ErrorsReachTheTop, TheErrorIsShownInABoxTitledWithTheProgram) {
    SeenBox seen;
    AnswerNextBox(seen);
    // As after an error in a handler: every running loop has been told to end.
    QCoreApplication::exit(1);
    application->ShowException("Out of memory");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, "Vibralon");
    EXPECT_EQ(seen.text, "Out of memory");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qt_host::Application app(argc, argv, "Vibralon");
    application = &app;
    return RUN_ALL_TESTS();
}
