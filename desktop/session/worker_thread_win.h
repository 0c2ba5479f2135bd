// A worker thread object in the style the desktop's threads are written in: created
// suspended, resumed, asked to end through a terminate flag, optionally freeing itself when
// its body returns, and waited for; its body can have a function run on the main thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "common/unique_win.h"

namespace glimmora::desktop {

// The seven priorities a worker can have, from idle to time-critical.
enum class ThreadPriority { kIdle, kLowest, kLower, kNormal, kHigher, kHighest, kTimeCritical };

// Waits up to `ms` (INFINITE for no limit) for `object`, running every message other threads
// send to this thread's windows meanwhile, so a worker that sends to a window of this thread
// never waits for a thread that waits for it. Posted messages stay queued. Gives
// WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_ABANDONED or WAIT_FAILED.
DWORD WaitHandlingSentMessages(HANDLE object, DWORD ms);

class WorkerThread {
  public:
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    virtual ~WorkerThread();

    // Starts (or continues) the thread. Only the first call after creation matters.
    void Resume();
    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    // When set, the object deletes itself right after Execute returns; nobody may use it then.
    void SetFreeOnTerminate(bool free) { freeOnTerminate_.store(free); }
    void SetPriority(ThreadPriority priority);
    ThreadPriority Priority() const;
    // Waits for the body to return and gives its exit code (0 when the thread never existed).
    DWORD WaitFor();
    // A handle of the thread that stays valid after a self-freeing object is gone, for
    // callers that must wait for such a thread.
    UniqueHandle DuplicateThreadHandle() const;
    bool Started() const { return started_; }

  protected:
    // The thread is always created suspended: it must not run the body before the derived
    // object is complete. A derived constructor that was asked not to create suspended
    // calls Resume as its last step.
    WorkerThread();

    // Ends the thread for a destructor: terminate, let a never-resumed thread run its
    // (immediately ending) body, wait. Derived destructors call it before their members go,
    // since the body may use them.
    void EndThread();

    virtual void Execute() = 0;

    // Runs `call` on the main thread (the thread that created the process's first worker)
    // and returns once it has run. The main thread runs it inside its message loop or any
    // wait that handles sent messages (WaitHandlingSentMessages); a modal box it shows keeps
    // this thread waiting until the box is closed. Called on the main thread, it runs at once.
    void Synchronize(const std::function<void()>& call);

  private:
    static unsigned __stdcall Entry(void* self);

    UniqueHandle thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> freeOnTerminate_{false};
    bool started_ = false;
};

}  // namespace glimmora::desktop
