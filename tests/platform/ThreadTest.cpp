// The worker thread: synchronised calls, termination on the GUI thread, self-deletion, and a
// GUI thread that waits for a worker which is itself waiting on the GUI thread.
#include "platform/Thread.h"

#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class CountingThread : public platform::Thread {
public:
    CountingThread(int steps, bool* destroyed = nullptr)
        : platform::Thread(true), steps_(steps), destroyed_(destroyed) {}
    ~CountingThread() override {
        if (destroyed_)
            *destroyed_ = true;
    }
    std::atomic<bool> running{true};
    std::vector<bool> onGuiThread;
    std::atomic<int> done{0};

protected:
    void Execute() override {
        for (int i = 0; i < steps_ && running; ++i) {
            Synchronize([this] {
                onGuiThread.push_back(QThread::currentThread() == qApp->thread());
                ++done;
            });
        }
    }

private:
    int steps_;
    bool* destroyed_;
};

} // namespace

TEST(Thread, RunsSynchronisedStepsOnTheGuiThreadThenTerminatesThere) {
    bool destroyed = false;
    auto* thread = new CountingThread(5, &destroyed);
    bool terminatedOnGui = false;
    int doneAtTermination = -1;
    thread->OnTerminate = [&](platform::Thread* sender) {
        terminatedOnGui = QThread::currentThread() == qApp->thread();
        doneAtTermination = static_cast<CountingThread*>(sender)->done;
    };
    thread->FreeOnTerminate = true;
    thread->Start();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return destroyed; }));
    EXPECT_TRUE(terminatedOnGui);
    EXPECT_EQ(doneAtTermination, 5);
}

TEST(Thread, WaitForServesAWorkerBlockedOnTheGuiThread) {
    bool destroyed = false;
    auto* thread = new CountingThread(1000000, &destroyed);
    bool terminated = false;
    thread->OnTerminate = [&](platform::Thread*) { terminated = true; };
    thread->FreeOnTerminate = true;
    thread->Start();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return thread->done >= 3; }));
    // No event loop runs from here on: the worker's pending call must be served by WaitFor.
    thread->running = false;
    thread->WaitFor();
    EXPECT_TRUE(terminated);
    EXPECT_TRUE(destroyed);
    // Queued calls left behind for the deleted thread must not run.
    QCoreApplication::processEvents();
}

TEST(Thread, AnErrorInASynchronisedCallReachesTheWorker) {
    class Failing : public platform::Thread {
    public:
        Failing() : platform::Thread(true) {}
        bool caught = false;

    protected:
        void Execute() override {
            try {
                Synchronize([] { throw std::runtime_error("boom"); });
            } catch (const std::runtime_error&) {
                caught = true;
            }
            Synchronize([] { throw std::logic_error("escapes"); });
        }
    };
    Failing thread;
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.caught);
    EXPECT_TRUE(thread.Finished());
    EXPECT_TRUE(thread.FatalException() != nullptr);
}
