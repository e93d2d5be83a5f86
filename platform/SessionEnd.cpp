#include "platform/SessionEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// The write end of the live object's pipe; the handler may touch nothing else.
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void onSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request to end; losing this one loses nothing.
    [[maybe_unused]] const ssize_t written = write(signalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
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
        // SA_RESETHAND: the first signal is ours, the next has its default effect.
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        for (std::size_t i = 0; i < HandledSignals.size(); ++i)
            sigaction(HandledSignals[i], &action, &previous_[i]);
    }
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SessionEnd::finish);
    // The session manager's quit arrives as a Quit event, which Qt turns into an ordinary
    // close of every window, one that a window may refuse; a session ending cannot be refused.
    qApp->installEventFilter(this);
}

SessionEnd::~SessionEnd() {
    if (pipe_[1] < 0)
        return;
    for (std::size_t i = 0; i < HandledSignals.size(); ++i)
        sigaction(HandledSignals[i], &previous_[i], nullptr);
    signalPipe = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}

void SessionEnd::Request() {
    QCoreApplication::exit(0);
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
