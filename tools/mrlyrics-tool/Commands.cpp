#include "Commands.h"

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "Json.h"
#include "base/FilePath.h"
#include "base/FileSystem.h"
#include "lyrics/KaraokeLineSplit.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/LyricsLocator.h"
#include "sources/LyricsReaders.h"
#include "sources/SongInfo.h"

int ReportError(const std::string& message) {
  std::fprintf(stderr, "mrlyrics-tool: %s\n", message.c_str());
  return kExitBadUsage;
}

namespace {

// Only for the message: the loader itself answers just yes or no.
const char* LoadFailureReason(const WString& path) {
  FileSystem& files = PlatformFileSystem();
  if (path.IsEmpty() || !files.Exists(path)) return "no such file";
  if (files.IsDirectory(path)) return "it is a folder";
  std::unique_ptr<ByteSource> source = files.OpenForReading(path);
  if (!source) return "cannot be read";
  if (FilePath(path).Extension().EqualsAsciiNoCase("mp3")) return "no Lyrics3 v2 lyrics in the file";
  if (source->Size() > kMaxLyricsFileSize) return "larger than 64 KiB";
  return "cannot be read";
}

// Loads FILE exactly as given, as the plug-in loads a song's lyrics.
bool Load(LyricsTimeline& timeline, const std::string& file, bool showUntagged) {
  timeline.SetShowUntaggedLines(showUntagged);
  const WString path = WString::FromUtf8(file);
  if (timeline.LoadLyricsSource(path, LyricsFileReader())) return true;
  ReportError("cannot load " + file + ": " + LoadFailureReason(path));
  return false;
}

void Print(const JsonWriter& json) {
  std::fwrite(json.Text().data(), 1, json.Text().size(), stdout);
  std::fputc('\n', stdout);
}

void WriteTimeAndPosition(JsonWriter& json, const TimeTag& tag) {
  json.BeginArray().Int(tag.time).Int(tag.position).EndArray();
}

void WriteStampOrNull(JsonWriter& json, bool present, const TimeTag& tag) {
  if (present)
    WriteTimeAndPosition(json, tag);
  else
    json.Null();
}

void WriteFields(JsonWriter& json, const LyricsDocument& document) {
  json.BeginObject();
  json.Key("title").String(document.Title());
  json.Key("artist").String(document.Artist());
  json.Key("album").String(document.Album());
  json.Key("words").String(document.Words());
  json.Key("music").String(document.Music());
  json.Key("bgfile").String(document.BgFile());
  json.Key("bgfolder").String(document.BgFolder());
  json.EndObject();
}

void WriteLines(JsonWriter& json, const LyricsDocument& document) {
  json.BeginArray();
  for (int i = 0; i < document.LineCount(); ++i) {
    const LyricLine& line = document.Line(i);
    json.Break("  ").BeginObject();
    json.Key("text").String(line.text);
    json.Key("header").Bool(document.IsHeaderLine(i));
    json.Key("tags").BeginArray();
    for (const TimeTag& tag : line.tags) json.BeginArray().Int(tag.time).Int(tag.position).String(tag.text).EndArray();
    json.EndArray().EndObject();
  }
  json.EndArray();
}

// The display lines' own stamps, not completed with their end stamps.
void WriteDisplayLines(JsonWriter& json, const LyricsTimeline& timeline) {
  json.BeginArray();
  for (const DisplayLine& shown : timeline.DisplayLines()) {
    json.Break("  ").BeginObject();
    json.Key("line").Int(shown.line);
    json.Key("time").Int(shown.time);
    json.Key("tags").BeginArray();
    for (const TimeTag& tag : shown.tags) WriteTimeAndPosition(json, tag);
    json.EndArray().EndObject();
  }
  json.EndArray();
}

void PrintDump(const LyricsTimeline& timeline) {
  JsonWriter json;
  json.BeginObject();
  json.Key("status").Int(timeline.Status());
  json.Break(" ").Key("fields");
  WriteFields(json, timeline);
  json.Break(" ").Key("lines");
  WriteLines(json, timeline);
  json.Break(" ").Key("display");
  WriteDisplayLines(json, timeline);
  json.EndObject();
  Print(json);
}

// ---------------------------------------------------------------- edit

enum class EditKind { Shift, Rescale, Reformat, Expand, MakeKaraoke, RemoveAll, RemoveKaraoke, Add, Set, RemoveNth, RemoveAt };

struct EditOp {
  EditKind kind;
  int32_t values[4] = {};
};

struct EditOpInfo {
  const char* name;
  EditKind kind;
  size_t valueCount;
};

constexpr EditOpInfo kEditOps[] = {
    {"shift", EditKind::Shift, 1},
    {"rescale", EditKind::Rescale, 4},
    {"reformat", EditKind::Reformat, 1},  // the value is "long" or "short"
    {"expand", EditKind::Expand, 0},
    {"makekaraoke", EditKind::MakeKaraoke, 0},
    {"removeall", EditKind::RemoveAll, 0},
    {"removekaraoke", EditKind::RemoveKaraoke, 0},
    {"add", EditKind::Add, 3},
    {"set", EditKind::Set, 4},
    {"removenth", EditKind::RemoveNth, 2},
    {"removeat", EditKind::RemoveAt, 3},
};

bool ParseEditOp(const std::string& text, EditOp& op) {
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  for (const EditOpInfo& info : kEditOps) {
    if (name != info.name) continue;
    op.kind = info.kind;
    if (info.valueCount == 0) return colon == std::string::npos;
    if (colon == std::string::npos) return false;
    const std::string_view values = std::string_view(text).substr(colon + 1);
    if (info.kind == EditKind::Reformat) {
      op.values[0] = values == "short" ? ShortTagForm : LongTagForm;
      return values == "short" || values == "long";
    }
    return ParseInt32List(values, info.valueCount, op.values);
  }
  return false;
}

TimeTag NewTag(int32_t time, int32_t position) {
  TimeTag tag(time, position);
  FormatTimeTag(tag, LongTagForm);
  return tag;
}

void ApplyEditOp(LyricsTimeline& timeline, const EditOp& op) {
  const int32_t* v = op.values;
  TimeTag removed;
  bool stillThere = false;
  switch (op.kind) {
    case EditKind::Shift: timeline.ShiftAllTags(v[0]); break;
    case EditKind::Rescale: timeline.RescaleTags(v[0], v[1], v[2], v[3]); break;
    case EditKind::Reformat: timeline.ReformatAllTags(static_cast<unsigned>(v[0])); break;
    case EditKind::Expand: timeline.ExpandToPlaybackOrder(); break;
    case EditKind::MakeKaraoke: timeline.MakeKaraoke(); break;
    case EditKind::RemoveAll: timeline.RemoveAllTags(); break;
    case EditKind::RemoveKaraoke: timeline.RemoveKaraokeTags(); break;
    case EditKind::Add: timeline.AddTag(v[0], NewTag(v[1], v[2])); break;
    case EditKind::Set: timeline.SetTag(v[0], v[1], NewTag(v[2], v[3])); break;
    case EditKind::RemoveNth: timeline.RemoveNthTag(v[0], v[1], removed); break;
    case EditKind::RemoveAt: timeline.RemoveTagAt(v[0], v[1], v[2], stillThere); break;
  }
}

// ---------------------------------------------------------------- check

std::string Quoted(const WString& text) {
  return "\"" + text.ToUtf8() + "\"";
}

std::string StampText(const TimeTag& tag) {
  return tag.text.IsEmpty() ? std::to_string(tag.time) + " ms" : tag.text.ToUtf8();
}

// Every well-formed stamp has been taken out of the text, so any "[...]" left in
// a lyric line is a group the parser did not accept. "[" pairs with the first "]"
// after it, as when stamps are scanned.
std::vector<WString> BracketGroups(const WString& text) {
  std::vector<WString> groups;
  size_t from = 0;
  for (;;) {
    const size_t open = text.Find(u'[', from);
    if (open == WString::npos) break;
    const size_t close = text.Find(u']', open + 1);
    if (close == WString::npos) break;
    groups.push_back(text.Substr(open, close - open + 1));
    from = close + 1;
  }
  return groups;
}

void ReportMalformedGroups(const LyricsDocument& document) {
  std::vector<std::string> found;
  for (int i = 0; i < document.LineCount(); ++i) {
    if (document.IsHeaderLine(i)) continue;
    for (const WString& group : BracketGroups(document.LineText(i)))
      found.push_back("  line " + std::to_string(i + 1) + ": " + group.ToUtf8());
  }
  std::printf("malformed bracket groups: %zu\n", found.size());
  for (const std::string& entry : found) std::printf("%s\n", entry.c_str());
}

void ReportBackwardStamps(const LyricsDocument& document) {
  std::vector<std::string> found;
  int previousLine = -1;
  for (int i = 0; i < document.LineCount(); ++i) {
    const std::vector<TimeTag>& tags = document.Line(i).tags;
    if (tags.empty()) continue;
    for (size_t n = 1; n < tags.size(); ++n) {
      if (tags[n].time < tags[n - 1].time)
        found.push_back("  line " + std::to_string(i + 1) + ": " + StampText(tags[n]) + " at position " +
                        std::to_string(tags[n].position) + " comes after " + StampText(tags[n - 1]));
    }
    if (previousLine >= 0) {
      const TimeTag& before = document.Line(previousLine).tags.front();
      if (tags.front().time < before.time)
        found.push_back("  line " + std::to_string(i + 1) + " starts at " + StampText(tags.front()) +
                        ", before line " + std::to_string(previousLine + 1) + " at " + StampText(before));
    }
    previousLine = i;
  }
  std::printf("stamps going backwards: %zu\n", found.size());
  for (const std::string& entry : found) std::printf("%s\n", entry.c_str());
}

void ReportRepeatedLines(const LyricsTimeline& timeline) {
  std::map<int, std::vector<int32_t>> showings;
  for (const DisplayLine& shown : timeline.DisplayLines()) showings[shown.line].push_back(shown.time);
  std::vector<std::string> found;
  for (const auto& [line, times] : showings) {
    if (times.size() < 2) continue;
    // Untimed lines that follow a repeated line are shown again after each showing.
    std::string entry = "  line " + std::to_string(line + 1) + " " + Quoted(timeline.LineText(line)) + " shown " +
                        std::to_string(times.size()) + " times:";
    for (size_t n = 0; n < times.size(); ++n)
      entry += (n ? ", " : " ") + (times[n] < 0 ? std::string("untimed") : std::to_string(times[n]) + " ms");
    found.push_back(entry);
  }
  std::printf("repeated lines: %zu\n", found.size());
  for (const std::string& entry : found) std::printf("%s\n", entry.c_str());
}

const char* StatusName(int status) {
  switch (status) {
    case StatusNone: return "empty";
    case StatusUntimed: return "untimed";
    case StatusTimed: return "timed";
    case StatusTimed | StatusKaraoke: return "karaoke";
  }
  return "unknown";
}

void ReportCounts(const LyricsTimeline& timeline) {
  int headers = 0, tagged = 0, stamps = 0;
  for (int i = 0; i < timeline.LineCount(); ++i) {
    headers += timeline.IsHeaderLine(i);
    tagged += !timeline.Line(i).tags.empty();
    stamps += static_cast<int>(timeline.Line(i).tags.size());
  }
  std::printf("status: %d (%s)\n", timeline.Status(), StatusName(timeline.Status()));
  std::printf("lines: %d (%d header, %d with stamps, %d stamps)\n", timeline.LineCount(), headers, tagged, stamps);
  std::printf("display lines: %d\n", timeline.DisplayLineCount());
}

// ---------------------------------------------------------------- song information

SourceOptions SongOptions(const CommandLine& commandLine) {
  SourceOptions options;
  if (commandLine.hasId3Exts) options.id3Exts = WString::FromUtf8(commandLine.id3Exts);
  options.id3V2 = !commandLine.noId3v2;
  return options;
}

}  // namespace

