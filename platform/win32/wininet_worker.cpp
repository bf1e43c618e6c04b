#include "platform/win32/wininet_worker.h"

#include <windows.h>

#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

namespace morvane {

// Between the owner and the thread. The owner hands over a call only while
// the thread is idle, and the events order the hand-over, so the call slot
// needs no lock.
struct CallWorker::Shared {
  HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::function<void()> call;
  std::atomic<bool> stop{false};

  ~Shared() {
    if (wake) CloseHandle(wake);
    if (done) CloseHandle(done);
  }
  [[nodiscard]] bool ok() const { return wake != nullptr && done != nullptr; }
};

void CallWorker::Loop(std::shared_ptr<Shared> shared) {
  for (;;) {
    WaitForSingleObject(shared->wake, INFINITE);
    std::function<void()> call = std::move(shared->call);
    shared->call = nullptr;
    if (call) {
      call();
      // Released here, before the owner hears of it: a late call's captures
      // (handles whose owner has gone) are closed on this thread.
      call = nullptr;
      SetEvent(shared->done);
    }
    if (shared->stop) return;
  }
}

CallWorker::CallWorker() = default;

CallWorker::~CallWorker() {
  if (!shared_) return;
  shared_->stop = true;
  SetEvent(shared_->wake);
}

bool CallWorker::Run(std::function<void()> call, int timeoutMs) {
  if (stuck_ || timeoutMs <= 0) return false;
  if (!shared_) {
    auto shared = std::make_shared<Shared>();
    if (!shared->ok()) return false;
    try {
      std::thread(Loop, shared).detach();
    } catch (const std::system_error&) {
      return false;
    }
    shared_ = std::move(shared);
  }
  shared_->call = std::move(call);
  SetEvent(shared_->wake);
  if (WaitForSingleObject(shared_->done, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0) {
    return true;
  }
  stuck_ = true;
  return false;
}

}  // namespace morvane
