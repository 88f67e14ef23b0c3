// The ANSI code page off Windows: iconv between "CP<n>" and UTF-16LE. Shift-JIS
// (932) unless SetAnsiCodePage chose another.
#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <mutex>
#include <string>

#include "base/CodePage.h"
#include "base/Utf8.h"

namespace {

unsigned gCodePage = 932;

std::string IconvName(unsigned codePage) {
  if (codePage == 65001) return "UTF-8";
  if (codePage == 20127) return "ASCII";
  return "CP" + std::to_string(codePage);
}

// One converter pair per code page, opened on first use and kept: iconv_open is
// far more expensive than a conversion.
struct Converters {
  unsigned codePage = 0;
  iconv_t toWide = reinterpret_cast<iconv_t>(-1);
  iconv_t toAnsi = reinterpret_cast<iconv_t>(-1);
};

std::mutex gMutex;
Converters gConverters;

Converters& ConvertersFor(unsigned codePage) {
  if (gConverters.codePage != codePage) {
    if (gConverters.toWide != reinterpret_cast<iconv_t>(-1)) iconv_close(gConverters.toWide);
    if (gConverters.toAnsi != reinterpret_cast<iconv_t>(-1)) iconv_close(gConverters.toAnsi);
    std::string name = IconvName(codePage);
    gConverters.toWide = iconv_open("UTF-16LE", name.c_str());
    gConverters.toAnsi = iconv_open(name.c_str(), "UTF-16LE");
    gConverters.codePage = codePage;
  }
  return gConverters;
}


}  // namespace

bool SetAnsiCodePage(unsigned codePage) {
  std::lock_guard<std::mutex> lock(gMutex);
  Converters& conv = ConvertersFor(codePage);
  if (conv.toWide == reinterpret_cast<iconv_t>(-1) || conv.toAnsi == reinterpret_cast<iconv_t>(-1)) {
    ConvertersFor(gCodePage);
    return false;
  }
  gCodePage = codePage;
  return true;
}

unsigned AnsiCodePage() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gCodePage;
}

// Runs iconv over the whole input. Where it meets a sequence it cannot convert,
// replace appends a substitute to out and answers how many input bytes to skip.
template <typename Replace>
std::string RunIconv(iconv_t converter, const char* input, size_t inputSize, size_t outputGuess, Replace replace) {
  std::string out(outputGuess + 8, '\0');
  size_t used = 0;
  char* in = const_cast<char*>(input);
  size_t inLeft = inputSize;
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // No converter on this system: every character is one the code page lacks.
    out.clear();
    while (inLeft > 0) {
      size_t skip = replace(in, inLeft, out);
      in += skip;
      inLeft -= skip;
    }
    return out;
  }
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (out.size() - used < 8) out.resize(out.size() * 2);
    char* outPtr = &out[used];
    size_t outLeft = out.size() - used;
    size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    used = out.size() - outLeft;
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    out.resize(used);
    size_t skip = replace(in, inLeft, out);
    used = out.size();
    out.resize(used + outputGuess / 2 + 8);
    in += skip;
    inLeft -= skip;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
  return out;
}

WString AnsiToWide(const char* bytes, size_t count) {
  const void* nul = count ? std::memchr(bytes, 0, count) : nullptr;
  if (nul) count = static_cast<size_t>(static_cast<const char*>(nul) - bytes);
  WString out;
  if (!count) return out;
  std::lock_guard<std::mutex> lock(gMutex);
  Converters& conv = ConvertersFor(gCodePage);
  // An invalid or truncated sequence: one replacement character for its first
  // byte, then go on with the next.
  std::string utf16 = RunIconv(conv.toWide, bytes, count, count * 2, [](const char*, size_t, std::string& to) {
    to += "\xFD\xFF";
    return size_t(1);
  });
  size_t units = utf16.size() / 2;
  WChar* data = out.ResizeForOverwrite(units);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(utf16.data());
  for (size_t i = 0; i < units; ++i) data[i] = static_cast<WChar>(p[2 * i] | (p[2 * i + 1] << 8));
  return out;
}

std::string WideToAnsi(const WChar* text, size_t length) {
  if (!length) return std::string();
  std::lock_guard<std::mutex> lock(gMutex);
  Converters& conv = ConvertersFor(gCodePage);
  std::string input(length * 2, '\0');
  for (size_t i = 0; i < length; ++i) {
    input[2 * i] = static_cast<char>(text[i] & 0xFF);
    input[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  // Unrepresentable (or a lone surrogate): the code page's default character, once
  // for the whole character (a surrogate pair is two units).
  return RunIconv(conv.toAnsi, input.data(), input.size(), length * 2, [](const char* in, size_t inLeft, std::string& to) {
    to += '?';
    unsigned unit = static_cast<unsigned char>(in[0]) | (static_cast<unsigned char>(in[1]) << 8);
    return (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) ? size_t(4) : size_t(2);
  });
}
