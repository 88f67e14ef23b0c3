// The plug-in thread with a fake player link and test windows registered through the
// window factory: routing, check marks, the nap arithmetic of the tick and the stop
// steps. Time is the test napper's manual clock; nothing here depends on how fast
// Wine runs.

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ProcessCensus.h"
#include "host/DummyWindow.h"
#include "settings/MemoryIniFile.h"
#include "host/PluginApp.h"
#include "host/WindowBase.h"

namespace {

constexpr auto kBound = std::chrono::seconds(20);  // only reached when something hangs
constexpr char kTestWindowClass[] = "MrLyrics Test Plug-in Window";
constexpr char kDisplayerSection[] = "Mirabo's Lyrics Displayer";
constexpr char kEditorSection[] = "Mirabo's Lyrics Editor";

class FakeLink : public PlayerLink {
 public:
  void SetNotifyThread(uint32_t threadId) override { notifyThread = threadId; }
  bool AddSystemMenu(HMENU menu) override {
    systemMenu = menu;
    return true;
  }
  bool ShowLyricsButton(bool show) override {
    buttonShown = show;
    return true;
  }
  int Play() override { return 1; }
  int IsPlaying() override { return 1; }
  int GetPosition() override { return 0; }
  int GetLength() override { return -1000; }

  std::atomic<uint32_t> notifyThread{0};
  std::atomic<HMENU> systemMenu{nullptr};
  std::atomic<bool> buttonShown{false};
};

// Everything the plug-in thread does, in order, with the manual time it happened at.
class World : public Napper {
 public:
  DWORD Nap(DWORD ms) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      now_ += ms;
      events_.push_back("nap" + std::to_string(ms));
    }
    changed_.notify_all();
    Sleep(1);  // real time passes too, so messages from the test can arrive
    return ms;
  }
  void Handled(UINT message) override {
    if (message != kProbeMessage) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++probes_;
    }
    changed_.notify_all();
  }
  void Record(const std::string& event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
    if (event == "tick0") tickTimes_.push_back(now_);
    changed_.notify_all();
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  std::vector<long> TickTimes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return tickTimes_;
  }
  int Count(const std::string& event) {
    auto events = Events();
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
    tickTimes_.clear();
  }
  // Waits until whatever reached the thread before the call has been handled: a probe
  // (a thread message the loop ignores) goes after it and comes back handled.
  bool Settle(const PluginThread& thread) {
    std::unique_lock<std::mutex> lock(mutex_);
    long target = probes_ + 1;
    if (!thread.Post(kProbeMessage)) return false;
    return changed_.wait_for(lock, kBound, [&] { return probes_ >= target; });
  }
  static constexpr UINT kProbeMessage = 0x4FF;
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kBound, [&] { return done(events_); });
  }

  bool editorMayClose = true;
  HWND player = nullptr;
  int karaokeFrames = 0;  // frames the karaoke screen renders back to back, then stops

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> events_;
  std::vector<long> tickTimes_;
  long now_ = 0;
  long probes_ = 0;
};

class TestWindow : public WindowBase, public PluginWindow {
 public:
  TestWindow(World& world, int index, HWND owner) : WindowBase(kTestWindowClass), world_(world), index_(index) {
    Create("test", 0, WS_POPUP, RECT{0, 0, 200, 100}, nullptr, 0);
    if (owner) SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    Say("open");
  }
  ~TestWindow() override {
    Destroy();
    Say("destroy");
  }
  HWND Handle() const override { return WindowBase::Handle(); }
  bool MayClose(bool force) override {
    Say(force ? "mayclose-forced" : "mayclose");
    return index_ != kEditorWindow || world_.editorMayClose;
  }
  void SongChanged() override { Say("song"); }
  void SkinChanged() override { Say("skin"); }
  void Tick() override {
    Say("tick");
    // The Displayer's tick asks the player (a window of another thread) synchronously.
    if (index_ == kDisplayerWindow && world_.player) SendMessageA(world_.player, WM_USER, 0, 0);
  }
  bool IsRendering() override { return index_ == kKaraokeWindow && frames_ < world_.karaokeFrames; }
  void DrawFrame() override {
    ++frames_;
    Say("frame");
  }

 private:
  void Say(const char* what) { world_.Record(what + std::to_string(index_)); }
  World& world_;
  int index_;
  int frames_ = 0;
};

class TestFactory : public WindowFactory {
 public:
  explicit TestFactory(World& world) : world_(world) {}
  std::unique_ptr<PluginWindow> Create(WindowIndex index, PluginApp&, HWND owner) override {
    ++created;
    return std::make_unique<TestWindow>(world_, index, index == kDisplayerWindow ? owner : nullptr);
  }
  std::atomic<int> created{0};

