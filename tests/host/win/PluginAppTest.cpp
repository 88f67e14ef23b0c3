// The plug-in thread with a fake player link, test windows made by the window factory
// and the shipped menu 114: routing, check marks, the tick's naps (on the test napper's
// manual clock, whatever Wine's speed), modal loops and the stop steps.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ProcessCensus.h"
#include "host/DummyWindow.h"
#include "host/PluginApp.h"
#include "host/WindowBase.h"
#include "player/SubstitutePlayer.h"
#include "settings/MemoryIniFile.h"

namespace {

constexpr auto kBound = std::chrono::seconds(20);  // only reached when something hangs
constexpr char kTestWindowClass[] = "MrLyrics Test Plug-in Window";
constexpr char kDisplayerSection[] = "Mirabo's Lyrics Displayer";
constexpr char kEditorSection[] = "Mirabo's Lyrics Editor";
// What the test windows do when sent these: the calls other windows make.
constexpr UINT kApplySettings = WM_APP, kSettingsChanged = WM_APP + 1, kSendText = WM_APP + 2, kOpenModal = WM_APP + 3;

class FakeLink : public PlayerLink {
 public:
  void SetNotifyThread(uint32_t threadId) override { notifyThread = threadId; }
  bool AddSystemMenu(HMENU menu) override { systemMenu = menu; return true; }
  bool ShowLyricsButton(bool show) override { buttonShown = show; return true; }
  int Play() override { return 1; }
  int IsPlaying() override { return 1; }
  int GetPosition() override { return 0; }
  int GetLength() override { return -1000; }
  std::atomic<uint32_t> notifyThread{0};
  std::atomic<HMENU> systemMenu{nullptr};
  std::atomic<bool> buttonShown{false};
};

// Everything the plug-in thread does, in order; naps carry the manual time they took.
class World : public Napper {
 public:
  // A message cuts the nap short, as the real wait does: then half of it has passed.
  DWORD Nap(DWORD ms) override {
    bool message = MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT;
    Record("nap" + std::to_string(message ? ms / 2 : ms));
    return message ? ms / 2 : ms;
  }
  void Handled(UINT message) override {
    if (message == kProbeMessage) Record("probe");
  }
  void Record(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
  }
  int Count(const std::string& event) {
    auto events = Events();
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
  // The events after the last `from`, without naps, ticks and probes.
  std::string Notes(const std::string& from = "") {
    auto events = Events();
    auto start = from.empty() ? events.begin() : std::find(events.rbegin(), events.rend(), from).base();
    std::string notes;
    for (auto it = start; it != events.end(); ++it) {
      if (it->rfind("nap", 0) != 0 && it->rfind("tick", 0) != 0 && *it != "probe") notes += *it + " ";
    }
    return notes;
  }
  bool WaitFor(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kBound, [&] {
      lock.unlock();  // the condition reads the events itself
      bool met = done();
      lock.lock();
      return met;
    });
  }
  // Waits until whatever reached the thread before the call has been handled: a probe
  // (a thread message the loop ignores) goes after it and comes back handled.
  bool Settle(const PluginThread& thread) {
    int target = Count("probe") + 1;
    return thread.Post(kProbeMessage) && WaitFor([&] { return Count("probe") >= target; });
  }
  static constexpr UINT kProbeMessage = 0x4FF;

