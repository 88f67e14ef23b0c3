#include "karaoke/core/SurfaceColours.h"

#include <algorithm>

namespace {

uint32_t MoveChannel(uint32_t colour, int channel, int delta) {
  const int shift = channel * 8;
  const int value = std::clamp(static_cast<int>((colour >> shift) & 0xFF) + delta, 0, 255);
  return (colour & ~(0xFFu << shift)) | (static_cast<uint32_t>(value) << shift);
}

}  // namespace

uint32_t NearColourWithOtherPixel(uint32_t wanted, std::initializer_list<uint32_t> avoid, const PixelValueOf& pixelOf) {
  wanted &= 0xFFFFFF;
  auto differs = [&](uint32_t colour) {
    return std::find(avoid.begin(), avoid.end(), pixelOf(colour)) == avoid.end();
  };
  if (differs(wanted)) return wanted;
  // Steps of 8 and more survive the 5 bits a channel has in 15- and 16-bit modes:
  // each channel alone first, then all three together, in growing steps.
  for (int step = 8; step <= 128; step *= 2) {
    for (int channel : {1, 2, 0}) {
      for (int sign : {1, -1}) {
        const uint32_t candidate = MoveChannel(wanted, channel, sign * step);
        if (differs(candidate)) return candidate;
      }
    }
    for (int sign : {1, -1}) {
      uint32_t candidate = wanted;
      for (int channel = 0; channel < 3; ++channel) candidate = MoveChannel(candidate, channel, sign * step);
      if (differs(candidate)) return candidate;
    }
  }
  return wanted;
}

OutlineColours PairColours(uint32_t text, uint32_t edge, uint32_t mask, const PixelValueOf& pixelOf) {
  auto masked = [&](uint32_t colour) { return pixelOf(colour) & mask; };
  OutlineColours colours;
  colours.mask = mask;
  colours.text = masked(text);
  colours.edge = masked(NearColourWithOtherPixel(edge, {colours.text}, masked));
  return colours;
}

// The fill lies near an edge colour: where a blit cannot honour the key, a box in
// about the edge's colour shows rather than a stray one.
void ChooseFill(uint32_t nearColour, std::initializer_list<OutlineColours*> pairs, const PixelValueOf& pixelOf) {
  if (pairs.size() == 0) return;
  const uint32_t mask = (*pairs.begin())->mask;
  auto masked = [&](uint32_t colour) { return pixelOf(colour) & mask; };
  uint32_t avoid[4] = {};
  size_t n = 0;
  for (const OutlineColours* pair : pairs) {
    if (n + 2 > 4) break;
    avoid[n++] = pair->text;
    avoid[n++] = pair->edge;
  }
  const uint32_t a = avoid[0], b = avoid[1], c = n > 2 ? avoid[2] : a, d = n > 2 ? avoid[3] : b;
  const uint32_t fill = masked(NearColourWithOtherPixel(nearColour, {a, b, c, d}, masked));
  for (OutlineColours* pair : pairs) pair->fill = fill;
}
