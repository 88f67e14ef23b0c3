#pragma once
// Counts the calls running inside our patched functions, so that removing the patches
// can wait until the last one has left our code before the code goes away.
// Each patched function holds a Guard for its whole run, saved calls included.

#include <atomic>
#include <chrono>

class CallsInProgress {
 public:
  class Guard {
   public:
    explicit Guard(CallsInProgress& calls) : calls_(calls) { calls_.count_.fetch_add(1, std::memory_order_acq_rel); }
    ~Guard() { calls_.count_.fetch_sub(1, std::memory_order_acq_rel); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    CallsInProgress& calls_;
  };

  int Running() const { return count_.load(std::memory_order_acquire); }
  // True once no call is running; false when one still is after `timeout` (a call
  // stuck in the player's own code: then the code must stay loaded).
  bool WaitUntilIdle(std::chrono::milliseconds timeout) const;

 private:
  std::atomic<int> count_{0};
};