  bool editorMayClose = true;
  bool refuseOpen = false;
  bool modalOnSong = false;  // the Editor's next song change opens a message box
  HWND player = nullptr;
  int karaokeFrames = 0;  // frames the karaoke screen renders back to back, then stops
  int failingFrames = 0;  // of which the first fail

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> events_;
};

class TestWindow : public WindowBase, public PluginWindow {
 public:
  TestWindow(World& world, PluginApp& app, int index, HWND owner)
      : WindowBase(kTestWindowClass), world_(world), app_(app), index_(index) {
    CreateUnder(owner, "test", 0, WS_POPUP, RECT{0, 0, 200, 100}, 0);
    Say("open");
  }
  ~TestWindow() override { Destroy(); Say("destroy"); }
  HWND Handle() const override { return WindowBase::Handle(); }
  bool MayClose(bool force) override {
    Say(force ? "mayclose-forced" : "mayclose");
    return index_ != kEditorWindow || world_.editorMayClose;
  }
  void SongChanged() override {
    Say("song");
    if (index_ == kEditorWindow && std::exchange(world_.modalOnSong, false)) OpenModal();
  }
  void SkinChanged() override { Say("skin"); }
  void ApplySettings() override { Say("apply"); }
  void SettingsChanged() override { Say("settings"); }
  void ShowText(const WString& text) override { Say(("text:" + text.ToUtf8() + ":").c_str()); }
  void Tick() override {
    Say("tick");
    // The Displayer's tick asks the player (a window of another thread) synchronously.
    if (index_ == kDisplayerWindow && world_.player) SendMessageA(world_.player, WM_USER, 0, 0);
  }
  bool IsRendering() override { return index_ == kKaraokeWindow && frames_ < world_.karaokeFrames; }
  bool DrawFrame() override {
    ++frames_;
    Say("frame");
    return frames_ > world_.failingFrames;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kApplySettings: app_.ApplySettings(); return 0;
      case kSettingsChanged: app_.SettingsChanged(); return 0;
      case kSendText: Say(app_.ShowTextInDisplayer(WString::FromUtf8("la")) ? "sent" : "unsent"); return 0;
      case kOpenModal: OpenModal(); return 0;
      default: return WindowBase::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void OpenModal() {
    Say("modal-in");
    MessageBoxA(Handle(), "modal", "modal", MB_OK);
    Say("modal-out");
  }
  void Say(const char* what) { world_.Record(what + std::to_string(index_)); }
  World& world_;
  PluginApp& app_;
  int index_;
  int frames_ = 0;
};

class TestFactory : public WindowFactory {
 public:
  explicit TestFactory(World& world) : world_(world) {}
  std::unique_ptr<PluginWindow> Create(WindowIndex index, PluginApp& app, HWND owner) override {
    if (world_.refuseOpen) return nullptr;  // a window that could not open
    return std::make_unique<TestWindow>(world_, app, index, index == kDisplayerWindow ? owner : nullptr);
  }

 private:
  World& world_;
};

// The shipped resources: the library itself, loaded as data.
HINSTANCE PluginResources() {
  static HMODULE module = LoadLibraryExA(MRLYRICS_PLUGIN_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return module;
}

// The plug-in thread sits in a modal loop: wait for its window.
HWND ShownWindow(const char* className, const char* title = nullptr) {
  HWND window = nullptr;
  SubstitutePlayer::PumpUntil([&] { return IsWindowVisible(window = ProcessWindow(className, title)); }, 20000);
  return window;
}

class PluginAppTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA record{};
    WindowBase::RegisterWindowClass(record, kTestWindowClass);
    ASSERT_NE(PluginResources(), nullptr);
    // The Displayer opens at start unless it was closed at the last stop.
    ini.WriteString(kDisplayerSection, "Open", "0");
  }

  std::unique_ptr<PluginApp> Start() {
    PluginAppSetup setup;
    setup.link = &link;
    setup.ini = &ini;
    setup.windows = &factory;
    setup.instance = PluginResources();
    setup.napper = &world;
    auto app = std::make_unique<PluginApp>(setup);
    EXPECT_TRUE(app->Running());
    return app;
  }
  // Posts and waits until the plug-in thread has handled it.
  void Send(PluginApp& app, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    ASSERT_TRUE(app.Post(message, wParam, lParam));
    ASSERT_TRUE(world.Settle(app));
  }
  void Open(PluginApp& app, std::initializer_list<int> indices) {
    for (int index : indices) Send(app, TM_OPEN_WINDOW, index);
  }
  HWND WindowOf(PluginApp& app, WindowIndex index) { return app.Window(index)->Handle(); }

