#include "desktop/worker_thread_win.h"

#include <process.h>

namespace glimmora::desktop {

WorkerThread::WorkerThread() {
    // _beginthreadex rather than CreateThread, so the C runtime is set up for the thread.
    const std::uintptr_t handle =
        _beginthreadex(nullptr, 0, &WorkerThread::Entry, this, CREATE_SUSPENDED, nullptr);
    thread_.reset(reinterpret_cast<HANDLE>(handle));
}

WorkerThread::~WorkerThread() {
    // Normally done by the derived destructor already; then this only finds an ended thread.
    // A self-freeing object is deleted by its own thread, which must not wait for itself.
    if (!freeOnTerminate_.load()) EndThread();
}

unsigned __stdcall WorkerThread::Entry(void* self) {
    auto* thread = static_cast<WorkerThread*>(self);
    thread->Execute();
    if (thread->freeOnTerminate_.load()) delete thread;
    return 0;
}

void WorkerThread::Resume() {
    if (thread_ && !started_) {
        started_ = true;
        ResumeThread(thread_.get());
    }
}

void WorkerThread::SetPriority(int priority) {
    if (thread_) SetThreadPriority(thread_.get(), priority);
}

DWORD WorkerThread::WaitFor() {
    if (!thread_) return 0;
    WaitForSingleObject(thread_.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread_.get(), &code);
    return code;
}

UniqueHandle WorkerThread::DuplicateThreadHandle() const {
    HANDLE copy = nullptr;
    if (thread_) {
        DuplicateHandle(GetCurrentProcess(), thread_.get(), GetCurrentProcess(), &copy, SYNCHRONIZE,
                        FALSE, 0);
    }
    return UniqueHandle(copy);
}

void WorkerThread::EndThread() {
    if (!thread_) return;
    Terminate();
    Resume();
    WaitFor();
}

}  // namespace glimmora::desktop
