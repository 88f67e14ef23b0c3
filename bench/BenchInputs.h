#pragma once
// Deterministic inputs shared by both benchmark programs: karaoke lyrics in the
// shape real files have (header lines, Japanese text, a stamp every one or two
// characters), so the numbers mean the same from run to run and machine to machine.

#include <cstddef>
#include <string>

#include "base/WString.h"

constexpr size_t kParseInputBytes = 65536;  // the largest lyrics file the loader accepts
constexpr int kTickDocumentLines = 300;
constexpr int kTickMilliseconds = 20;

// Karaoke lyrics text of about byteBudget bytes once in Shift-JIS (never more).
WString MakeKaraokeText(size_t byteBudget);
// A karaoke document of exactly lineCount lyric lines after a few header lines;
// every tenth verse is sung out of file order, so the playback order needs sorting.
WString MakeKaraokeDocument(int lineCount);
// The time just after the last stamp of a document made by MakeKaraokeDocument.
int KaraokeDocumentLength(int lineCount);
