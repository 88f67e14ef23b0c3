#pragma once
// The player's playing position. A manual clock moves only when it is set, so a
// test knows the exact position the plug-in will be told; a real-time clock runs
// while playing, for the demo and for listening.

#include <cstdint>
#include <functional>

class PlayerClock {
 public:
  // Milliseconds since some fixed start; the default reads the system tick count.
  using TickSource = std::function<int64_t()>;

  explicit PlayerClock(bool realTime = false, TickSource ticks = nullptr);

  void SetRealTime(bool realTime);
  bool RealTime() const { return realTime_; }
  // Running: the real-time clock advances (playing, not paused).
  void Run();
  void Halt();
  void Set(int ms);
  int Get() const;

 private:
  int64_t Now() const;

  bool realTime_;
  TickSource ticks_;
  bool running_ = false;
  int baseMs_ = 0;
  int64_t baseTick_ = 0;
};
