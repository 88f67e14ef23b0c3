#pragma once
// The plug-in loaded into the substitute player with the Editor open at start (its
// Open key) and the Displayer closed, driven like a user: keys to the view's window,
// commands to the frame, and the message boxes and file dialogs answered by their
// control ids. The player's clock is manual, so every stamp has a known time.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProcessCensus.h"
#include "TestText.h"
#include "player/SubstitutePlayer.h"

namespace editortest {

constexpr char kSection[] = "Mirabo's Lyrics Editor";  // also the frame's class
constexpr int kBoundMs = 8000;                          // reached only when something is wrong
constexpr int kViewId = 1001;
constexpr int kSave = 40014, kSwitchMode = 40011, kClose = 40016;

class EditorTest : public testing::Test {
 protected:
  EditorTest() {
    Ini("Mirabo's Lyrics Displayer", "Open", "0");
    Set("Open", "1");
    Set("WindowRect", "");
  }
  ~EditorTest() override {
    if (player_ && player_->PluginModule()) Quit();
  }

  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  std::string IniPath() const { return Path("plugin.ini"); }
  void Ini(const char* section, const char* key, const std::string& value) const {
    WritePrivateProfileStringA(section, key, value.c_str(), IniPath().c_str());
  }
  void Set(const char* key, const std::string& value) const { Ini(kSection, key, value); }
  std::string Get(const char* key) const {
    char value[1024] = {};
    GetPrivateProfileStringA(kSection, key, "", value, sizeof value, IniPath().c_str());
    return value;
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(Path(name)); }
  void Write(const std::string& name, const char* utf8) const {
    WriteFileBytes(Path(name), WString::FromUtf8(utf8).ToAnsi());
  }

  SubstitutePlayer& Player() {
    if (!player_) {
      player_ = std::make_unique<SubstitutePlayer>();
      EXPECT_TRUE(player_->Create(PlayerOptions{}));
    }
    return *player_;
  }
  // Plays the songs (200 s each) from 0 and starts the plug-in; the Editor opens.
  void Start(const std::vector<std::string>& songs) {
    std::vector<std::string> paths;
    for (const std::string& song : songs) paths.push_back(Path(song));
    Player().SetPlaylist(paths);
    Player().SetLength(200);
    Player().Play();
    Player().SetPosition(0);
    const std::string library = Path("gen_mrlyrics.dll");
    CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), TRUE);
    ASSERT_TRUE(Player().LoadPlugin(library));
    ASSERT_TRUE(Player().InitPlugin());
  }
  void StartAndWait(const std::vector<std::string>& songs) {
    Start(songs);
    ASSERT_TRUE(WaitFor([&] { return View() != nullptr; }));
  }
  // A question the Editor asks on the way out (unsaved text) is answered No.
  void Quit() {
    bool quitting = true;
    std::thread answerer([&] {
      for (int ms = 0; quitting && ms < kBoundMs; ms += 50) {
        if (HWND dialog = Dialog()) PostMessageA(dialog, WM_COMMAND, GetDlgItem(dialog, IDNO) ? IDNO : IDOK, 0);
        Sleep(50);
      }
    });
    Player().QuitPlugin();
    quitting = false;
    answerer.join();
    Player().UnloadPlugin();
  }

  static bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, kBoundMs); }

  HWND Editor() const { return ProcessWindow(kSection); }
  HWND View() const { return Editor() ? GetDlgItem(Editor(), kViewId) : nullptr; }
  std::string ViewClass() const {
    char name[64] = {};
    GetClassNameA(View(), name, sizeof name);
    return name;
  }
  std::string Title() const {
    wchar_t text[1024] = {};
    GetWindowTextW(Editor(), text, 1024);
    return WString::FromW(text).ToUtf8();
  }
  // The list's rows, or the text box's text, as UTF-8.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageA(View(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char row[1024] = {};
      SendMessageA(View(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      rows.push_back(WString::FromAnsi(row).ToUtf8());
    }
    return rows;
  }
  int Selected() const { return static_cast<int>(SendMessageA(View(), LB_GETCURSEL, 0, 0)); }

  // A key pressed and released on the view; handled when this returns.
  void Key(WPARAM key) const {
    SendMessageA(View(), WM_KEYDOWN, key, 1);
    SendMessageA(View(), WM_KEYUP, key, 0xC0000001);
  }
  void KeyDown(WPARAM key) const { SendMessageA(View(), WM_KEYDOWN, key, 1); }
  void KeyUp(WPARAM key) const { SendMessageA(View(), WM_KEYUP, key, 0xC0000001); }
  void StampAt(int ms, WPARAM key = VK_RETURN) {
    Player().SetPosition(ms);
    Key(key);
  }
  // A command that may ask something: posted, so the test can answer.
  void Command(int id) const { PostMessageA(Editor(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void CloseEditor() const { PostMessageA(Editor(), WM_CLOSE, 0, 0); }

  // The plug-in's dialog (a message box or a file dialog) in front of the Editor.
  static HWND Dialog() {
    for (HWND window : AllProcessWindows()) {
      char name[16] = {};
      GetClassNameA(window, name, sizeof name);
      if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }
  // The text of the open message box (its static text, id 0xFFFF), UTF-8.
  static std::string DialogText(HWND dialog) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 512);
    return WString::FromW(text).ToUtf8();
  }
  // Waits for a message box whose text starts with `begins`, presses button, and
  // waits until it is gone. Empty when all went so.
  std::string Answer(const char* begins, int button) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = Dialog()) != nullptr; })) return std::string("no question: ") + begins;
    const std::string text = DialogText(dialog);
    if (text.rfind(begins, 0) != 0) return "asked \"" + text + "\" instead of \"" + begins + "\"";
    if (!GetDlgItem(dialog, button)) return "no button " + std::to_string(button) + " with \"" + text + "\"";
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return WaitFor([&] { return !IsWindow(dialog); }) ? "" : "the question stayed";
  }
  // Types name into the open save dialog's file-name box and presses its OK.
  bool SaveDialogChooses(const std::string& name) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = Dialog()) != nullptr; })) return false;
    HWND box = GetDlgItem(dialog, 0x480);                   // edt1
    if (!box) box = FindWindowExA(GetDlgItem(dialog, 0x47C), nullptr, "Edit", nullptr);  // cmb13's edit
    if (!box) return false;
    SetWindowTextW(box, WString::FromUtf8(name).W());
    PostMessageA(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitFor([&] { return !IsWindow(dialog); });
  }
  bool EditorGone() { return WaitFor([&] { return Editor() == nullptr; }); }

  // Strings as shown: the save question, the recovery question.
  static constexpr const char* kSaveQuestion = "内容が更新されています。";
  static constexpr const char* kRecoverQuestion = "強制終了された形跡があります。";
  static constexpr const char* kReadOnlyQuestion = "読み取り専用属性がついています。";
  static constexpr const char* kSaveFailed = "保存に失敗しました。";

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;  // goes first: it holds the library in the folder
};

}  // namespace editortest
