#include "settings/ColorCodec.h"

#include <cctype>

std::string FormatIniColor(ColorValue color) {
  static const char kDigits[] = "0123456789ABCDEF";
  uint32_t value = SwapRedBlue(color);
  char buffer[9];
  char* end = buffer + sizeof buffer;
  char* out = end;
  do {
    *--out = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  return std::string(out, end);
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

uint32_t ParseHexNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      HexDigit(text[i + 2]) >= 0) {
    i += 2;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (int digit; i < text.size() && (digit = HexDigit(text[i])) >= 0; ++i) {
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;
    }
  }
  if (overflow) return 0xFFFFFFFFu;
  const uint32_t result = static_cast<uint32_t>(value);
  return negative ? 0u - result : result;
}

bool ApplyIniColor(const std::string& text, ColorValue& color) {
  const uint32_t number = ParseHexNumber(text);
  if (number == kMissingColorText) return false;
  color = SwapRedBlue(number);
  return true;
}