 private:
  World& world_;
};

// The layout of menu 114: one popup with a command per window.
HMENU MakePluginMenu() {
  HMENU menu = CreateMenu();
  HMENU popup = CreatePopupMenu();
  const char* names[] = {"Displayer...", "Karaoke Displayer...", "Editor...", "Options...", "Help..."};
  for (int i = 0; i < kWindowIndexCount; ++i) AppendMenuA(popup, MF_STRING, kFirstWindowCommand + i, names[i]);
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Mirabo's Lyrics");
  return menu;
}

// The plug-in thread sits in a menu's modal loop: poll for the menu window.
HWND ShownPopupMenu() {
  HWND popup = nullptr;
  for (int i = 0; i < 2000 && !(popup && IsWindowVisible(popup)); ++i) {
    Sleep(10);
    popup = FindWindowA("#32768", nullptr);
  }
  return popup;
}

void RegisterTestWindowClass() {
  WNDCLASSEXA record{};
  WindowBase::RegisterWindowClass(record, kTestWindowClass);
}

class PluginAppTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterTestWindowClass();
    // The Displayer opens at start unless it was closed at the last stop.
    ini.WriteString(kDisplayerSection, "Open", "0");
  }

  std::unique_ptr<PluginApp> Start() {
    PluginAppSetup setup;
    setup.link = &link;
    setup.ini = &ini;
    setup.windows = &factory;
    setup.menu = MakePluginMenu();
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
  // The tick pattern between the first and the last tick seen.
  std::string TickPattern(size_t ticks) {
    EXPECT_TRUE(world.WaitFor([&](const std::vector<std::string>& events) {
      return static_cast<size_t>(std::count(events.begin(), events.end(), "tick0")) >= ticks;
    }));
    std::string pattern;
    int seen = 0;
    for (const std::string& event : world.Events()) {
      if (event == "tick0") ++seen;
      if (seen >= 1 && seen < static_cast<int>(ticks)) pattern += event + " ";
    }
    return pattern;
  }

  MemoryIniFile ini;
  FakeLink link;
  World world;
  TestFactory factory{world};
};

TEST_F(PluginAppTest, StartIsHandedOverBeforeTheConstructorReturns) {
  auto app = Start();
  EXPECT_NE(app->ThreadId(), 0u);
  EXPECT_EQ(link.notifyThread.load(), app->ThreadId());
  EXPECT_EQ(link.systemMenu.load(), app->Menu());
  EXPECT_TRUE(link.buttonShown);
  EXPECT_NE(app->DummyHandle(), nullptr);
  EXPECT_EQ(GetWindowThreadProcessId(app->DummyHandle(), nullptr), app->ThreadId());
  EXPECT_FALSE(app->Common().language.IsEmpty());
}

TEST_F(PluginAppTest, LyricsButtonIsLeftAloneWhenTheSettingIsOff) {
  ini.WriteString("Mirabo's Lyrics Common", "LyricsButton", "0");
  auto app = Start();
  EXPECT_FALSE(link.buttonShown);
}

TEST_F(PluginAppTest, ToggleOpensAndClosesAndTheCheckMarkFollows) {
  auto app = Start();
  for (int index : {kDisplayerWindow, kKaraokeWindow, kEditorWindow, kOptionsWindow}) {
    Send(*app, TM_TOGGLE_WINDOW, index, 0);
    EXPECT_TRUE(app->MenuChecked(index)) << index;
    EXPECT_EQ(world.Count("open" + std::to_string(index)), 1);
    Send(*app, TM_TOGGLE_WINDOW, index, 0);
    EXPECT_FALSE(app->MenuChecked(index)) << index;
    EXPECT_EQ(world.Count("destroy" + std::to_string(index)), 1);
  }
  // Help is never checked and never a window.
  Send(*app, TM_TOGGLE_WINDOW, kHelpWindow, 0);
  EXPECT_FALSE(app->MenuChecked(kHelpWindow));
  EXPECT_EQ(factory.created.load(), 4);
}

TEST_F(PluginAppTest, OpeningAnOpenWindowMakesNothingNewAndUnknownIndicesAreIgnored) {
  auto app = Start();
  Send(*app, TM_OPEN_WINDOW, kEditorWindow);
  Send(*app, TM_OPEN_WINDOW, kEditorWindow);
  Send(*app, TM_OPEN_WINDOW, 9);
  Send(*app, TM_CLOSE_WINDOW, 9, 1);
  Send(*app, 0x4FF);
  EXPECT_EQ(factory.created.load(), 1);
  EXPECT_TRUE(app->MenuChecked(kEditorWindow));
}

