#include "desktop/session/worker_thread_win.h"

#include <gtest/gtest.h>

#include <atomic>

namespace glimmora::desktop {
namespace {

// Runs its call through Synchronize and remembers on which thread it ran.
class SynchronizingWorker : public WorkerThread {
  public:
    ~SynchronizingWorker() override { EndThread(); }
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> returnedAfterCall{false};

  protected:
    void Execute() override {
        bool called = false;
        Synchronize([&] {
            Sleep(100);  // the worker must still be waiting when this returns
            ranOn = GetCurrentThreadId();
            called = true;
        });
        returnedAfterCall = called;
    }
};

TEST(WorkerThread, SynchronizeRunsOnTheMainThreadWhileItWaitsForTheWorker) {
    SynchronizingWorker worker;
    worker.Resume();
    worker.WaitFor();  // handles the worker's sent call while waiting
    EXPECT_EQ(worker.ranOn.load(), GetCurrentThreadId());
    EXPECT_TRUE(worker.returnedAfterCall.load());
}

class IdleWorker : public WorkerThread {
  public:
    ~IdleWorker() override { EndThread(); }

  protected:
    void Execute() override {}
};

TEST(WorkerThread, PrioritiesAreSetAndReadBack) {
    IdleWorker worker;
    EXPECT_EQ(worker.Priority(), ThreadPriority::kNormal);
    for (ThreadPriority p :
         {ThreadPriority::kLower, ThreadPriority::kLowest, ThreadPriority::kHigher}) {
        worker.SetPriority(p);
        EXPECT_EQ(worker.Priority(), p);
    }
}

TEST(WaitHandlingSentMessages, TimesOutAndSeesAnEndedObject) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitHandlingSentMessages(event, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_GE(GetTickCount() - start, 150u);
    SetEvent(event);
    EXPECT_EQ(WaitHandlingSentMessages(event, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(event);
}

}  // namespace
}  // namespace glimmora::desktop
