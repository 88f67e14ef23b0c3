#pragma once
// The plug-in in the substitute player with its manual clock, the Editor open at start
// and driven like a user: keys to the view, commands to the frame, message boxes and
// the file dialog answered by control id.

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
constexpr int kSave = 40014, kSaveAs = 40021, kSwitchMode = 40011;
constexpr char kSaveQuestion[] = "内容が更新されています。", kRecoverQuestion[] = "強制終了された形跡があります。",
               kReadOnlyQuestion[] = "読み取り専用属性がついています。", kSaveFailed[] = "保存に失敗しました。";

class EditorTest : public testing::Test {
 protected:
  EditorTest() {
    Set("Open", "0", "Mirabo's Lyrics Displayer");
    Set("Open", "1");
  }
  ~EditorTest() override {
    if (player_ && player_->PluginModule()) Quit();
  }

  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  void Set(const char* key, const std::string& value, const char* section = kSection) const {
    WritePrivateProfileStringA(section, key, value.c_str(), Path("plugin.ini").c_str());
  }
  std::string Get(const char* key) const {
    char value[1024] = {};
    GetPrivateProfileStringA(kSection, key, "", value, sizeof value, Path("plugin.ini").c_str());
    return value;
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(Path(name)); }
  void Write(const std::string& name, const char* text) const { WriteFileBytes(Path(name), text); }

  SubstitutePlayer& Player() {
    if (!player_) {
      player_ = std::make_unique<SubstitutePlayer>();
      EXPECT_TRUE(player_->Create(PlayerOptions{}));
    }
    return *player_;
  }
  // Plays the songs from 0 with the plug-in, until the Editor is shown with its lyrics
  // or asks its first question. (Its view exists earlier, while the lyrics are still
  // being read: keys sent then would reach an empty view.)
  void Start(const std::vector<std::string>& songs) {
    std::vector<std::string> paths;
    for (const std::string& song : songs) paths.push_back(Path(song));
    Player().SetPlaylist(paths);
    Player().SetLength(200);
    Player().Play();
    Player().SetPosition(0);
    CopyFileA(MRLYRICS_PLUGIN_PATH, Path("gen_mrlyrics.dll").c_str(), TRUE);
    ASSERT_TRUE(Player().LoadPlugin(Path("gen_mrlyrics.dll")));
    ASSERT_TRUE(Player().InitPlugin());
    ASSERT_TRUE(WaitFor([&] { return View() && (IsWindowVisible(Editor()) || Dialog()); }));
  }
  // A question on the way out (unsaved text) is answered No.
  void Quit() {
    bool quitting = true;
    std::thread answerer([&] {
      for (int ms = 0; quitting && ms < kBoundMs; ms += 50, Sleep(50))
        if (HWND dialog = Dialog()) PostMessageA(dialog, WM_COMMAND, GetDlgItem(dialog, IDNO) ? IDNO : IDOK, 0);
    });
    Player().QuitPlugin();
    quitting = false;
    answerer.join();
    Player().UnloadPlugin();
  }
  static bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, kBoundMs); }

  HWND Editor() const { return ProcessWindow(kSection); }
  HWND View() const { return Editor() ? GetDlgItem(Editor(), 1001) : nullptr; }
  std::string ViewClass() const {
    char name[64] = {};
    GetClassNameA(View(), name, sizeof name);
    return name;
  }
  std::string Title() const {
    char text[1024] = {};
    return GetWindowTextA(Editor(), text, sizeof text), text;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (LRESULT i = 0; i < SendMessageA(View(), LB_GETCOUNT, 0, 0); ++i) {
      char row[1024] = {};
      SendMessageA(View(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      rows.push_back(row);
    }
    return rows;
  }
  int Selected() const { return static_cast<int>(SendMessageA(View(), LB_GETCURSEL, 0, 0)); }

  // Keys are handled when these return.
  void Down(WPARAM key) const { SendMessageA(View(), WM_KEYDOWN, key, 1); }
  void Up(WPARAM key) const { SendMessageA(View(), WM_KEYUP, key, 0xC0000001); }
  void Key(WPARAM key) const { Down(key), Up(key); }
  void Type(const std::string& text) const {
    for (char c : text) SendMessageA(View(), WM_CHAR, WPARAM(c), 1);
  }
  void StampAt(int ms) { Player().SetPosition(ms), Key(VK_RETURN); }
  // Ctrl+key through the plug-in thread's accelerators: Ctrl down in the key state the
  // two threads share while attached, the key posted to the view; released once done.
  bool CtrlKey(WPARAM key, const std::function<bool()>& done) {
    const DWORD editorThread = GetWindowThreadProcessId(Editor(), nullptr);
    AttachThreadInput(GetCurrentThreadId(), editorThread, TRUE);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(View(), WM_KEYDOWN, key, 1);
    const bool happened = WaitFor(done);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    AttachThreadInput(GetCurrentThreadId(), editorThread, FALSE);
    return happened;
  }
  // Posted: the command may ask something the test answers.
  void Command(int id) const { PostMessageA(Editor(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void Close() const { PostMessageA(Editor(), WM_CLOSE, 0, 0); }

  // The Editor's own dialog or message box (owned by its frame), so that one of
  // another window of the plug-in is never answered in its place.
  HWND Dialog() const {
    const HWND editor = Editor();
    if (!editor) return nullptr;
    for (HWND window : AllProcessWindows()) {
      char name[16] = {};
      GetClassNameA(window, name, sizeof name);
      if (strcmp(name, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == editor)
        return window;
    }
    return nullptr;
  }
  // Waits for the message box whose text (static 0xFFFF) begins so and presses
  // button; "" when all went so.
  std::string Answer(const char* begins, int button) {
    HWND dialog = nullptr;
    std::string text;
    if (!WaitFor([&] {
          wchar_t shown[512] = {};
          GetDlgItemTextW(dialog = Dialog(), 0xFFFF, shown, 512);
          text = WString::FromW(shown).ToUtf8();
          return text.rfind(begins, 0) == 0 && GetDlgItem(dialog, button);
        }))
      return "asked \"" + text + "\" instead of \"" + begins + "\"";
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return WaitFor([&] { return !IsWindow(dialog); }) ? "" : "the question stayed";
  }
  static BOOL CALLBACK FindNameBox(HWND window, LPARAM found) {
    if (GetDlgCtrlID(window) == 0x47C && !FindWindowExA(window, nullptr, nullptr, nullptr)) *(HWND*)found = window;
    return TRUE;
  }
  // Types name into the file dialog's name box (edt1, or the edit inside cmb13) and
  // presses its OK.
  bool ChooseInFileDialog(const std::string& name) {
    HWND dialog = nullptr, box = nullptr;
    WaitFor([&] {
      if ((dialog = Dialog()) && !(box = GetDlgItem(dialog, 0x480))) EnumChildWindows(dialog, FindNameBox, LPARAM(&box));
      return box != nullptr;
    });
    if (!box) return false;
    SetWindowTextA(box, name.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !IsWindow(dialog); });
  }

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;  // goes first: it holds the library in the folder
};

}  // namespace editortest
