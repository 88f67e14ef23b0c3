// The questions before text is lost or written: a song change while AlwaysOpen is on
// and the text is unsaved, answered with each button (a save that fails or is
// refused counts as Cancel), the read-only question, and the recovery after a crash,
// from a prepared marker and backup and from a player process killed mid-edit.

#include <shlobj.h>

#include "EditorHarness.h"
#include "sources/TagBuilders.h"

namespace editortest {
namespace {

using FileQuestionsTest = EditorTest;

TEST_F(FileQuestionsTest, SongChangeWithUnsavedTextAsksAndHonoursEachAnswer) {
  const char* const y = kSaveQuestion;
  const struct {
    bool readOnly;
    std::vector<std::pair<const char*, int>> replies;
    const char* savedA;    // a.txt afterwards
    const char* firstRow;  // what the Editor shows afterwards
  } cases[] = {
      {false, {{y, IDCANCEL}}, "A", "[00:05:00]A"},
      {false, {{y, IDNO}}, "A", "B"},
      {false, {{y, IDYES}}, "[00:05:00]A", "B"},
      {true, {{y, IDYES}, {kReadOnlyQuestion, IDYES}}, "[00:05:00]A", "B"},
      // The save fails: that counts as Cancel, and nothing is lost.
      {true, {{y, IDYES}, {kReadOnlyQuestion, IDNO}, {kSaveFailed, IDOK}}, "A", "[00:05:00]A"},
  };
  Set("AlwaysOpen", "1");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replies.size() * 10 + c.replies.back().second);
    SetFileAttributesA(Path("a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    Write("a.txt", "A");
    Write("b.txt", "B");
    if (c.readOnly) SetFileAttributesA(Path("a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    Start({"a.wav", "b.wav"});
    StampAt(5000);
    Player().Next();
    for (const auto& [question, button] : c.replies) EXPECT_EQ(Answer(question, button), "");
    EXPECT_TRUE(WaitFor([&] { return !Rows().empty() && Rows()[0] == c.firstRow; })) << Rows()[0];
    EXPECT_EQ(Read("a.txt"), c.savedA);
    Quit();
    EXPECT_EQ(Dialog(), nullptr);
  }
}

// A marker left by a crash, with its backup or without one.
TEST_F(FileQuestionsTest, RecoveryKeepsTheTextUnsavedOrKeepsTheBackup) {
  Write("a.txt", "original");
  Set("FileName", Path("a.txt"));
  Write("gen_mrlyrics_backup.txt", "[00:01:00]Recovered");
  Start({"a.wav"});
  EXPECT_EQ(Answer(kRecoverQuestion, IDYES), "");
  ASSERT_TRUE(WaitFor([&] { return Rows() == std::vector<std::string>{"[00:01:00]Recovered"}; }));
  EXPECT_EQ(Title(), Path("a.txt"));
  // Still unsaved: closing asks, and until then the backup and the marker stay.
  EXPECT_EQ(Get("FileName"), Path("a.txt"));
  EXPECT_EQ(Read("gen_mrlyrics_backup.txt"), "[00:01:00]Recovered");
  Close();
  EXPECT_EQ(Answer(kSaveQuestion, IDYES), "");
  EXPECT_TRUE(WaitFor([&] { return !Editor(); }));
  EXPECT_EQ(Read("a.txt"), "[00:01:00]Recovered");
  EXPECT_EQ(Get("FileName"), "");
  Quit();

  // Without a backup: told so, the marker stays, and the name is not taken over, so a
  // save cannot overwrite the original with an empty text.
  Set("FileName", Path("a.txt"));
  Set("Open", "1");
  Start({"none.wav"});
  EXPECT_EQ(Answer(kRecoverQuestion, IDYES), "");
  EXPECT_EQ(Answer("編集中だったファイルを復帰できませんでした。", IDOK), "");
  EXPECT_EQ(Title(), "");  // none.txt does not exist yet
  EXPECT_EQ(Get("FileName"), Path("a.txt"));
  EXPECT_EQ(Read("a.txt"), "[00:01:00]Recovered");
}

// A new text has no name: Save opens the save dialog, whose text filter adds ".txt";
// when that file exists the Editor asks once more (the dialog asked about "song").
TEST_F(FileQuestionsTest, SaveDialogAddsTxtAndAsksBeforeOverwritingIt) {
  Start({"a.wav"});
  EXPECT_EQ(Title(), "");
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "Edit"; }));
  Type("w");
  Command(kSave);
  ASSERT_TRUE(ChooseInFileDialog(Path("song")));
  ASSERT_TRUE(WaitFor([&] { return Read("song.txt") == "w"; }));
  EXPECT_EQ(Title(), Path("song.txt"));

