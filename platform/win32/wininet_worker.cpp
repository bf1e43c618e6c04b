#include "platform/win32/wininet_worker.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <utility>

namespace morvane {

// Between the owner and the thread. The owner hands over a call only while
// the thread is idle, and the events order the hand-over, so the call slot
// needs no lock.
struct CallWorkerState {
  HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::function<void()> call;
  std::atomic<bool> stop{false};

  ~CallWorkerState() {
    if (wake) CloseHandle(wake);
    if (done) CloseHandle(done);
  }
  [[nodiscard]] bool ok() const { return wake != nullptr && done != nullptr; }
};

namespace {

void Loop(const std::shared_ptr<CallWorkerState>& shared) {
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

DWORD WINAPI ThreadMain(void* parameter) {
  // The thread's own reference, handed over by Run.
  const std::unique_ptr<std::shared_ptr<CallWorkerState>> shared(
      static_cast<std::shared_ptr<CallWorkerState>*>(parameter));
  Loop(*shared);
  return 0;
}

}  // namespace

CallWorker::CallWorker() = default;

CallWorker::~CallWorker() {
  if (!shared_) return;
  shared_->stop = true;
  SetEvent(shared_->wake);
}

bool CallWorker::Run(std::function<void()> call, int timeoutMs) {
  if (stuck_ || timeoutMs <= 0) return false;
  if (!shared_) {
    auto shared = std::make_shared<CallWorkerState>();
    if (!shared->ok()) return false;
    auto* reference = new std::shared_ptr<CallWorkerState>(shared);
    const HANDLE thread = CreateThread(nullptr, 0, ThreadMain, reference, 0, nullptr);
    if (thread == nullptr) {
      delete reference;
      return false;
    }
    CloseHandle(thread);
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