TEST_F(PluginAppTest, EditorThatMayNotCloseStaysUnlessForced) {
  world.editorMayClose = false;
  auto app = Start();
  Send(*app, TM_OPEN_WINDOW, kEditorWindow);
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 0);
  EXPECT_TRUE(app->MenuChecked(kEditorWindow));
  EXPECT_EQ(world.Count("destroy2"), 0);
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 1);
  EXPECT_FALSE(app->MenuChecked(kEditorWindow));
  EXPECT_EQ(world.Count("mayclose-forced2"), 1);
  EXPECT_EQ(world.Count("destroy2"), 1);
  // Closing what is not open only clears the mark.
  Send(*app, TM_CLOSE_WINDOW, kEditorWindow, 0);
  EXPECT_EQ(world.Count("destroy2"), 1);
}

TEST_F(PluginAppTest, SongChangeReachesTheOpenWindowsInOrderAndSkinOnlyTheDisplayer) {
  auto app = Start();
  for (int index : {kEditorWindow, kKaraokeWindow, kDisplayerWindow}) Send(*app, TM_OPEN_WINDOW, index);
  world.Clear();
  Send(*app, TM_SONG_CHANGED);
  Send(*app, TM_SKIN_CHANGED);
  std::vector<std::string> notes;
  for (const std::string& event : world.Events()) {
    if (event.rfind("song", 0) == 0 || event.rfind("skin", 0) == 0) notes.push_back(event);
  }
  EXPECT_EQ(notes, (std::vector<std::string>{"song0", "song1", "song2", "skin0"}));
}

TEST_F(PluginAppTest, FollowerMovesOnlyAnOpenDisplayer) {
  auto app = Start();
  Send(*app, TM_MOVE_FOLLOWER, 300, 200);  // no Displayer: nothing happens
  Send(*app, TM_OPEN_WINDOW, kDisplayerWindow);
  HWND displayer = app->Window(kDisplayerWindow)->Handle();
  EXPECT_EQ(GetWindow(displayer, GW_OWNER), app->DummyHandle());
  RECT rect{};
  GetWindowRect(displayer, &rect);
  EXPECT_EQ(rect.left, 0);
  Send(*app, TM_MOVE_FOLLOWER, 300, static_cast<LPARAM>(-20));
  GetWindowRect(displayer, &rect);
  EXPECT_EQ(rect.left, 300);
  EXPECT_EQ(rect.top, -20);
  EXPECT_EQ(rect.right - rect.left, 200);
}

