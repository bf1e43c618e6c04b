// Runs blocking WinINet calls under a time limit. Under Wine a connect
// ignores its time-out option and closing a handle from another thread
// does not end a blocked call, so the only way to stop waiting is not to
// make the call on the waiting thread: it runs here, on a thread of this
// worker's own, and the caller waits only as long as it may.
#pragma once

#include <functional>
#include <memory>

namespace morvane {

struct CallWorkerState;  // between the owner and the thread

class CallWorker {
 public:
  CallWorker();
  // The thread ends once it is idle; a call still running is not waited for.
  ~CallWorker();
  CallWorker(const CallWorker&) = delete;
  CallWorker& operator=(const CallWorker&) = delete;

  // Runs call on the worker's thread and waits for it at most timeoutMs.
  // True when it ended in time. When it did not, it runs on by itself and
  // must own everything it touches (capture shared state by value); the
  // worker is then stuck and refuses every later call at once, since the
  // handles it works on are still in use.
  bool Run(std::function<void()> call, int timeoutMs);

  [[nodiscard]] bool stuck() const { return stuck_; }

 private:
  std::shared_ptr<CallWorkerState> shared_;
  bool stuck_ = false;
};

}  // namespace morvane
