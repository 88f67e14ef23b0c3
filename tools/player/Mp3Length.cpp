#include "player/Mp3Length.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr size_t kFrameHeaderSize = 4;
constexpr size_t kId3v2HeaderSize = 10;
constexpr size_t kId3v1Size = 128;
constexpr size_t kLyrics3v2Trailer = 15;  // six-digit size, then "LYRICS200"
constexpr size_t kLyrics3v1MaxSize = 5100 + 20;  // text, "LYRICSBEGIN" and "LYRICSEND"
constexpr size_t kApeFooterSize = 32;

// Kilobits a second by [MPEG-1 or not][layer - 1][index]; index 0 (free format) is
// not walked, since its frames have no size to step by.
constexpr int kBitrates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
constexpr int kMpeg1SampleRates[3] = {44100, 48000, 32000};

struct FrameHeader {
  uint32_t stream;  // version, layer and sample rate: the same in every frame of a stream
  int layer;
  bool mpeg1;
  bool crc;
  bool mono;
  int sampleRate;
  int samples;
  size_t bytes;
};

bool ParseFrameHeader(const unsigned char* p, FrameHeader& h) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int versionBits = (p[1] >> 3) & 3;  // 0 MPEG-2.5, 1 reserved, 2 MPEG-2, 3 MPEG-1
  int layerBits = (p[1] >> 1) & 3;    // 0 reserved, 1 Layer III, 2 Layer II, 3 Layer I
  int bitrateIndex = p[2] >> 4;
  int rateIndex = (p[2] >> 2) & 3;
  if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
    return false;
  }
  h.stream = (static_cast<uint32_t>(p[1] & 0x1E) << 8) | (p[2] & 0x0C);
  h.layer = 4 - layerBits;
  h.mpeg1 = versionBits == 3;
  h.crc = (p[1] & 1) == 0;
  h.mono = (p[3] >> 6) == 3;
  h.sampleRate = kMpeg1SampleRates[rateIndex] / (h.mpeg1 ? 1 : versionBits == 2 ? 2 : 4);
  int bitrate = kBitrates[h.mpeg1 ? 0 : 1][h.layer - 1][bitrateIndex] * 1000;
  int padding = (p[2] >> 1) & 1;
  if (h.layer == 1) {
    h.samples = 384;
    h.bytes = static_cast<size_t>((12 * bitrate / h.sampleRate + padding) * 4);
  } else {
    bool halfFrames = h.layer == 3 && !h.mpeg1;  // MPEG-2 Layer III frames hold one granule
    h.samples = halfFrames ? 576 : 1152;
    h.bytes = static_cast<size_t>((halfFrames ? 72 : 144) * bitrate / h.sampleRate + padding);
  }
  return true;
}

// An encoder's Xing, Info or VBRI frame describes the stream and plays nothing.
bool IsInfoFrame(const unsigned char* frame, const FrameHeader& h) {
  if (h.layer != 3) return false;
  size_t sideInfo = h.mpeg1 ? (h.mono ? 17 : 32) : (h.mono ? 9 : 17);
  size_t xing = kFrameHeaderSize + (h.crc ? 2 : 0) + sideInfo;
  if (xing + 4 <= h.bytes &&
      (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0)) {
    return true;
  }
  constexpr size_t kVbri = kFrameHeaderSize + 32;
  return kVbri + 4 <= h.bytes && std::memcmp(frame + kVbri, "VBRI", 4) == 0;
}

bool Matches(const unsigned char* data, size_t size, size_t at, const char* text) {
  size_t length = std::strlen(text);
  return at <= size && length <= size - at && std::memcmp(data + at, text, length) == 0;
}

// Where the audio starts: past any ID3v2 tags (taggers sometimes stack them).
size_t SkipId3v2(const unsigned char* data, size_t size) {
  size_t pos = 0;
  while (Matches(data, size, pos, "ID3") && size - pos >= kId3v2HeaderSize) {
    const unsigned char* h = data + pos;
    if (h[3] == 0xFF || h[4] == 0xFF || ((h[6] | h[7] | h[8] | h[9]) & 0x80)) break;
    size_t body = (static_cast<size_t>(h[6]) << 21) | (h[7] << 14) | (h[8] << 7) | h[9];
    size_t tag = kId3v2HeaderSize + body + ((h[5] & 0x10) ? kId3v2HeaderSize : 0);  // a 2.4 footer
    if (tag > size - pos) return size;
    pos += tag;
  }
  return pos;
}

