#pragma once
// Cuts an over-long karaoke line in two near its middle, where it reads well, and
// divides its stamps between the halves with an interpolated stamp at the cut so
// the wipe runs on without a jump. The playback order is not rebuilt: the caller
// rebuilds once after all lines are done.

#include "base/WString.h"

class LyricsDocument;

// Japanese break rules apply when language is "jpn" or "japan" in any ASCII case
// (Windows answers "JPN"). Answers 1 when line i was split into i and i + 1.
int SplitLongLine(LyricsDocument& document, int i, const WString& language);

// The index b (1..length-1) at which the text would be cut: between text[b-1] and text[b].
int FindLineBreak(const WString& text, bool japanese);