int RunDump(const CommandLine& commandLine) {
  LyricsTimeline timeline;
  if (!Load(timeline, commandLine.arguments[0], !commandLine.hideUntagged)) return kExitBadUsage;
  PrintDump(timeline);
  return 0;
}

int RunAt(const CommandLine& commandLine) {
  std::vector<int32_t> times(commandLine.arguments.size() - 1);
  for (size_t n = 0; n < times.size(); ++n) {
    if (!ParseInt32(commandLine.arguments[n + 1], times[n]))
      return ReportError("bad time: " + commandLine.arguments[n + 1]);
  }
  LyricsTimeline timeline;
  if (!Load(timeline, commandLine.arguments[0], !commandLine.hideUntagged)) return kExitBadUsage;
  if (commandLine.hasAnchor) {
    const UntimedAnchor& anchor = commandLine.anchor;
    timeline.SetUntimedAnchor(anchor.line, anchor.time, anchor.songLength);
  }
  std::vector<TimeTag> tags;
  for (int32_t t : times) {
    // One timeline for all queries: the answer cache sees the same sequence of
    // times as in playback.
    const int k = timeline.DisplayLineAtTime(t);
    timeline.DisplayLineTags(k, tags);
    TimeTag previous, next;
    const bool around = timeline.TagsAround(k, t, previous, next) != 0;
    JsonWriter json;
    json.BeginObject();
    json.Key("t").Int(t);
    json.Key("line").Int(k);
    json.Key("tags").BeginArray();
    for (const TimeTag& tag : tags) WriteTimeAndPosition(json, tag);
    json.EndArray();
    WriteStampOrNull(json.Key("prev"), around, previous);
    WriteStampOrNull(json.Key("next"), around, next);
    json.EndObject();
    Print(json);
  }
  return 0;
}

