#include "platform/SessionEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// The write end of the live object's pipe and the request flag; the handler may touch
// nothing else.
volatile std::sig_atomic_t signalPipe = -1;
std::atomic<bool> endRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets the flag");

extern "C" void onSignal(int signalNumber) {
    const int savedErrno = errno;
    // Seen at once by a start that waits without an event loop; the pipe tells the loop.
    endRequested = true;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request to end; losing this one loses nothing.
    [[maybe_unused]] const ssize_t written = write(signalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
    endRequested = false;
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        // Without the pipe the signals keep their default effect: the program ends unsaved,
        // as it would without this object.
        pipe_[0] = pipe_[1] = -1;
    } else {
        signalPipe = pipe_[1];
        notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::readSignals);
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        // Not SA_RESETHAND: a signal taken while nothing reads the pipe yet (a start-up box
        // ending, a wait) would leave the next one to kill the program unsaved. The default
        // effect comes back once the end has begun (restoreDefaultActions).
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < HandledSignals.size(); ++i)
            sigaction(HandledSignals[i], &action, &previous_[i]);
    }
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SessionEnd::finish);
    // The session manager's quit arrives as a Quit event, which Qt turns into an ordinary
    // close of every window, one that a window may refuse; a session ending cannot be refused.
    qApp->installEventFilter(this);
}

SessionEnd::~SessionEnd() {
    // Whatever was asked of this object has been done.
    endRequested = false;
    if (pipe_[1] < 0)
        return;
    for (std::size_t i = 0; i < HandledSignals.size(); ++i)
        sigaction(HandledSignals[i], &previous_[i], nullptr);
    signalPipe = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}

void SessionEnd::Request() {
    endRequested = true;
    // Also marks the application as ending: a loop opened from now on, until the main loop
    // runs, returns at once.
    QCoreApplication::exit(0);
    restoreDefaultActions();
}

bool SessionEnd::Requested() {
    return endRequested;
}

int SessionEnd::RunMainLoop() {
    int status = 0;
    if (Requested())
        Request(); // a signal the loop has not read yet: acted on here
    else
        status = QCoreApplication::exec();
    finish();
    return status;
}

void SessionEnd::restoreDefaultActions() {
    if (defaultsRestored_ || pipe_[1] < 0)
        return;
    defaultsRestored_ = true;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : HandledSignals)
        sigaction(signalNumber, &action, nullptr);
}

void SessionEnd::readSignals() {
    unsigned char byte = 0;
    bool received = false;
    while (read(pipe_[0], &byte, 1) == 1) {
        received = true;
        emit SignalReceived(byte);
    }
    if (received)
        Request();
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != qApp || event->type() != QEvent::Quit)
        return false;
    Request();
    return true;
}

void SessionEnd::finish() {
    if (ended_)
        return;
    ended_ = true;
    emit Ending();
}

} // namespace platform