  MemoryIniFile ini;
  FakeLink link;
  World world;
  TestFactory factory{world};
};

TEST_F(PluginAppTest, StartIsHandedOverBeforeTheConstructorReturns) {
  for (const char* button : {"1", "0"}) {
    ini.WriteString("Mirabo's Lyrics Common", "LyricsButton", button);
    link.buttonShown = false;
    auto app = Start();
    EXPECT_NE(app->ThreadId(), 0u);
    EXPECT_EQ(link.notifyThread.load(), app->ThreadId());
    // The system menu takes the popup as a submenu, not the menu bar holding it.
    EXPECT_EQ(link.systemMenu.load(), GetSubMenu(app->Menu(), 0));
    EXPECT_EQ(link.buttonShown, *button == '1');
    EXPECT_EQ(GetWindowThreadProcessId(app->DummyHandle(), nullptr), app->ThreadId());
    EXPECT_FALSE(app->Common().language.IsEmpty());
  }
}

TEST_F(PluginAppTest, ToggleOpensAndClosesAndTheCheckMarkFollows) {
  auto app = Start();
  for (int index : {kDisplayerWindow, kKaraokeWindow, kEditorWindow, kOptionsWindow}) {
    Send(*app, TM_TOGGLE_WINDOW, index, 0);
    EXPECT_TRUE(app->MenuChecked(index)) << index;
    Send(*app, TM_TOGGLE_WINDOW, index, 0);
    EXPECT_FALSE(app->MenuChecked(index)) << index;
    std::string i = std::to_string(index);
    EXPECT_EQ(world.Notes(), "open" + i + (index == kOptionsWindow ? "" : " mayclose" + i) + " destroy" + i + " ");
    world.Clear();
  }
  // Help is never checked and never a window; an open window is not made again, and
  // unknown indices do nothing.
  Open(*app, {kHelpWindow, kEditorWindow, kEditorWindow, 9});
  Send(*app, TM_CLOSE_WINDOW, 9, 1);
  EXPECT_FALSE(app->MenuChecked(kHelpWindow));
  EXPECT_TRUE(app->MenuChecked(kEditorWindow));
  // An Editor that may not close stays unless forced; closing what is not open only
  // clears the mark.
  world.editorMayClose = false;
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 0);
  EXPECT_TRUE(app->MenuChecked(kEditorWindow));
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 1);
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 0);
  EXPECT_FALSE(app->MenuChecked(kEditorWindow));
  EXPECT_EQ(world.Notes(), "open2 mayclose2 mayclose-forced2 destroy2 ");
  // A window that could not open leaves its item unchecked, so the next toggle opens.
  world.refuseOpen = true;
  Send(*app, TM_TOGGLE_WINDOW, kKaraokeWindow, 0);
  EXPECT_FALSE(app->MenuChecked(kKaraokeWindow));
}

// Thread messages, and the calls one window makes to the others through the thread.
TEST_F(PluginAppTest, RequestsReachTheOpenWindowsInIndexOrder) {
  auto app = Start();
  Open(*app, {kOptionsWindow, kEditorWindow, kKaraokeWindow, kDisplayerWindow});
  struct Case { UINT message; bool toEditor; const char* notes; };  // toEditor: the Editor calls the thread
  for (const Case& c : {Case{TM_SONG_CHANGED, false, "song0 song1 song2 song3 "},
                        Case{TM_SKIN_CHANGED, false, "skin0 skin1 skin2 skin3 "},
                        // The Editor is busy with its own call: its part comes when that returns.
                        Case{kApplySettings, true, "apply0 apply1 apply3 apply2 "},
                        Case{kSettingsChanged, true, "settings0 settings1 settings3 settings2 "},
                        Case{kSendText, true, "text:la:0 sent2 "}}) {
    world.Clear();
    if (c.toEditor) SendMessageA(WindowOf(*app, kEditorWindow), c.message, 0, 0);
    if (!c.toEditor) app->Post(c.message);
    ASSERT_TRUE(world.Settle(*app));
    EXPECT_EQ(world.Notes(), c.notes) << c.message;
  }
  Send(*app, TM_CLOSE_WINDOW, kDisplayerWindow);
  SendMessageA(WindowOf(*app, kEditorWindow), kSendText, 0, 0);
  EXPECT_EQ(world.Notes("sent2"), "mayclose0 destroy0 unsent2 ");
}