size_t Lyrics3v2Start(const unsigned char* data, size_t begin, size_t end) {
  if (end - begin < kLyrics3v2Trailer || !Matches(data, end, end - 9, "LYRICS200")) return end;
  size_t textSize = 0;
  for (size_t i = end - kLyrics3v2Trailer; i < end - 9; ++i) {
    if (data[i] < '0' || data[i] > '9') return end;
    textSize = textSize * 10 + (data[i] - '0');
  }
  size_t block = textSize + kLyrics3v2Trailer;
  if (block > end - begin || !Matches(data, end, end - block, "LYRICSBEGIN")) return end;
  return end - block;
}

// Version 1 gives no size: its start is found by searching back for it.
size_t Lyrics3v1Start(const unsigned char* data, size_t begin, size_t end) {
  if (end - begin < 20 || !Matches(data, end, end - 9, "LYRICSEND")) return end;
  size_t lowest = end - begin > kLyrics3v1MaxSize ? end - kLyrics3v1MaxSize : begin;
  for (size_t at = end - 20; at + 1 > lowest; --at) {
    if (Matches(data, end, at, "LYRICSBEGIN")) return at;
  }
  return end;
}

// An APEv2 tag's size counts its items and footer; a header before them is extra.
size_t ApeStart(const unsigned char* data, size_t begin, size_t end) {
  if (end - begin < kApeFooterSize || !Matches(data, end, end - kApeFooterSize, "APETAGEX")) return end;
  const unsigned char* footer = data + end - kApeFooterSize;
  auto le32 = [](const unsigned char* p) {
    return static_cast<size_t>(p[0]) | (p[1] << 8) | (p[2] << 16) | (static_cast<size_t>(p[3]) << 24);
  };
  size_t tag = le32(footer + 12) + ((footer[23] & 0x80) ? kApeFooterSize : 0);
  return tag <= end - begin ? end - tag : end;
}

// Where the audio ends: before the tags that follow it (ID3v1 last of all).
size_t StreamEnd(const unsigned char* data, size_t begin, size_t size) {
  size_t end = size;
  if (end - begin >= kId3v1Size && Matches(data, end, end - kId3v1Size, "TAG")) end -= kId3v1Size;
  size_t lyrics = Lyrics3v2Start(data, begin, end);
  end = lyrics != end ? lyrics : Lyrics3v1Start(data, begin, end);
  return ApeStart(data, begin, end);
}

// A first frame is only believed when the next one starts where it ends (or the
// stream ends there): a lone 0xFF 0xE? pair in a tag or in junk is no stream.
bool ConfirmedByNext(const unsigned char* data, size_t at, size_t end, const FrameHeader& h) {
  size_t next = at + h.bytes;
  if (end - next < kFrameHeaderSize) return true;
  FrameHeader following;
  return ParseFrameHeader(data + next, following) && following.stream == h.stream;
}

}  // namespace

int MpegAudioLengthMs(const unsigned char* data, size_t size) {
  if (!data) return -1;
  size_t pos = SkipId3v2(data, size);
  size_t end = StreamEnd(data, pos, size);
  bool locked = false;
  FrameHeader first{};
  uint64_t samples = 0;
  while (pos < end && end - pos >= kFrameHeaderSize) {
    FrameHeader h;
    bool frame = ParseFrameHeader(data + pos, h) && h.bytes <= end - pos &&
                 (locked ? h.stream == first.stream : ConfirmedByNext(data, pos, end, h));
    if (!frame) {
      ++pos;  // junk or a cut frame: look for the next sync
      continue;
    }
    if (!locked) {
      locked = true;
      first = h;
      if (IsInfoFrame(data + pos, h)) {
        pos += h.bytes;
        continue;
      }
    }
    samples += static_cast<uint64_t>(h.samples);
    pos += h.bytes;
  }
  if (!locked) return -1;
  uint64_t ms = samples * 1000 / static_cast<uint64_t>(first.sampleRate);
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

int MpegAudioFileLengthMs(const std::string& ansiPath) {
  std::ifstream in(ansiPath, std::ios::binary);
  if (!in) return -1;
  std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return MpegAudioLengthMs(file.data(), file.size());
}