  Type("x");
  Command(kSaveAs);
  ASSERT_TRUE(ChooseInFileDialog(Path("song")));
  EXPECT_EQ(Answer("上書き保存しますか？", IDCANCEL), "");
  EXPECT_EQ(Read("song.txt"), "w");
}

// A file dropped as the shell drops it: the name in wide characters.
void Drop(HWND editor, const std::string& path) {
  const std::wstring name(path.begin(), path.end());
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(drop + 1, name.data(), name.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageA(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the Editor frees it
}

// A dropped file opens. A name longer than MAX_PATH is taken whole, so it opens
// nothing rather than the file its first 259 characters name.
TEST_F(FileQuestionsTest, DroppedFileOpensAndALongNameIsNeverCut) {
  const std::string cut = std::string(MAX_PATH - 1 - Path("").size(), 'c');
  Write(cut, "Cut");
  Write("dropped.txt", "Dropped");
  Start({"a.wav"});
  Drop(Editor(), Path("dropped.txt"));
  EXPECT_TRUE(WaitFor([&] { return Rows() == std::vector<std::string>{"Dropped"}; }));
  EXPECT_EQ(Title(), Path("dropped.txt"));
  Drop(Editor(), Path(cut + "-longer-than-max-path.txt"));
  EXPECT_TRUE(WaitFor([&] { return Rows() != std::vector<std::string>{"Dropped"}; }));
  EXPECT_NE(Rows(), std::vector<std::string>{"Cut"});
  EXPECT_NE(Title(), Path(cut));
}

// An MP3 without a lyrics file opens the lyrics of its own Lyrics3 tag, at start and
// by Ctrl+P, without a name: Ctrl+S asks for one and leaves the song alone.
TEST_F(FileQuestionsTest, PlayingMp3FallsBackToItsLyrics3TagAndSaveAsksAName) {
  using namespace tagbuild;
  const std::string song = Audio() + Lyrics3("IND00002" "10" "LYR00013" "[00:01:00]Tag") + Id3v1("", "", "", "", "", 0);
  WriteFileBytes(Path("song.mp3"), song);
  Start({"song.mp3"});
  ASSERT_EQ(Rows(), std::vector<std::string>{"[00:01:00]Tag"});
  // No file name in the title (which shows the playing line once the song reaches it).
  EXPECT_EQ(Title().find("song"), std::string::npos) << Title();
  StampAt(2000);
  ASSERT_TRUE(CtrlKey('S', [&] { return Dialog() != nullptr; }));
  ASSERT_TRUE(ChooseInFileDialog(Path("saved")));
  EXPECT_TRUE(WaitFor([&] { return Read("saved.txt") == "[00:02:00]Tag"; }));
  EXPECT_EQ(Read("song.mp3"), song);
  // Ctrl+P: song.txt is not there, so the tag again.
  EXPECT_TRUE(CtrlKey('P', [&] { return Rows() == std::vector<std::string>{"[00:01:00]Tag"}; }));
  EXPECT_EQ(Title().find("song"), std::string::npos) << Title();
}

// The player process dies six seconds after the user typed into a new document: the
// backup step has run, so the next start offers the text back.
TEST_F(FileQuestionsTest, TextTypedBeforeThePlayerWasKilledComesBack) {
  const std::string library = Path("gen_mrlyrics.dll");
  ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), FALSE));
  std::string command = std::string("\"") + MRLYRICS_PLAYER_PATH + "\" --plugin \"" + library + "\" --play \"" +
                        Path("song.wav") + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  HWND editor = nullptr, box = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (editor = FindWindowA(kSection, nullptr)) != nullptr; }));
  PostMessageA(editor, WM_COMMAND, kSwitchMode, 0);
  EXPECT_TRUE(WaitFor([&] { return (box = FindWindowExA(editor, nullptr, "Edit", nullptr)) != nullptr; }));
  for (char c : std::string("typed")) PostMessageA(box, WM_CHAR, static_cast<WPARAM>(c), 1);
  SubstitutePlayer::PumpFor(6000);
  TerminateProcess(process.hProcess, 1);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread), CloseHandle(process.hProcess);
  EXPECT_EQ(Get("FileName"), "NoFileName");

  Start({"song.wav"});
  EXPECT_EQ(Answer(kRecoverQuestion, IDYES), "");
  ASSERT_TRUE(WaitFor([&] { return Rows() == std::vector<std::string>{"typed"}; }));
  EXPECT_EQ(Title(), "");
  Close();
  EXPECT_EQ(Answer(kSaveQuestion, IDNO), "");
  EXPECT_TRUE(WaitFor([&] { return !Editor(); }));
}

}  // namespace
}  // namespace editortest
