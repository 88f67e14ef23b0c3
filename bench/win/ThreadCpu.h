#pragma once
// The CPU time a thread has used, as GetThreadTimes reports it.

#include <windows.h>

inline double FileTimeMilliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

// Kernel plus user time of a thread, in ms; -1 when it cannot be read.
inline double ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  return FileTimeMilliseconds(kernel) + FileTimeMilliseconds(user);
}
