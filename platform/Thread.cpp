#include "platform/Thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <thread>

namespace platform {

class Thread::Runner : public QThread {
public:
    explicit Runner(Thread* owner) : owner_(owner) {}

protected:
    void run() override { owner_->runOnWorker(); }

private:
    Thread* owner_;
};

Thread::Thread(bool createSuspended) : runner_(std::make_unique<Runner>(this)) {
    connect(runner_.get(), &QThread::finished, this, [this] { terminate(true); });
    // A queued signal, not a queued functor: the call then carries nothing of ours from the
    // worker to the GUI thread, everything it needs is under mutex_.
    connect(this, &Thread::serveRequested, this, &Thread::serveBurst, Qt::QueuedConnection);
    if (!createSuspended)
        Start();
}

Thread::~Thread() {
    // Destroying a running thread would leave the worker with a dangling object.
    if (started_ && !finished_)
        WaitFor(true);
    runner_->wait();
}

void Thread::Start() {
    if (started_)
        return;
    started_ = true;
    runner_->start();
}

void Thread::runOnWorker() {
    try {
        Execute();
    } catch (...) {
        fatal_ = std::current_exception();
    }
    // Notified under the lock, like every change a waiter may act on: once a waiter can see
    // the change it may go on to destroy this object, condition variable included.
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

void Thread::Synchronize(std::function<void()> method) {
    std::unique_lock lock(mutex_);
    pending_ = std::move(method);
    pendingDone_ = false;
    pendingError_ = nullptr;
    // Changed with pending_, so that no reader sees the two disagree.
    hasPending_.store(true);
    changed_.notify_all(); // a GUI thread inside WaitFor serves it directly
    lock.unlock();
    // One queued call at a time: a burst serves what arrives meanwhile, and stale calls
    // piling up behind it would each start a burst of their own before any timer ran.
    if (!callQueued_.exchange(true))
        emit serveRequested(QPrivateSignal());
    if (spinning())
        spinUntil([this] { return pendingDone_.load(); });
    lock.lock();
    changed_.wait(lock, [this] { return pendingDone_.load(); });
    if (auto error = std::exchange(pendingError_, nullptr))
        std::rethrow_exception(error);
}

bool Thread::servePending() {
    std::function<void()> method;
    {
        std::lock_guard lock(mutex_);
        if (!pending_)
            return false; // served already, by WaitFor or an earlier queued call
        method = std::move(pending_);
        pending_ = nullptr;
        hasPending_.store(false);
    }
    std::exception_ptr error;
    try {
        method();
    } catch (...) {
        error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    pendingError_ = error;
    pendingDone_ = true;
    changed_.notify_all();
    return true;
}

bool Thread::spinning() {
    // Waiting actively only pays where the other thread has a core of its own.
    static const bool severalCores = QThread::idealThreadCount() > 1;
    return severalCores;
}

bool Thread::spinUntil(const std::function<bool()>& condition) {
    QElapsedTimer spin;
    spin.start();
    while (spin.nsecsElapsed() < SpinNanoseconds) {
        if (condition())
            return true;
        std::this_thread::yield();
    }
    return condition();
}

void Thread::serveBurst() {
    // A worker that synchronises step after step hands over its next step within
    // microseconds. Waiting for it here saves each step a trip through the event loop and a
    // wake-up of the worker; the burst ends after a few milliseconds so that input and
    // painting keep their pace.
    QElapsedTimer burst;
    burst.start();
    while (servePending()) {
        if (!spinning() || burst.nsecsElapsed() > BurstNanoseconds)
            break;
        if (!spinUntil([this] { return hasPending_.load() || finished_.load(); }))
            break;
    }
    callQueued_.store(false);
    // A step that came after the last look found the call still queued and posted none.
    if (hasPending_.load() && !callQueued_.exchange(true))
        emit serveRequested(QPrivateSignal());
}

void Thread::WaitFor(bool skipTermination) {
    if (started_) {
        for (;;) {
            servePending();
            std::unique_lock lock(mutex_);
            if (finished_)
                break;
            changed_.wait(lock, [this] { return finished_ || pending_ != nullptr; });
        }
        runner_->wait();
    }
    if (skipTermination)
        terminated_ = true;
    else
        terminate(false);
}

void Thread::terminate(bool fromEventLoop) {
    if (terminated_)
        return;
    terminated_ = true;
    if (OnTerminate)
        OnTerminate(this);
    if (!FreeOnTerminate)
        return;
    // Inside our own queued call we must not delete ourselves; elsewhere there may be no
    // event loop left to do it later.
    if (fromEventLoop)
        deleteLater();
    else
        delete this;
}

} // namespace platform
