#include "player/PlayerClock.h"

#include <windows.h>

PlayerClock::PlayerClock(bool realTime, TickSource ticks)
    : realTime_(realTime), ticks_(std::move(ticks)) {}

int64_t PlayerClock::Now() const {
  return ticks_ ? ticks_() : static_cast<int64_t>(GetTickCount64());
}

void PlayerClock::SetRealTime(bool realTime) {
  int ms = Get();
  realTime_ = realTime;
  Set(ms);
}

void PlayerClock::Run() {
  if (running_) return;
  baseMs_ = Get();
  baseTick_ = Now();
  running_ = true;
}

void PlayerClock::Halt() {
  baseMs_ = Get();
  running_ = false;
}

void PlayerClock::Set(int ms) {
  baseMs_ = ms;
  baseTick_ = Now();
}

int PlayerClock::Get() const {
  if (!realTime_ || !running_) return baseMs_;
  return baseMs_ + static_cast<int>(Now() - baseTick_);
}