int RunKaraoke(const CommandLine& commandLine) {
  LyricsTimeline timeline;
  if (!Load(timeline, commandLine.arguments[0], true)) return kExitBadUsage;
  timeline.MakeKaraoke();
  const WString language = WString::FromUtf8(commandLine.language);
  const size_t maxChars = static_cast<size_t>(commandLine.maxChars);
  // As the karaoke screen does: a line that was cut is measured again, so a very
  // long line is halved as often as needed. Every cut shortens it, so this ends.
  for (int i = 0; i < timeline.LineCount();) {
    if (timeline.LineText(i).Length() > maxChars && SplitLongLine(timeline, i, language)) continue;
    ++i;
  }
  timeline.ComputeTagStatus();
  timeline.RebuildTimeline();
  PrintDump(timeline);
  return 0;
}

int RunEdit(const CommandLine& commandLine) {
  // Every operation is checked before the file is touched, so a typo prints nothing.
  std::vector<EditOp> ops(commandLine.arguments.size() - 1);
  for (size_t n = 0; n < ops.size(); ++n) {
    if (!ParseEditOp(commandLine.arguments[n + 1], ops[n]))
      return ReportError("bad edit operation: " + commandLine.arguments[n + 1] + " (see --help)");
  }
  LyricsTimeline timeline;
  if (!Load(timeline, commandLine.arguments[0], true)) return kExitBadUsage;
  for (const EditOp& op : ops) ApplyEditOp(timeline, op);
  PrintDump(timeline);
  return 0;
}

