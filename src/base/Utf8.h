#pragma once
// UTF-8 <-> UTF-16 for the command-line tool, tests and UTF-8 tag frames. Invalid
// input never fails: a bad sequence or a lone surrogate becomes U+FFFD.

#include <string>
#include <string_view>

#include "base/WString.h"

WString Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(const WChar* text, size_t length);
