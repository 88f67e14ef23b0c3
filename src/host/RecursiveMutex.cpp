#include "host/RecursiveMutex.h"

RecursiveMutex::RecursiveMutex() : mutex_(CreateMutexA(nullptr, FALSE, nullptr)), borrowed_(false) {}

RecursiveMutex::RecursiveMutex(Borrow, const RecursiveMutex& shared) : mutex_(shared.mutex_), borrowed_(true) {}

RecursiveMutex::~RecursiveMutex() {
  if (mutex_ && !borrowed_) CloseHandle(mutex_);
}

void RecursiveMutex::Lock(int n) {
  const uint32_t self = GetCurrentThreadId();
  if (count_.load() > 0 && owner_.load() == self) {
    count_ += n;
    return;
  }
  // An abandoned mutex is ours as well: its last owner ended while holding it.
  WaitForSingleObject(mutex_, INFINITE);
  owner_ = self;
  count_ += n;
}

int RecursiveMutex::Unlock(int n) {
  if (owner_.load() != GetCurrentThreadId()) return 0;
  int left = count_.load() - n;
  if (left > 0) {
    count_ = left;
    return 1;
  }
  // The owner is cleared before the release: a thread that takes the mutex next
  // records itself, and nothing may overwrite that afterwards.
  count_ = 0;
  owner_ = 0;
  ReleaseMutex(mutex_);
  return 1;
}