int RunSave(const CommandLine& commandLine) {
  LyricsTimeline timeline;
  if (!Load(timeline, commandLine.arguments[0], true)) return kExitBadUsage;
  const std::string& out = commandLine.arguments[1];
  if (!SaveLyrics(timeline, WString::FromUtf8(out))) return ReportError("cannot save " + out);
  return 0;
}

int RunCheck(const CommandLine& commandLine) {
  LyricsTimeline timeline;
  const std::string& file = commandLine.arguments[0];
  if (!Load(timeline, file, true)) return kExitBadUsage;
  std::printf("file: %s\n", file.c_str());
  ReportCounts(timeline);
  ReportMalformedGroups(timeline);
  ReportBackwardStamps(timeline);
  ReportRepeatedLines(timeline);
  return 0;
}

int RunTags(const CommandLine& commandLine) {
  // As in the plug-in, a song that cannot be read simply has no information.
  SongInfo song;
  song.Load(WString::FromUtf8(commandLine.arguments[0]), SongOptions(commandLine));
  JsonWriter json;
  json.BeginObject();
  json.Key("title").String(song.Title());
  json.Key("artist").String(song.Artist());
  json.Key("album").String(song.Album());
  json.Key("year").String(song.Year());
  json.Key("comment").String(song.Comment());
  json.Key("genre").String(song.Genre());
  json.Key("copyright").String(song.Copyright());
  json.Key("engineer").String(song.Engineer());
  json.Key("source").String(song.Source());
  json.Key("software").String(song.Software());
  json.Key("bgfile").String(song.BgFile());
  json.Key("bgfolder").String(song.BgFolder());
  json.EndObject();
  Print(json);
  return 0;
}

int RunLocate(const CommandLine& commandLine) {
  SourceOptions options;
  options.lyricsFolder = WString::FromUtf8(commandLine.lyricsFolder);
  LyricsLocator locator(options);
  const WString& path = locator.Locate(WString::FromUtf8(commandLine.arguments[0]));
  JsonWriter json;
  json.BeginObject();
  json.Key("path").String(path);
  json.Key("exists").Bool(!path.IsEmpty() && PlatformFileSystem().Exists(path));
  json.EndObject();
  Print(json);
  return 0;
}

int RunFormat(const CommandLine& commandLine) {
  SongInfo song;
  song.Load(WString::FromUtf8(commandLine.arguments[0]), SongOptions(commandLine));
  WString text;
  const bool ok = song.Format(WString::FromUtf8(commandLine.arguments[1]), text);
  JsonWriter json;
  json.BeginObject();
  json.Key("text").String(text);
  json.Key("ok").Bool(ok);
  json.EndObject();
  Print(json);
  return 0;
}
