#include "player/WavePlayback.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t ReadU32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

int WaveFile::LengthMs() const {
  if (format.nAvgBytesPerSec == 0) return -1;
  return static_cast<int>(static_cast<uint64_t>(data.size()) * 1000 / format.nAvgBytesPerSec);
}

// RIFF chunks are walked one by one: "fmt " gives the format, "data" the samples.
// Sizes come from the file, so each is checked against what is left of it.
bool ReadWaveFile(const std::string& ansiPath, WaveFile& wave) {
  std::ifstream in(ansiPath, std::ios::binary);
  if (!in) return false;
  std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= file.size()) {
    uint32_t size = ReadU32(file.data() + pos + 4);
    size_t body = pos + 8;
    if (size > file.size() - body) size = static_cast<uint32_t>(file.size() - body);
    if (std::memcmp(file.data() + pos, "fmt ", 4) == 0 && size >= 16) {
      std::memcpy(&wave.format, file.data() + body, 16);
      wave.format.cbSize = 0;
      haveFormat = wave.format.wFormatTag == WAVE_FORMAT_PCM;
    } else if (std::memcmp(file.data() + pos, "data", 4) == 0) {
      wave.data.assign(file.begin() + body, file.begin() + body + size);
      return haveFormat;
    }
    pos = body + size + (size & 1);  // chunks are padded to even sizes
  }
  return false;
}

bool WriteWaveFile(const std::string& ansiPath, const WAVEFORMATEX& format, const std::vector<char>& data) {
  std::string header = "RIFF";
  PutU32(header, static_cast<uint32_t>(36 + data.size()));
  header += "WAVEfmt ";
  PutU32(header, 16);
  header.append(reinterpret_cast<const char*>(&format), 16);
  header += "data";
  PutU32(header, static_cast<uint32_t>(data.size()));
  std::ofstream out(ansiPath, std::ios::binary);
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out);
}

bool WavePlayback::Start(const std::string& ansiPath, int fromMs) {
  Stop();
  wave_ = WaveFile();
  if (!ReadWaveFile(ansiPath, wave_) || wave_.format.nBlockAlign == 0) return false;
  if (waveOutOpen(&device_, WAVE_MAPPER, &wave_.format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  uint64_t offset = static_cast<uint64_t>(fromMs < 0 ? 0 : fromMs) * wave_.format.nAvgBytesPerSec / 1000;
  offset -= offset % wave_.format.nBlockAlign;
  if (offset >= wave_.data.size()) return true;  // open, nothing left to play
  header_ = WAVEHDR();
  header_.lpData = wave_.data.data() + offset;
  header_.dwBufferLength = static_cast<DWORD>(wave_.data.size() - offset);
  if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR ||
      waveOutWrite(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) {
    Stop();
    return false;
  }
  return true;
}

void WavePlayback::Pause() {
  if (device_) waveOutPause(device_);
}

void WavePlayback::Resume() {
  if (device_) waveOutRestart(device_);
}

void WavePlayback::Stop() {
  if (!device_) return;
  waveOutReset(device_);
  if (header_.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &header_, sizeof header_);
  header_ = WAVEHDR();
  waveOutClose(device_);
  device_ = nullptr;
}