TEST_F(PluginAppTest, PlayerActivationBringsTheDisplayerRightBehindThePlayerUnlessTopMost) {
  for (int topMost : {0, 1}) {
    SCOPED_TRACE(topMost);
    ini.WriteString(kDisplayerSection, "TopMost", std::to_string(topMost));
    world.Clear();
    auto app = Start();
    HWND player = CreateWindowExA(0, kTestWindowClass, "player", WS_POPUP | WS_VISIBLE, 400, 0, 100, 100, nullptr,
                                  nullptr, WindowBase::Instance(), nullptr);
    HWND other = CreateWindowExA(0, kTestWindowClass, "other", WS_POPUP | WS_VISIBLE, 400, 0, 100, 100, nullptr,
                                 nullptr, WindowBase::Instance(), nullptr);
    Send(*app, TM_OPEN_WINDOW, kDisplayerWindow);
    HWND displayer = app->Window(kDisplayerWindow)->Handle();
    ShowWindow(displayer, SW_SHOWNA);
    SetWindowPos(player, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SetWindowPos(other, player, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_NE(GetWindow(player, GW_HWNDNEXT), displayer);
    Send(*app, TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(player));
    EXPECT_EQ(GetWindow(player, GW_HWNDNEXT) == displayer, topMost == 0);
    app.reset();
    DestroyWindow(other);
    DestroyWindow(player);
  }
}

// The tick comes every Wait ms, after one wait of Wait ms.
TEST_F(PluginAppTest, TickComesAfterOneWaitOfWaitMilliseconds) {
  struct Case {
    int wait;
    const char* pattern;
  };
  for (const Case& c : {Case{20, "tick0 nap20 "}, Case{25, "tick0 nap25 "}, Case{5, "tick0 nap5 "}}) {
    SCOPED_TRACE(c.wait);
    ini.WriteString(kDisplayerSection, "Wait", std::to_string(c.wait));
    ini.WriteString(kDisplayerSection, "Open", "1");
    world.Clear();
    auto app = Start();
    std::string pattern = TickPattern(4);
    std::string expected;
    for (int i = 0; i < 3; ++i) expected += c.pattern;
    EXPECT_EQ(pattern, expected);
    // Over one second of manual time: 1000 / Wait ticks.
    std::vector<long> ticks;
    EXPECT_TRUE(world.WaitFor([&](const std::vector<std::string>& events) {
      return static_cast<int>(std::count(events.begin(), events.end(), "tick0")) > 1000 / c.wait + 1;
    }));
    ticks = world.TickTimes();
    long first = ticks.front();
    long inSecond = std::count_if(ticks.begin(), ticks.end(), [&](long t) { return t > first && t <= first + 1000; });
    EXPECT_EQ(inSecond, 1000 / c.wait);
  }
}

TEST_F(PluginAppTest, MessagesDoNotPostponeTheNextTick) {
  ini.WriteString(kDisplayerSection, "Wait", "25");
  auto app = Start();
  Send(*app, TM_OPEN_WINDOW, kDisplayerWindow);
  for (int i = 0; i < 40; ++i) {
    app->Post(TM_SKIN_CHANGED);
    Sleep(i % 3);
  }
  ASSERT_TRUE(world.WaitFor([](const std::vector<std::string>& events) {
    return std::count(events.begin(), events.end(), "skin0") == 40 &&
           std::count(events.begin(), events.end(), "tick0") >= 20;
  }));
  std::vector<long> ticks = world.TickTimes();
  for (size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(ticks[i] - ticks[i - 1], 25) << i;
}

TEST_F(PluginAppTest, KaraokeFramesRunBackToBackWithoutNapsOrTicks) {
  world.karaokeFrames = 30;
  auto app = Start();
  Send(*app, TM_OPEN_WINDOW, kDisplayerWindow);
  Send(*app, TM_OPEN_WINDOW, kKaraokeWindow);
  // Rendering done, the ticks come back.
  ASSERT_TRUE(world.WaitFor([](const std::vector<std::string>& events) {
    auto last = std::find(events.rbegin(), events.rend(), "frame1").base();
    return std::count(events.begin(), events.end(), "frame1") == 30 && std::count(last, events.end(), "tick0") > 0;
  }));
  std::vector<std::string> events = world.Events();
  auto first = std::find(events.begin(), events.end(), "frame1");
  auto last = std::find(events.rbegin(), events.rend(), "frame1").base();
  // Between the first and the last frame only frames: no nap, no tick.
  EXPECT_EQ(std::count(first, last, "frame1"), last - first);
}

TEST_F(PluginAppTest, TheDummyWindowTurnsMenuCommandsAndTrayClicksIntoRequests) {
  auto app = Start();
  HWND dummy = app->DummyHandle();
  SendMessageA(dummy, WM_COMMAND, kFirstWindowCommand + kOptionsWindow, 0);
  ASSERT_TRUE(world.Settle(*app));
  EXPECT_TRUE(app->MenuChecked(kOptionsWindow));
  SendMessageA(dummy, WM_COMMAND, kFirstWindowCommand + kOptionsWindow, 0);
  SendMessageA(dummy, WM_COMMAND, kFirstWindowCommand + kWindowIndexCount, 0);  // not ours
  ASSERT_TRUE(world.Settle(*app));
  EXPECT_FALSE(app->MenuChecked(kOptionsWindow));

  SendMessageA(dummy, DummyWindow::kTrayMessage, 1, WM_LBUTTONUP);
  ASSERT_TRUE(world.Settle(*app));
  EXPECT_TRUE(app->MenuChecked(kDisplayerWindow));
  SendMessageA(dummy, DummyWindow::kTrayMessage, 1, WM_LBUTTONUP);  // open already: nothing new
  SendMessageA(dummy, DummyWindow::kTrayMessage, 1, WM_MOUSEMOVE);
  Send(*app, TM_SKIN_CHANGED);  // anything the clicks posted comes before this
  EXPECT_EQ(factory.created.load(), 2);
}

TEST_F(PluginAppTest, TrayMenuIsMenu114WithItsCheckMarks) {
  auto app = Start();
  Send(*app, TM_OPEN_WINDOW, kEditorWindow);
  PostMessageA(app->DummyHandle(), DummyWindow::kTrayMessage, 1, WM_RBUTTONUP);
  HWND popup = ShownPopupMenu();
  ASSERT_NE(popup, nullptr);
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  auto shown = reinterpret_cast<HMENU>(SendMessageA(popup, kGetMenu, 0, 0));
  EXPECT_EQ(shown, app->PopupMenu());
  EXPECT_EQ(GetMenuState(shown, kFirstWindowCommand + kEditorWindow, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(GetMenuState(shown, kFirstWindowCommand + kDisplayerWindow, MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Choosing "Options..." with the keyboard toggles the sheet.
  for (int i = 0; i < 4; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(world.WaitFor([](const std::vector<std::string>& events) {
    return std::count(events.begin(), events.end(), "open3") == 1;
  }));
}

// The player may quit while the tray menu is open: the menu's modal loop must not keep
// the plug-in thread (and so quit) waiting.
TEST_F(PluginAppTest, StopEndsAnOpenTrayMenu) {
  auto app = Start();
  PostMessageA(app->DummyHandle(), DummyWindow::kTrayMessage, 1, WM_RBUTTONUP);
  HWND popup = ShownPopupMenu();
  ASSERT_NE(popup, nullptr);
  app.reset();
  EXPECT_FALSE(IsWindowVisible(popup));
}

// The tick may be inside a SendMessage to the player's thread when the player quits:
// stopping must answer it instead of waiting for the thread with a plain wait.
TEST_F(PluginAppTest, StopAnswersTheThreadsSendsToThePlayerMeanwhile) {
  world.player = CreateWindowExA(0, kTestWindowClass, "player", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 WindowBase::Instance(), nullptr);
  auto app = Start();
  app->Post(TM_OPEN_WINDOW, kDisplayerWindow);
  // This thread pumps nothing now: the first tick stays inside its SendMessage.
  ASSERT_TRUE(world.WaitFor([](const std::vector<std::string>& events) {
    return std::count(events.begin(), events.end(), "tick0") == 1;
  }));
  app.reset();
  EXPECT_EQ(world.Count("destroy0"), 1);
  DestroyWindow(world.player);
}

// What Run leaves in the settings, and what it leaves behind at all.
TEST_F(PluginAppTest, StopRemembersDisplayerAndEditorAndDestroysEveryWindow) {
  auto app = Start();
  for (int index : {kDisplayerWindow, kKaraokeWindow, kOptionsWindow}) Send(*app, TM_OPEN_WINDOW, index);
  HWND dummy = app->DummyHandle();
  app.reset();
  EXPECT_FALSE(IsWindow(dummy));
  for (int index : {0, 1, 3}) EXPECT_EQ(world.Count("destroy" + std::to_string(index)), 1) << index;
  EXPECT_EQ(ini.ReadInt(kDisplayerSection, "Open", -1), 1);
  EXPECT_EQ(ini.ReadInt(kEditorSection, "Open", -1), 0);

  // The next start reopens what was remembered.
  ini.WriteString(kEditorSection, "Open", "1");
  world.Clear();
  app = Start();
  ASSERT_TRUE(world.WaitFor([](const std::vector<std::string>& events) {
    return std::count(events.begin(), events.end(), "open0") == 1 &&
           std::count(events.begin(), events.end(), "open2") == 1;
  }));
  EXPECT_EQ(world.Count("open1"), 0);
  world.editorMayClose = false;
  app.reset();
  // Stopping closes the Editor even when it would rather stay, after asking.
  EXPECT_EQ(world.Count("mayclose-forced2"), 1);
  EXPECT_EQ(world.Count("destroy2"), 1);
  EXPECT_EQ(ini.ReadInt(kEditorSection, "Open", -1), 1);
}

int ProcessWindowCount() { return static_cast<int>(AllProcessWindows().size()); }

TEST_F(PluginAppTest, HundredStartsAndStopsLeaveNothingBehind) {
  { auto warm = Start(); }  // the first start makes the thread's lasting IME window etc.
  long handles = LiveScopedHandles();
  int windows = ProcessWindowCount();
  size_t threads = ProcessThreads().size();
  ini.WriteString(kDisplayerSection, "Open", "1");
  ini.WriteString(kEditorSection, "Open", "1");
  for (int i = 0; i < 100; ++i) {
    auto app = Start();
    ASSERT_TRUE(app->Running());
    HMENU menu = app->Menu();
    DWORD threadId = app->ThreadId();
    app.reset();
    EXPECT_FALSE(IsMenu(menu));
    std::vector<DWORD> now = ProcessThreads();
    EXPECT_EQ(std::find(now.begin(), now.end(), threadId), now.end());
  }
  EXPECT_EQ(LiveScopedHandles(), handles);
  EXPECT_EQ(ProcessWindowCount(), windows);
  EXPECT_EQ(ProcessThreads().size(), threads);
  WNDCLASSEXA record{};
  record.cbSize = sizeof record;
  EXPECT_FALSE(GetClassInfoExA(WindowBase::Instance(), DummyWindow::kClassName, &record));
}

}  // namespace
