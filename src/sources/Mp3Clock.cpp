#include "sources/Mp3Clock.h"

#include <limits>

namespace {

// MP3 is 8 to 48 kHz; anything up to 192 kHz is still a rate the arithmetic handles.
// Zero, or a negative rate, would divide by zero on the next write.
constexpr int kMinRateKHz = 1, kMaxRateKHz = 192;
// Zero channels would make a frame zero bytes long: a division by zero on the next write.
constexpr int kMinChannels = 1, kMaxChannels = 8;
constexpr int kUnchanged = -1;

int32_t ClampToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

bool ApplyStreamInfo(Mp3StreamFormat& format, int sampleRateKHz, int channels) {
  bool rateOk = sampleRateKHz == kUnchanged || (sampleRateKHz >= kMinRateKHz && sampleRateKHz <= kMaxRateKHz);
  bool channelsOk = channels == kUnchanged || (channels >= kMinChannels && channels <= kMaxChannels);
  // Half a report is no report: a garbled call changes nothing.
  if (!rateOk || !channelsOk) return false;
  if (channels != kUnchanged) format.channels = channels;
  switch (sampleRateKHz) {
    case kUnchanged: break;
    // The decoder reports whole kHz; these three are the CD-rate family.
    case 11: format.sampleRate = 11025; break;
    case 22: format.sampleRate = 22050; break;
    case 44: format.sampleRate = 44100; break;
    default: format.sampleRate = sampleRateKHz * 1000; break;
  }
  return true;
}

bool Mp3Clock::SetStreamInfo(int sampleRateKHz, int channels) {
  Mp3StreamFormat next = format_;
  if (!ApplyStreamInfo(next, sampleRateKHz, channels)) return false;
  // The decoder reports its stream information again and again while it plays (the
  // bit rate of a VBR file moves); only a real change of rate needs the fold.
  if (next.sampleRate != format_.sampleRate && frames_ != 0) Restart(Milliseconds());
  if (next.channels != format_.channels) carryBytes_ = 0;
  format_ = next;
  return true;
}

void Mp3Clock::Restart(int32_t baseMs) { Set(baseMs, 0); }

void Mp3Clock::Set(int32_t baseMs, int64_t frames) {
  base_ = baseMs;
  frames_ = frames < 0 ? 0 : frames;
  carryBytes_ = 0;
}

void Mp3Clock::Advance(int bytes) {
  if (bytes <= 0) return;
  int frameBytes = format_.FrameBytes();
  int64_t total = static_cast<int64_t>(bytes) + carryBytes_;
  int64_t frames = total / frameBytes;
  carryBytes_ = static_cast<int>(total % frameBytes);
  if (mode_ == Mp3ClockMode::kFrames) {
    frames_ += frames;
  } else {
    base_ = ClampToInt32(base_ + frames * 1000 / format_.sampleRate);
  }
}

int32_t Mp3Clock::Milliseconds() const { return ClampToInt32(frames_ * 1000 / format_.sampleRate + base_); }
