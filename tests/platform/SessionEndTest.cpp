// Ending the program from outside: a signal or the session's quit leaves every event loop,
// the nested loops of modal dialogs first, and the program gets one last call as the main
// loop returns, however the loop was ended.
#include "platform/SessionEnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// Runs the application's main loop as main() does; a loop that nothing ends fails the test
// instead of hanging it.
int runMainLoop() {
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    limit.start(20000);
    return QApplication::exec();
}

// Qt holds the application as ending from an exit until its main loop runs again: the tests
// after one that ended without the loop would otherwise find their loops returning at once.
void runOnceMoreForTheNextTests() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

class RefusingWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

TEST(SessionEnd, EachSignalLeavesTheNestedLoopsFirstThenEndsOnce) {
    for (const int signalNumber : platform::SessionEnd::HandledSignals) {
        SCOPED_TRACE(signalNumber);
        platform::SessionEnd sessionEnd;
        QList<int> received;
        int endings = 0;
        bool dialogLeft = false;
        bool dialogLeftBeforeEnding = false;
        QObject::connect(&sessionEnd, &platform::SessionEnd::SignalReceived,
                         [&](int number) { received.append(number); });
        QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, [&] {
            ++endings;
            dialogLeftBeforeEnding = dialogLeft;
        });
        // The signal comes while a modal dialog runs its own loop.
        QTimer::singleShot(0, [&] {
            QEventLoop dialog;
            QTimer::singleShot(0, [signalNumber] { std::raise(signalNumber); });
            dialog.exec();
            dialogLeft = true;
        });

        EXPECT_EQ(runMainLoop(), 0);
        EXPECT_EQ(received, QList<int>{signalNumber});
        EXPECT_EQ(endings, 1);
        EXPECT_TRUE(dialogLeftBeforeEnding);
        // Taken once: a second signal while the program ends has its default effect.
        struct sigaction now {};
        sigaction(signalNumber, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
}

TEST(SessionEnd, TheSessionsQuitCannotBeRefusedByAWindow) {
    RefusingWindow window;
    window.show();
    platform::SessionEnd sessionEnd;
    bool windowOpenAtEnding = false;
    QObject::connect(&sessionEnd, &platform::SessionEnd::Ending,
                     [&] { windowOpenAtEnding = window.isVisible(); });
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });

    EXPECT_EQ(runMainLoop(), 0);
    EXPECT_TRUE(windowOpenAtEnding) << "the program closes its window itself, at Ending";
}

TEST(SessionEnd, AnOrdinaryEndAlsoGivesTheLastCallAndTheHandlersAreRestoredAfterwards) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        platform::SessionEnd sessionEnd;
        int endings = 0;
        QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, [&] { ++endings; });
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        EXPECT_EQ(runMainLoop(), 0);
        EXPECT_EQ(endings, 1);
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

TEST(SessionEnd, SignalsBeforeTheMainLoopEndTheBoxesAndTheStartTheyComeIn) {
    platform::SessionEnd sessionEnd;
    QList<int> received;
    int endings = 0;
    QObject::connect(&sessionEnd, &platform::SessionEnd::SignalReceived,
                     [&](int number) { received.append(number); });
    QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, [&] { ++endings; });
    // Two before any loop has read the first: the second must not kill the program.
    std::raise(SIGTERM);
    std::raise(SIGTERM);
    EXPECT_TRUE(platform::SessionEnd::Requested());

    // A start-up error box, then another: neither waits for the user.
    bool limitReached = false;
    for (int box = 0; box < 2; ++box) {
        QEventLoop loop;
        QTimer::singleShot(20000, &loop, [&] {
            limitReached = true;
            loop.quit();
        });
        loop.exec();
    }
    EXPECT_FALSE(limitReached);
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGTERM}));

    bool mainLoopRan = false;
    QTimer::singleShot(0, [&] { mainLoopRan = true; });
    EXPECT_EQ(sessionEnd.RunMainLoop(), 0);
    EXPECT_FALSE(mainLoopRan);
    EXPECT_EQ(endings, 1);
    // The end has begun: now a signal has its default effect.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    runOnceMoreForTheNextTests();
}
