#include "base/Utf8.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(WString& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    WChar pair[2] = {static_cast<WChar>(0xD800 + (cp >> 10)), static_cast<WChar>(0xDC00 + (cp & 0x3FF))};
    out.Append(pair, 2);
  } else {
    out.Append(static_cast<WChar>(cp));
  }
}
}  // namespace

WString Utf8ToWide(std::string_view utf8) {
  WString out;
  out.Reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t n = utf8.size(), i = 0;
  while (i < n) {
    unsigned c = s[i];
    if (c < 0x80) {
      out.Append(static_cast<WChar>(c));
      ++i;
      continue;
    }
    size_t extra;
    char32_t cp, least;
    if (c >= 0xC2 && c <= 0xDF) extra = 1, cp = c & 0x1F, least = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2, cp = c & 0x0F, least = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3, cp = c & 0x07, least = 0x10000;
    else {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    size_t j = 1;
    for (; j <= extra && i + j < n && (s[i + j] & 0xC0) == 0x80; ++j) cp = (cp << 6) | (s[i + j] & 0x3F);
    if (j <= extra || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      // One replacement per maximal bad prefix, then resynchronise.
      AppendCodePoint(out, kReplacement);
      i += j;
      continue;
    }
    AppendCodePoint(out, cp);
    i += j;
  }
  return out;
}

std::string WideToUtf8(const WChar* text, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}
