#pragma once
// Plays a PCM WAV file through waveOut where the machine has a sound device. Where
// it has none (Wine on a build machine), opening fails and the player goes on by
// its clock alone, silently: the position the plug-in sees never depends on audio.

#include <windows.h>

#include <string>
#include <vector>

// The format and sample data of a RIFF WAVE file, or nothing for other files.
struct WaveFile {
  WAVEFORMATEX format = {};
  std::vector<char> data;
  int LengthMs() const;
};

bool ReadWaveFile(const std::string& ansiPath, WaveFile& wave);
// The canonical 44-byte header followed by the samples.
bool WriteWaveFile(const std::string& ansiPath, const WAVEFORMATEX& format, const std::vector<char>& data);

class WavePlayback {
 public:
  WavePlayback() = default;
  ~WavePlayback() { Stop(); }
  WavePlayback(const WavePlayback&) = delete;
  WavePlayback& operator=(const WavePlayback&) = delete;

  // Starts the file at a position; false when it is not a WAV file or there is no
  // sound device (then nothing is held open).
  bool Start(const std::string& ansiPath, int fromMs);
  void Pause();
  void Resume();
  void Stop();
  bool Audible() const { return device_ != nullptr; }

 private:
  HWAVEOUT device_ = nullptr;
  WAVEHDR header_ = {};
  WaveFile wave_;
};
