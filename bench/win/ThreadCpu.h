#pragma once
// The CPU time a thread has used, and a wall clock to set it against.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

inline double FileTimeMilliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

// Kernel plus user time of a thread, in ms, as GetThreadTimes reports it; -1 when it
// cannot be read. Wine counts it in 10 ms steps.
inline double ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  return FileTimeMilliseconds(kernel) + FileTimeMilliseconds(user);
}

// The calling thread's CPU time in ms. Under Wine a thread is a Linux thread, whose
// scheduler keeps its run time in nanoseconds (/proc/thread-self/schedstat, first
// field): a tick costs a few hundred microseconds, far below the 10 ms steps of
// GetThreadTimes. The file is opened once a thread (opening costs a millisecond
// under Wine) and read again from its start. Elsewhere, GetThreadTimes.
inline double CurrentThreadCpuMs() {
  struct StatFile {
    HANDLE handle = CreateFileA("Z:\\proc\\thread-self\\schedstat", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ~StatFile() {
      if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
  };
  thread_local StatFile file;
  if (file.handle != INVALID_HANDLE_VALUE && SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN) == 0) {
    char text[128] = {};
    DWORD read = 0;
    char* end = nullptr;
    const unsigned long long ns =
        ReadFile(file.handle, text, sizeof text - 1, &read, nullptr) && read > 0 ? strtoull(text, &end, 10) : 0;
    if (end && end != text) return static_cast<double>(ns) / 1e6;
  }
  return ThreadCpuMs(GetCurrentThread());
}

// A monotonic wall clock in ms.
inline double WallMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// CPU time over wall time between two samples of one thread.
struct CpuSpan {
  double cpuMs = 0;
  double wallMs = 0;
  long ticks = 0;
  double Percent() const { return wallMs > 0 ? 100.0 * cpuMs / wallMs : 0; }
  // CPU per tick, in microseconds: the figure ratios compare.
  double MicrosecondsPerTick() const { return ticks > 0 ? 1000.0 * cpuMs / ticks : 0; }
};
