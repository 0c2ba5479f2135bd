#include "desktop/session/worker_thread_win.h"

#include <process.h>

#include <mutex>

namespace glimmora::desktop {

namespace {

constexpr wchar_t kSynchronizeClass[] = L"GlimmoraWorkerSynchronize";
constexpr UINT kSynchronizeMessage = WM_APP + 0x3A7;

LRESULT CALLBACK SynchronizeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSynchronizeMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window of the main thread, made when the first worker is created (workers
// are created by the main window, or by workers, which then find it made). It lives as long
// as the process: workers free themselves on their own threads, which could not destroy it.
std::once_flag g_synchronizeOnce;
HWND g_synchronizeWindow = nullptr;

void MakeSynchronizeWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = SynchronizeProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kSynchronizeClass;
    RegisterClassW(&cls);
    g_synchronizeWindow = CreateWindowExW(0, kSynchronizeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                          nullptr, cls.hInstance, nullptr);
}

constexpr int kPriorities[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                               THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                               THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                               THREAD_PRIORITY_TIME_CRITICAL};

}  // namespace

DWORD WaitHandlingSentMessages(HANDLE object, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = ms;
        if (ms != INFINITE) {
            const DWORD spent = GetTickCount() - start;
            left = spent >= ms ? 0 : ms - spent;
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) {
            return result == WAIT_ABANDONED_0 ? WAIT_ABANDONED : result;
        }
        // Peeking delivers the sent messages; nothing posted is taken out of the queue.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

WorkerThread::WorkerThread() {
    std::call_once(g_synchronizeOnce, MakeSynchronizeWindow);
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

void WorkerThread::SetPriority(ThreadPriority priority) {
    if (thread_) SetThreadPriority(thread_.get(), kPriorities[static_cast<int>(priority)]);
}

ThreadPriority WorkerThread::Priority() const {
    const int value = thread_ ? GetThreadPriority(thread_.get()) : THREAD_PRIORITY_NORMAL;
    for (int i = 0; i < 7; ++i) {
        if (kPriorities[i] == value) return static_cast<ThreadPriority>(i);
    }
    return ThreadPriority::kNormal;
}

void WorkerThread::Synchronize(const std::function<void()>& call) {
    if (!g_synchronizeWindow) {
        call();  // no main-thread window could be made: better run here than not at all
        return;
    }
    SendMessageW(g_synchronizeWindow, kSynchronizeMessage, 0, reinterpret_cast<LPARAM>(&call));
}

DWORD WorkerThread::WaitFor() {
    if (!thread_) return 0;
    // A worker may be sending to a window of the waiting thread (or synchronizing with it).
    WaitHandlingSentMessages(thread_.get(), INFINITE);
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
