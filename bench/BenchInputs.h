#pragma once
// Deterministic inputs shared by both benchmark programs: karaoke lyrics in the
// shape real files have (header lines, Japanese text, a stamp every one or two
// characters), so the numbers mean the same from run to run and machine to machine.

#include <cstddef>
#include <string>
#include <vector>

#include "base/FileSystem.h"
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

// ---------------------------------------------------------------- lyrics sources
constexpr int kLyricsTreeFolders = 200;
constexpr int kLyricsTreeFilesPerFolder = 50;
constexpr int kTagSongCount = 1000;
constexpr size_t kTagPictureBytes = 11 * 1024;

// A lyrics folder tree under root: kLyricsTreeFolders folders of
// kLyricsTreeFilesPerFolder ".txt" files, all names different. Answers the base
// name of the file a tree search meets last (the last file of the last folder in
// the file system's own listing order), so a song of that name is found at the end.
std::string MakeLyricsTree(const std::string& root);

// An MP3 whose ID3v2.3 tag holds a UTF-16 title, artist and album, a cover picture
// (APIC) of kTagPictureBytes and an unsynchronised-lyrics frame (USLT), followed by
// a few MPEG audio frames.
std::string MakeTaggedMp3(int number);

// kTagSongCount of them written to root ("/song<n>.mp3"): the same songs for every
// tag benchmark.
std::vector<std::string> WriteTaggedSongs(const std::string& root);

// The platform's file system, counting the folder listings made through it.
class CountingFileSystem : public ForwardingFileSystem {
 public:
  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    ++listings;
    return ForwardingFileSystem::ListFolder(folder, entries);
  }

  size_t listings = 0;
};
