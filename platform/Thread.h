#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

namespace platform {

// A worker thread in the classic style: Execute() runs on the worker; Synchronize() runs a
// function on the GUI thread while the worker waits; OnTerminate runs on the GUI thread after
// Execute has returned; with FreeOnTerminate the object then deletes itself.
//
// The object itself lives on the GUI thread and must be created and destroyed there.
class Thread : public QObject {
    Q_OBJECT
public:
    explicit Thread(bool createSuspended);
    ~Thread() override;

    void Start();

    std::function<void(Thread*)> OnTerminate;
    bool FreeOnTerminate = false;

    // True once Execute has returned.
    bool Finished() const { return finished_.load(); }

    // GUI thread: waits until Execute has returned, running the worker's pending Synchronize
    // calls meanwhile, so that a worker waiting on the GUI thread cannot deadlock the wait.
    // Then runs the termination (OnTerminate, FreeOnTerminate) at once, unless
    // skipTermination, in which case the caller owns the object and must delete it.
    void WaitFor(bool skipTermination = false);

    // An exception that escaped Execute, if any.
    std::exception_ptr FatalException() const { return fatal_; }

signals:
    // The worker has a synchronised call waiting for the GUI thread.
    void serveRequested(QPrivateSignal);

protected:
    virtual void Execute() = 0;
    void Synchronize(std::function<void()> method);

private:
    class Runner;
    void runOnWorker();
    bool servePending();
    void serveBurst();
    static bool spinning();
    // Polls the condition for up to SpinNanoseconds; whether it came true.
    static bool spinUntil(const std::function<bool()>& condition);
    static constexpr qint64 SpinNanoseconds = 50'000;
    static constexpr qint64 BurstNanoseconds = 4'000'000;
    void terminate(bool fromEventLoop);

    std::unique_ptr<Runner> runner_;
    std::atomic<bool> finished_{false};
    bool started_ = false;
    bool terminated_ = false;
    std::exception_ptr fatal_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> pending_;
    std::atomic<bool> pendingDone_{false}; // read without the lock in the worker's brief wait
    std::exception_ptr pendingError_;
    // Whether pending_ is set, readable without the lock for the GUI thread's brief wait.
    std::atomic<bool> hasPending_{false};
    std::atomic<bool> callQueued_{false};
};

} // namespace platform
