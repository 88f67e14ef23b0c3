#pragma once
// The text the player shows for the plug-in in its list, built on wide text and
// handed over in the ANSI code page.

#include <windows.h>

#include <cstddef>

#include "base/WString.h"

// A string resource of the module; empty when it has none.
WString LoadResourceString(HINSTANCE instance, UINT id);

// The module's full path, wide (so splitting it never meets a Shift-JIS trail byte).
WString ModulePath(HINSTANCE instance);

// "<product> v<version> [<file name of modulePath>]".
WString BuildDescription(const WString& product, const WString& version, const WString& modulePath);

// Writes text in the ANSI code page into buffer, NUL-terminated, cut to at most
// capacity - 1 bytes at a character boundary (never between the bytes of one
// double-byte character). Answers the bytes written, without the NUL.
size_t CopyAnsiCut(const WString& text, char* buffer, size_t capacity);
