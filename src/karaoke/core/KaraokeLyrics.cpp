#include "karaoke/core/KaraokeLyrics.h"

#include "lyrics/KaraokeLineSplit.h"
#include "lyrics/LyricsSourceReader.h"

namespace {

class NoLyrics : public LyricsSourceReader {
 public:
  bool ReadLyricsText(const WString&, WString&) const override { return false; }
};

}  // namespace

int32_t KaraokeLineWidth(const WString& text, const KaraokeLayout& layout, TextMeasure& measure) {
  const int64_t width = int64_t(measure.PrefixWidth(text, static_cast<int32_t>(text.Length()))) + 2 * int64_t(layout.lyrics.edge);
  return static_cast<int32_t>(width > INT32_MAX ? INT32_MAX : width);
}

bool PrepareKaraokeLyrics(LyricsTimeline& timeline, const KaraokeLayout& layout, TextMeasure& measure,
                          const WString& language) {
  if (!timeline.IsTimed()) {
    // Loading from no path leaves no lines at all; parsing empty text would leave one.
    timeline.LoadLyricsSource(WString(), NoLyrics());
    return false;
  }
  timeline.MakeKaraoke();
  // Each cut leaves line i shorter, so measuring the same line again ends.
  for (int i = 0; i < timeline.LineCount(); ++i)
    while (KaraokeLineWidth(timeline.LineText(i), layout, measure) > layout.Available() &&
           SplitLongLine(timeline, i, language)) {
    }
  timeline.RebuildTimeline();
  return true;
}
