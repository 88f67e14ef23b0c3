#include "base/WString.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/CodePage.h"
#include "base/Utf8.h"

namespace {

size_t LengthOf(const WChar* text) {
  size_t n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

}  // namespace

WString::Rep* WString::NewRep(size_t capacity) {
  // Lyrics are at most a few hundred kilobytes; anything near 4 G units is a bug.
  if (capacity >= 0x7FFFFFF0u) throw std::bad_alloc();
  void* memory = std::malloc(offsetof(Rep, data) + (capacity + 1) * sizeof(WChar));
  if (!memory) throw std::bad_alloc();
  Rep* rep = static_cast<Rep*>(memory);
  new (&rep->refs) std::atomic<int>(1);
  rep->capacity = capacity;
  return rep;
}

void WString::Release(Rep* rep) noexcept {
  if (rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    rep->refs.~atomic();
    std::free(rep);
  }
}

WString::WString(const WChar* text) : WString(text, LengthOf(text)) {}

WString::WString(const WChar* text, size_t length) {
  inline_[0] = 0;
  Assign(text, length);
}

WString::WString(size_t count, WChar c) {
  inline_[0] = 0;
  WChar* data = MutableData(count);
  for (size_t i = 0; i < count; ++i) data[i] = c;
  SetLength(count);
}

WString::WString(const WString& other) noexcept : length_(other.length_), heap_(other.heap_) {
  if (heap_) {
    rep_ = other.rep_;
    rep_->refs.fetch_add(1, std::memory_order_relaxed);
  } else {
    std::memcpy(inline_, other.inline_, sizeof(inline_));
  }
}

WString::WString(WString&& other) noexcept { TakeFrom(other); }

// Moves other's content into this empty string and leaves other empty.
void WString::TakeFrom(WString& other) noexcept {
  length_ = other.length_;
  heap_ = other.heap_;
  if (heap_) {
    rep_ = other.rep_;
    other.heap_ = false;
  } else {
    std::memcpy(inline_, other.inline_, sizeof(inline_));
  }
  other.inline_[0] = 0;
  other.length_ = 0;
  other.DropAnsi();
}

WString& WString::operator=(const WString& other) noexcept {
  if (this != &other) {
    WString copy(other);
    *this = std::move(copy);
  }
  return *this;
}

WString& WString::operator=(WString&& other) noexcept {
  if (this == &other) return *this;
  if (heap_) Release(rep_);
  DropAnsi();
  TakeFrom(other);
  return *this;
}

WString::~WString() {
  if (heap_) Release(rep_);
  DropAnsi();
}

void WString::DropAnsi() const noexcept {
  // Almost no string ever has an ANSI copy; skip the call to free for them.
  if (!ansi_) return;
  std::free(ansi_);
  ansi_ = nullptr;
}

WChar* WString::MutableData(size_t neededLength) {
  DropAnsi();
  if (!heap_) {
    if (neededLength <= kInlineCapacity) return inline_;
    Rep* rep = NewRep(neededLength < 32 ? 32 : neededLength);
    std::memcpy(rep->data, inline_, (length_ + 1) * sizeof(WChar));
    rep_ = rep;
    heap_ = true;
    return rep_->data;
  }
  bool shared = rep_->refs.load(std::memory_order_acquire) != 1;
  if (!shared && neededLength <= rep_->capacity) return rep_->data;
  size_t capacity = rep_->capacity;
  if (neededLength > capacity) capacity = neededLength + neededLength / 2;
  Rep* rep = NewRep(capacity);
  std::memcpy(rep->data, rep_->data, (length_ + 1) * sizeof(WChar));
  Release(rep_);
  rep_ = rep;
  return rep_->data;
}

void WString::SetLength(size_t length) noexcept {
  length_ = static_cast<uint32_t>(length);
  (heap_ ? rep_->data : inline_)[length] = 0;
}

void WString::Reserve(size_t capacity) {
  if (capacity > length_) {
    size_t length = length_;
    MutableData(capacity);
    SetLength(length);
  }
}

WChar* WString::ResizeForOverwrite(size_t length) {
  if (length > length_) {
    size_t old = length_;
    MutableData(length);
    SetLength(old);
  }
  WChar* data = MutableData(length);
  SetLength(length);
  return data;
}

WString& WString::Assign(const WChar* text, size_t length) {
  if (!heap_ && length <= kInlineCapacity) {  // the common short case: stamps
    DropAnsi();
    if (text >= inline_ && text <= inline_ + kInlineCapacity) {
      std::memmove(inline_, text, length * sizeof(WChar));  // a piece of ourselves
    } else {
      // Two fixed-size, possibly overlapping copies compile to plain moves; stamps
      // are 7 or 10 units.
      if (length >= 8) {
        std::memcpy(inline_, text, 8 * sizeof(WChar));
        std::memcpy(inline_ + length - 4, text + length - 4, 4 * sizeof(WChar));
      } else if (length >= 4) {
        std::memcpy(inline_, text, 4 * sizeof(WChar));
        std::memcpy(inline_ + length - 4, text + length - 4, 4 * sizeof(WChar));
      } else {
        for (size_t i = 0; i < length; ++i) inline_[i] = text[i];
      }
    }
    SetLength(length);
    return *this;
  }
  if (heap_ && text >= rep_->data && text <= rep_->data + length_) {
    WString copy(text, length);  // assigning a piece of ourselves
    return *this = std::move(copy);
  }
  if (heap_ && rep_->refs.load(std::memory_order_acquire) != 1) {
    Release(rep_);
    heap_ = false;
  }
  length_ = 0;
  WChar* data = MutableData(length);
  if (length) std::memcpy(data, text, length * sizeof(WChar));
  SetLength(length);
  return *this;
}

WString& WString::Append(const WChar* text, size_t length) {
  if (!length) return *this;
  if (text >= CStr() && text <= CStr() + length_) {
    WString copy(text, length);
    return Append(copy.CStr(), length);
  }
  size_t old = length_;
  WChar* data = MutableData(old + length);
  std::memcpy(data + old, text, length * sizeof(WChar));
  SetLength(old + length);
  return *this;
}

WString& WString::AppendAscii(std::string_view ascii) {
  size_t old = length_;
  WChar* data = MutableData(old + ascii.size());
  for (size_t i = 0; i < ascii.size(); ++i) data[old + i] = static_cast<unsigned char>(ascii[i]);
  SetLength(old + ascii.size());
  return *this;
}

WString& WString::Insert(size_t at, const WString& other) {
  if (at > length_) at = length_;
  if (other.IsEmpty()) return *this;
  WString piece(other);  // other may be *this
  size_t old = length_, n = piece.length_;
  WChar* data = MutableData(old + n);
  std::memmove(data + at + n, data + at, (old - at) * sizeof(WChar));
  std::memcpy(data + at, piece.CStr(), n * sizeof(WChar));
  SetLength(old + n);
  return *this;
}

WString& WString::Erase(size_t start, size_t count) {
  if (start >= length_) return *this;
  if (count > length_ - start) count = length_ - start;
  if (!count) return *this;
  size_t old = length_;
  WChar* data = MutableData(old);
  std::memmove(data + start, data + start + count, (old - start - count) * sizeof(WChar));
  SetLength(old - count);
  return *this;
}

void WString::Clear() noexcept {
  if (heap_) Release(rep_);
  heap_ = false;
  length_ = 0;
  inline_[0] = 0;
  DropAnsi();
}

size_t WString::Find(WChar c, size_t from) const noexcept {
  const WChar* data = CStr();
  for (size_t i = from; i < length_; ++i)
    if (data[i] == c) return i;
  return npos;
}

size_t WString::FindLast(WChar c) const noexcept {
  const WChar* data = CStr();
  for (size_t i = length_; i-- > 0;)
    if (data[i] == c) return i;
  return npos;
}

WString WString::Substr(size_t start, size_t count) const {
  if (start >= length_) return WString();
  if (count > length_ - start) count = length_ - start;
  if (start == 0 && count == length_) return *this;
  return WString(CStr() + start, count);
}

WString& WString::Trim() {
  const WChar* data = CStr();
  size_t first = 0, last = length_;
  while (first < last && data[first] == u' ') ++first;
  while (last > first && data[last - 1] == u' ') --last;
  if (first == 0 && last == length_) return *this;
  WString trimmed(data + first, last - first);
  return *this = std::move(trimmed);
}

WString& WString::MakeLower() {
  const WChar* data = CStr();
  size_t i = 0;
  while (i < length_ && !(data[i] >= u'A' && data[i] <= u'Z')) ++i;
  if (i == length_) return *this;
  WChar* out = MutableData(length_);
  for (; i < length_; ++i)
    if (out[i] >= u'A' && out[i] <= u'Z') out[i] = static_cast<WChar>(out[i] + 32);
  return *this;
}

bool WString::EqualsAscii(std::string_view ascii) const noexcept {
  if (ascii.size() != length_) return false;
  const WChar* data = CStr();
  for (size_t i = 0; i < length_; ++i)
    if (data[i] != static_cast<unsigned char>(ascii[i])) return false;
  return true;
}

bool WString::EqualsAsciiNoCase(std::string_view ascii) const noexcept {
  if (ascii.size() != length_) return false;
  const WChar* data = CStr();
  auto lower = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (size_t i = 0; i < length_; ++i)
    if (lower(data[i]) != lower(static_cast<unsigned char>(ascii[i]))) return false;
  return true;
}

WString WString::FromAnsi(const char* bytes, size_t count) { return AnsiToWide(bytes, count); }
WString WString::FromUtf8(std::string_view utf8) { return Utf8ToWide(utf8); }
std::string WString::ToUtf8() const { return WideToUtf8(CStr(), length_); }
std::string WString::ToAnsi() const { return WideToAnsi(CStr(), length_); }

const char* WString::Ansi() const {
  std::string bytes = ToAnsi();
  DropAnsi();
  // Sized as the platform sizes it: two bytes a unit and the NUL.
  ansi_ = static_cast<char*>(std::malloc(2 * length_ + 1 > bytes.size() + 1 ? 2 * length_ + 1 : bytes.size() + 1));
  if (!ansi_) throw std::bad_alloc();
  std::memcpy(ansi_, bytes.c_str(), bytes.size() + 1);
  return ansi_;
}
