#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

namespace platform {

// Ends the program in good order however it is asked to end from outside: SIGTERM (the
// session ending, `kill`), SIGINT (Ctrl+C in a terminal), SIGHUP (the terminal gone) and the
// session manager's quit. Every running event loop is left, the loops of modal dialogs
// included, so that the code that opened them unwinds before anything is released; then, as
// the main loop returns, Ending is emitted, once, however the loop was ended. The program
// saves its state there.
//
// A signal may come before the main loop runs: during a start-up box, or while the start
// waits for something. It is kept (Requested()): loops opened after it return at once, waits
// that ask are cut short, and RunMainLoop() then ends at once instead of running the window.
//
// A signal is taken once: when the first has been acted on, the next has its default effect,
// so that a user who presses Ctrl+C twice gets what he means.
//
// The signal handlers are process-wide: one object at a time.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    static constexpr std::array<int, 3> HandledSignals{SIGTERM, SIGINT, SIGHUP};

    // Leaves every running event loop; Ending follows as the main loop returns.
    void Request();

    // Whether the program was asked to end: a signal has arrived (even one whose handling the
    // event loop has not seen yet), or Request() was called. Safe to ask from any thread.
    static bool Requested();

    // Runs the application's main loop unless the end was asked for before it, then emits
    // Ending (once). Returns the loop's status, 0 when it did not run.
    int RunMainLoop();

signals:
    // A signal asked the program to end (the signal's number); Request() follows.
    void SignalReceived(int signalNumber);
    // The main loop is returning: the last moment to save.
    void Ending();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readSignals();
    void restoreDefaultActions();
    void finish();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, HandledSignals.size()> previous_{};
    bool ended_ = false;
    bool defaultsRestored_ = false;
};

} // namespace platform
