#pragma once
// Conversion between the ANSI code page and UTF-16. On Windows this is the system's
// ANSI code page (932 on Japanese systems); elsewhere it is a setting, Shift-JIS
// (932) unless changed. Characters the code page cannot represent become its
// default character; nothing is reported.

#include <cstddef>
#include <string>

#include "base/WString.h"

// Decodes count bytes; stops at an embedded NUL byte, as the platform converter does
// for NUL-terminated text.
WString AnsiToWide(const char* bytes, size_t count);
std::string WideToAnsi(const WChar* text, size_t length);

// The code page used by the two conversions; false (and the old one kept) when the
// platform has no converter for it. On Windows the system's code page is always
// used: SetAnsiCodePage answers whether it is that one, and AnsiCodePage is GetACP().
bool SetAnsiCodePage(unsigned codePage);
unsigned AnsiCodePage();
