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

WString AnsiToWide(const char* bytes, size_t count) {
  const void* nul = count ? std::memchr(bytes, 0, count) : nullptr;
  if (nul) count = static_cast<size_t>(static_cast<const char*>(nul) - bytes);
  WString out;
  if (!count) return out;
  std::lock_guard<std::mutex> lock(gMutex);
  Converters& conv = ConvertersFor(gCodePage);
  if (conv.toWide == reinterpret_cast<iconv_t>(-1)) {
    // An unknown code page: keep ASCII, replace the rest.
    for (size_t i = 0; i < count; ++i)
      out.Append(static_cast<unsigned char>(bytes[i]) < 0x80 ? static_cast<WChar>(bytes[i]) : WChar(0xFFFD));
    return out;
  }
  std::string buffer(count * 2 + 8, '\0');
  char* in = const_cast<char*>(bytes);
  size_t inLeft = count;
  char* outPtr = &buffer[0];
  size_t outLeft = buffer.size();
  iconv(conv.toWide, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    size_t r = iconv(conv.toWide, &in, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(outPtr - &buffer[0]);
      buffer.resize(buffer.size() * 2);
      outPtr = &buffer[0] + used;
      outLeft = buffer.size() - used;
      continue;
    }
    // An invalid or truncated sequence: one replacement character for its first
    // byte, then go on with the next.
    if (outLeft < 2) {
      size_t used = static_cast<size_t>(outPtr - &buffer[0]);
      buffer.resize(buffer.size() * 2);
      outPtr = &buffer[0] + used;
      outLeft = buffer.size() - used;
    }
    outPtr[0] = static_cast<char>(0xFD);
    outPtr[1] = static_cast<char>(0xFF);
    outPtr += 2;
    outLeft -= 2;
    ++in;
    --inLeft;
    iconv(conv.toWide, nullptr, nullptr, nullptr, nullptr);
  }
  size_t units = static_cast<size_t>(outPtr - &buffer[0]) / 2;
  WChar* data = out.ResizeForOverwrite(units);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(buffer.data());
  for (size_t i = 0; i < units; ++i) data[i] = static_cast<WChar>(p[2 * i] | (p[2 * i + 1] << 8));
  return out;
}

std::string WideToAnsi(const WChar* text, size_t length) {
  std::string out;
  if (!length) return out;
  std::lock_guard<std::mutex> lock(gMutex);
  Converters& conv = ConvertersFor(gCodePage);
  std::string input(length * 2, '\0');
  for (size_t i = 0; i < length; ++i) {
    input[2 * i] = static_cast<char>(text[i] & 0xFF);
    input[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  if (conv.toAnsi == reinterpret_cast<iconv_t>(-1)) {
    for (size_t i = 0; i < length; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return out;
  }
  out.resize(length * 4 + 8);
  char* in = &input[0];
  size_t inLeft = input.size();
  char* outPtr = &out[0];
  size_t outLeft = out.size();
  iconv(conv.toAnsi, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    size_t r = iconv(conv.toAnsi, &in, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(outPtr - &out[0]);
      out.resize(out.size() * 2);
      outPtr = &out[0] + used;
      outLeft = out.size() - used;
      continue;
    }
    // Unrepresentable (or a lone surrogate): the code page's default character.
    if (outLeft < 1) {
      size_t used = static_cast<size_t>(outPtr - &out[0]);
      out.resize(out.size() * 2);
      outPtr = &out[0] + used;
      outLeft = out.size() - used;
    }
    *outPtr++ = '?';
    --outLeft;
    // Skip the whole character: a surrogate pair is two units.
    unsigned unit = static_cast<unsigned char>(in[0]) | (static_cast<unsigned char>(in[1]) << 8);
    size_t skip = (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) ? 4 : 2;
    in += skip;
    inLeft -= skip;
    iconv(conv.toAnsi, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(static_cast<size_t>(outPtr - &out[0]));
  return out;
}
