#pragma once
// Colours live in memory as Win32 colour values 0x00BBGGRR and on disk as the number
// 0xRRGGBB in upper-case hexadecimal, so that plugin.ini reads like HTML colours:
// red (0x000000FF) is written "FF0000". Portable, so the rules are tested natively.

#include <cstdint>
#include <string>

using ColorValue = uint32_t;

// Swaps byte 0 and byte 2; its own inverse.
constexpr ColorValue SwapRedBlue(ColorValue color) {
  return (color & 0xFF00FF00u) | ((color & 0xFFu) << 16) | ((color >> 16) & 0xFFu);
}

// The disk form: "%X" of the swapped value (no prefix, no leading zeros, "0" for black).
std::string FormatIniColor(ColorValue color);

// The all-ones value that a missing key reads as; it never replaces a colour.
constexpr uint32_t kMissingColorText = 0xFFFFFFFFu;

// Parses text as an unsigned hexadecimal number the way strtoul does with a 32-bit
// unsigned long (leading blanks, optional sign and "0x", stops at the first other
// character, saturates on overflow); text that does not start with a number gives 0.
uint32_t ParseHexNumber(const std::string& text);

// Applies what the settings file says to a colour: the all-ones number (a missing key
// or "FFFFFFFF") keeps the colour; anything else is swapped back to 0x00BBGGRR.
// Answers whether the colour changed source (false: kept).
bool ApplyIniColor(const std::string& text, ColorValue& color);
