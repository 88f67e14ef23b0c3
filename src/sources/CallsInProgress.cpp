#include "sources/CallsInProgress.h"

#include <thread>

bool CallsInProgress::WaitUntilIdle(std::chrono::milliseconds timeout) const {
  // Removal happens once, at quit; a millisecond's poll costs nothing there, and
  // keeps the guards to one atomic add each, without a wake-up to signal.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running() != 0) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
