#pragma once
// A thread for tests, on the Win32 API: the shipped build uses the win32 thread model, which has no
// std::thread in this toolchain.

#include <windows.h>

#include <functional>
#include <utility>

namespace tavimo::test_support {

class WorkerThread {
  public:
    WorkerThread() = default;
    explicit WorkerThread(std::function<void()> work) : work_(std::move(work)) {
        handle_ = ::CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr);
    }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { Join(); }

    bool Joinable() const { return handle_ != nullptr; }
    void Join() {
        if (handle_) {
            ::WaitForSingleObject(handle_, INFINITE);
            ::CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    static DWORD WINAPI Run(void* self) {
        static_cast<WorkerThread*>(self)->work_();
        return 0;
    }

    std::function<void()> work_;
    HANDLE handle_ = nullptr;
};

} // namespace tavimo::test_support
