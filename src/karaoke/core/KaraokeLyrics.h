#pragma once
// Makes a freshly loaded timeline ready for the karaoke rows: untimed lyrics are
// dropped (there is nothing to sing along with), the rest gets explicit start and end
// stamps on every line, and each line too wide for the screen between its margins
// is cut, as often as needed, near its middle.

#include "base/WString.h"
#include "karaoke/core/KaraokeLayout.h"
#include "karaoke/core/KaraokeWipe.h"
#include "lyrics/LyricsTimeline.h"

// The width a line needs on the screen: its text in the lyrics font plus its outline.
int32_t KaraokeLineWidth(const WString& text, const KaraokeLayout& layout, TextMeasure& measure);

// Answers false when the lyrics were untimed and are now empty. `language` is the
// common settings' language name ("JPN" in any case selects the Japanese breaks).
bool PrepareKaraokeLyrics(LyricsTimeline& timeline, const KaraokeLayout& layout, TextMeasure& measure,
                          const WString& language);