// The Displayer moves with the player, to the left of or above the first monitor too,
// and comes up right behind it, unless it stays on top anyway.
TEST_F(PluginAppTest, DisplayerFollowsThePlayer) {
  for (int topMost : {0, 1}) {
    ini.WriteString(kDisplayerSection, "TopMost", std::to_string(topMost));
    auto app = Start();
    HWND player = CreateWindowExA(0, kTestWindowClass, "player", WS_POPUP | WS_VISIBLE, 400, 0, 100, 100, nullptr,
                                  nullptr, WindowBase::Instance(), nullptr);
    Send(*app, TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(player));  // with no Displayer: nothing
    Open(*app, {kDisplayerWindow});
    HWND displayer = WindowOf(*app, kDisplayerWindow);
    EXPECT_EQ(GetWindow(displayer, GW_OWNER), app->DummyHandle());
    Send(*app, TM_MOVE_FOLLOWER, static_cast<WPARAM>(-300), static_cast<LPARAM>(-20));
    RECT rect{};
    GetWindowRect(displayer, &rect);
    EXPECT_EQ(rect.left, -300);
    EXPECT_EQ(rect.top, -20);
    SetWindowPos(displayer, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_NE(GetWindow(player, GW_HWNDNEXT), displayer);
    Send(*app, TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(player));
    EXPECT_EQ(GetWindow(player, GW_HWNDNEXT) == displayer, topMost == 0) << topMost;
    app.reset();
    DestroyWindow(player);
  }
}

// The tick comes every Wait ms, after one full wait. A message cuts a nap short; what
// was napped still counts towards the tick.
TEST_F(PluginAppTest, TicksComeEveryWaitMillisecondsWhateverMessagesCome) {
  ini.WriteString(kDisplayerSection, "Open", "1");
  for (auto [wait, messages] : {std::pair{20, 0}, {5, 0}, {25, 40}}) {
    ini.WriteString(kDisplayerSection, "Wait", std::to_string(wait));
    world.Clear();
    auto app = Start();
    for (int i = 0; i < messages; ++i, Sleep(i % 3)) app->Post(TM_SKIN_CHANGED);
    ASSERT_TRUE(world.WaitFor([&] { return world.Count("skin0") == messages && world.Count("tick0") >= 20; }));
    long now = 0, last = -1;
    for (const std::string& event : world.Events()) {
      if (event.rfind("nap", 0) == 0) now += std::stol(event.substr(3));
      if (event != "tick0") continue;
      EXPECT_TRUE(last < 0 || now - last == wait) << now - last;
      last = now;
    }
    if (messages) {
      EXPECT_GT(world.Count("nap12") + world.Count("nap6") + world.Count("nap3"), 0);  // naps were cut short
      continue;
    }
    std::vector<std::string> events = world.Events();
    auto first = std::find(events.begin(), events.end(), "tick0");
    std::string nap = "nap" + std::to_string(wait);
    EXPECT_EQ(std::vector<std::string>(first, first + 4), (std::vector<std::string>{"tick0", nap, "tick0", nap}));
  }
}

TEST_F(PluginAppTest, KaraokeFramesRunBackToBackWithoutNapsOrTicks) {
  world.karaokeFrames = 30;
  world.failingFrames = 3;  // a display that refuses frames for a while: no spinning
  auto app = Start();
  Open(*app, {kDisplayerWindow, kKaraokeWindow});
  // Rendering done, the ticks come back.
  std::vector<std::string> events;
  auto last = events.end();
  ASSERT_TRUE(world.WaitFor([&] {
    events = world.Events();
    last = std::find(events.rbegin(), events.rend(), "frame1").base();
    return std::count(events.begin(), last, "frame1") == 30 && std::count(last, events.end(), "tick0") > 0;
  }));
  auto first = std::find(events.begin(), events.end(), "frame1");
  // A nap after each failed frame; then no nap and no tick between frames.
  const std::vector<std::string> run(first, last);
  ASSERT_EQ(run.size(), 33u);
  for (size_t i = 0; i < run.size(); ++i) EXPECT_EQ(run[i].rfind(i < 6 && i % 2 ? "nap" : "frame1", 0), 0u) << i;
}

// A window's modal loop (a save question, a file chooser) takes every message of the
// thread. Requests and calls made meanwhile wait until it returns; the others tick on.
TEST_F(PluginAppTest, ModalLoopsLoseNoRequestsAndTheOtherWindowsKeepTicking) {
  for (bool fromThreadMessage : {true, false}) {
    world.Clear();
    auto app = Start();
    Open(*app, {kDisplayerWindow, kEditorWindow});
    world.modalOnSong = fromThreadMessage;
    if (fromThreadMessage) app->Post(TM_SONG_CHANGED);
    if (!fromThreadMessage) PostMessageA(WindowOf(*app, kEditorWindow), kOpenModal, 0, 0);
    HWND box = ShownWindow("#32770", "modal");
    ASSERT_NE(box, nullptr);
    app->Post(TM_SONG_CHANGED);
    app->Post(TM_TOGGLE_WINDOW, kKaraokeWindow);
    SendMessageA(WindowOf(*app, kDisplayerWindow), kApplySettings, 0, 0);  // no window is entered again
    auto inModal = [&](const char* what) {
      auto events = world.Events();
      auto in = std::find(events.begin(), events.end(), "modal-in2");
      return std::count(in, std::find(in, events.end(), "modal-out2"), what);
    };
    ASSERT_TRUE(world.WaitFor([&] { return inModal("tick0") >= 3; }));
    EXPECT_EQ(world.Notes("modal-in2"), "");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(world.WaitFor([&] { return world.Count("apply2") == 1; }));
    EXPECT_EQ(world.Notes("modal-in2"), "modal-out2 song0 song2 open1 apply0 apply2 ");
    EXPECT_EQ(inModal("tick2"), 0);  // the Editor waits in its own loop
  }
}

// A left click on the tray icon opens the Displayer, once; a right click shows the
// popup of the shipped menu 114, checked where windows are open, whose commands the
// dummy window turns into requests. The player may quit while the menu is open: its
// modal loop must not keep quit waiting.
TEST_F(PluginAppTest, TrayOpensTheDisplayerAndShowsMenu114WithItsCheckMarks) {
  auto app = Start();
  HWND dummy = app->DummyHandle();
  for (LPARAM click : {WM_LBUTTONUP, WM_LBUTTONUP, WM_MOUSEMOVE})
    SendMessageA(dummy, DummyWindow::kTrayMessage, 1, click);
  SendMessageA(dummy, WM_COMMAND, kFirstWindowCommand + kWindowIndexCount, 0);  // not one of ours
  Open(*app, {kEditorWindow});
  EXPECT_EQ(world.Notes(), "open0 open2 ");
  for (bool choose : {true, false}) {
    PostMessageA(dummy, DummyWindow::kTrayMessage, 1, WM_RBUTTONUP);
    HWND popup = ShownWindow("#32768");
    ASSERT_NE(popup, nullptr);
    constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
    auto shown = reinterpret_cast<HMENU>(SendMessageA(popup, kGetMenu, 0, 0));
    ASSERT_EQ(GetMenuItemCount(shown), kWindowIndexCount);
    for (int i = 0; i < kWindowIndexCount; ++i) {
      EXPECT_EQ(GetMenuItemID(shown, i), kFirstWindowCommand + i);
      bool checked = i == kDisplayerWindow || i == kEditorWindow || (i == kOptionsWindow && !choose);
      EXPECT_EQ(GetMenuState(shown, i, MF_BYPOSITION) & MF_CHECKED, checked ? MF_CHECKED : 0u) << i;
    }
    if (!choose) {
      app.reset();
      EXPECT_FALSE(IsWindowVisible(popup));
      break;
    }
    // Choosing "Options..." with the keyboard toggles the sheet.
    for (int i = 0; i < 4; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(world.WaitFor([&] { return world.Count("open3") == 1; }));
  }
}

// The tick may be inside a SendMessage to the player's thread when the player quits:
// stopping must answer it instead of waiting for the thread with a plain wait.
TEST_F(PluginAppTest, StopAnswersTheThreadsSendsToThePlayerMeanwhile) {
  world.player = CreateWindowExA(0, kTestWindowClass, "player", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 WindowBase::Instance(), nullptr);
  auto app = Start();
  app->Post(TM_OPEN_WINDOW, kDisplayerWindow);
  // This thread pumps nothing now: the first tick stays inside its SendMessage.
  ASSERT_TRUE(world.WaitFor([&] { return world.Count("tick0") == 1; }));
  app.reset();
  EXPECT_EQ(world.Count("destroy0"), 1);
  DestroyWindow(world.player);
}

// What Run leaves in the settings, and what it leaves behind at all.
TEST_F(PluginAppTest, StopRemembersDisplayerAndEditorAndDestroysEveryWindow) {
  auto app = Start();
  Open(*app, {kDisplayerWindow, kKaraokeWindow, kOptionsWindow});
  HWND dummy = app->DummyHandle();
  world.Clear();
  app.reset();
  EXPECT_FALSE(IsWindow(dummy));
  EXPECT_EQ(world.Notes(), "destroy0 destroy1 destroy3 ");
  EXPECT_EQ(ini.ReadInt(kDisplayerSection, "Open", -1), 1);
  EXPECT_EQ(ini.ReadInt(kEditorSection, "Open", -1), 0);

  // The next start reopens what was remembered.
  ini.WriteString(kEditorSection, "Open", "1");
  world.Clear();
  app = Start();
  ASSERT_TRUE(world.Settle(*app));
  EXPECT_EQ(world.Notes(), "open0 open2 ");
  world.editorMayClose = false;
  world.Clear();
  app.reset();
  // Stopping closes the Editor even when it would rather stay, after asking.
  EXPECT_EQ(world.Notes(), "destroy0 mayclose-forced2 destroy2 ");
  EXPECT_EQ(ini.ReadInt(kEditorSection, "Open", -1), 1);
}

TEST_F(PluginAppTest, HundredStartsAndStopsLeaveNothingBehind) {
  { auto warm = Start(); }  // the first start makes the thread's lasting IME window etc.
  long handles = LiveScopedHandles();
  size_t windows = AllProcessWindows().size();
  size_t threads = ProcessThreads().size();
  ini.WriteString(kDisplayerSection, "Open", "1");
  ini.WriteString(kEditorSection, "Open", "1");
  for (int i = 0; i < 100; ++i) {
    auto app = Start();
    HMENU menu = app->Menu();
    app.reset();
    EXPECT_FALSE(IsMenu(menu));
  }
  EXPECT_EQ(LiveScopedHandles(), handles);
  EXPECT_EQ(AllProcessWindows().size(), windows);
  EXPECT_EQ(ProcessThreads().size(), threads);
  WNDCLASSEXA record{};
  record.cbSize = sizeof record;
  EXPECT_FALSE(GetClassInfoExA(WindowBase::Instance(), DummyWindow::kClassName, &record));
}

}  // namespace
