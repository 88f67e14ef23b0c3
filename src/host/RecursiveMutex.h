#pragma once
// A Win32 mutex that counts its own recursion and knows its owner thread, so that an
// unlock from a thread that does not hold it is refused instead of corrupting the
// mutex. Two lock objects can share one mutex: the second borrows the first one's
// handle (and never closes it) but keeps its own owner and count, so code on the
// player's thread and code on the plug-in thread each use their own object and still
// exclude each other.

#include <windows.h>

#include <atomic>
#include <cstdint>

class RecursiveMutex {
 public:
  // A fresh unnamed mutex, not owned.
  RecursiveMutex();
  // Locks the same mutex as shared, which must outlive this object.
  struct Borrow {};
  RecursiveMutex(Borrow, const RecursiveMutex& shared);
  ~RecursiveMutex();
  RecursiveMutex(const RecursiveMutex&) = delete;
  RecursiveMutex& operator=(const RecursiveMutex&) = delete;

  // Waits without time-out unless the caller already holds this object.
  void Lock(int n = 1);
  // 0 (and nothing changes) when the caller is not the owner; 1 otherwise. The mutex
  // is released when the count reaches 0.
  int Unlock(int n = 1);

  uint32_t Owner() const { return owner_.load(); }
  int Count() const { return count_.load(); }
  HANDLE Handle() const { return mutex_; }

 private:
  HANDLE mutex_;
  bool borrowed_;
  // Written only by the owner; read by any thread to learn whether it is the owner.
  std::atomic<int> count_{0};
  std::atomic<uint32_t> owner_{0};
};

// Holds a RecursiveMutex for one scope.
class MutexLock {
 public:
  explicit MutexLock(RecursiveMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~MutexLock() { mutex_.Unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  RecursiveMutex& mutex_;
};
