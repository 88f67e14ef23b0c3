#pragma once
// The text type of all lyric text, file names and interface strings: UTF-16 code
// units with an explicit length, always NUL-terminated in memory. Copies share one
// heap buffer until one of them changes; strings of up to kInlineCapacity units
// (every time stamp such as "[01:23:45]") live inside the object and need no heap.
// A string can also hold one copy of itself in the ANSI code page, built on demand.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using WChar = char16_t;

class WString {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);
  static constexpr size_t kInlineCapacity = 11;

  WString() noexcept { inline_[0] = 0; }
  WString(const WChar* text);  // NUL-terminated
  WString(const WChar* text, size_t length);
  WString(size_t count, WChar c);
  WString(const WString& other) noexcept;
  WString(WString&& other) noexcept;
  WString& operator=(const WString& other) noexcept;
  WString& operator=(WString&& other) noexcept;
  ~WString();

  // Conversions at the boundaries. Ansi uses the platform's ANSI code page
  // (Shift-JIS on the systems the plug-in is made for).
  static WString FromAnsi(const char* bytes, size_t count);
  static WString FromAnsi(std::string_view bytes) { return FromAnsi(bytes.data(), bytes.size()); }
  static WString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;
  std::string ToAnsi() const;
  // The owned multibyte copy: valid until the string changes or Ansi() is called again.
  const char* Ansi() const;

  size_t Length() const noexcept { return length_; }
  bool IsEmpty() const noexcept { return length_ == 0; }
  const WChar* CStr() const noexcept { return IsHeap() ? rep_->data : inline_; }
  const WChar* begin() const noexcept { return CStr(); }
  const WChar* end() const noexcept { return CStr() + length_; }
  // Out-of-range indices answer NUL.
  WChar At(size_t index) const noexcept { return index < length_ ? CStr()[index] : 0; }
  WChar operator[](size_t index) const noexcept { return At(index); }
  std::u16string_view View() const noexcept { return {CStr(), length_}; }

  // npos when there is none.
  size_t Find(WChar c, size_t from = 0) const noexcept;
  size_t FindLast(WChar c) const noexcept;
  // Count is clipped to the end; a start past the end gives an empty string.
  WString Substr(size_t start, size_t count = npos) const;

  WString& Assign(const WChar* text, size_t length);
  WString& Append(const WString& other) { return Append(other.CStr(), other.length_); }
  WString& Append(const WChar* text, size_t length);
  WString& Append(WChar c) { return Append(&c, 1); }
  WString& AppendAscii(std::string_view ascii);
  WString& Insert(size_t at, const WString& other);
  WString& Erase(size_t start, size_t count = npos);
  void Clear() noexcept;
  void Reserve(size_t capacity);
  // Makes the string length units long, unshared, and answers its buffer for writing;
  // units past the old length are unspecified until written.
  WChar* ResizeForOverwrite(size_t length);

  // Removes leading and trailing U+0020 only (not tabs, not U+3000).
  WString& Trim();
  // A-Z to a-z, nothing else.
  WString& MakeLower();

  bool operator==(const WString& other) const noexcept { return View() == other.View(); }
  bool operator!=(const WString& other) const noexcept { return !(*this == other); }
  bool EqualsAscii(std::string_view ascii) const noexcept;
  bool EqualsAsciiNoCase(std::string_view ascii) const noexcept;

#ifdef _WIN32
  // On Windows wchar_t is a UTF-16 code unit.
  const wchar_t* W() const noexcept { return reinterpret_cast<const wchar_t*>(CStr()); }
  static WString FromW(const wchar_t* text) { return WString(reinterpret_cast<const WChar*>(text)); }
#endif

 private:
  struct Rep {
    std::atomic<int> refs;
    size_t capacity;  // units, not counting the NUL
    WChar data[1];
  };
  static Rep* NewRep(size_t capacity);
  static void Release(Rep* rep) noexcept;
  bool IsHeap() const noexcept { return heap_; }
  WChar* MutableData(size_t neededLength);  // unshares, grows; keeps the content
  void SetLength(size_t length) noexcept;
  void TakeFrom(WString& other) noexcept;
  void DropAnsi() const noexcept;

  union {
    Rep* rep_;
    WChar inline_[kInlineCapacity + 1];
  };
  uint32_t length_ = 0;
  bool heap_ = false;
  mutable char* ansi_ = nullptr;
};
