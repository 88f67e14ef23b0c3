// The creation hook and the window base under Wine: real windows on this thread.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/DialogHelpers.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"

namespace {

constexpr char kTestClass[] = "MrLyrics WindowBase Test";
constexpr char kImeStyledClass[] = "MrLyrics Ime Styled";

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXA record{};
  WindowBase::RegisterWindowClass(record, kTestClass);
  WNDCLASSEXA ime{};
  ime.cbSize = sizeof ime;
  ime.style = CS_IME;
  ime.lpfnWndProc = DefWindowProcA;
  ime.hInstance = WindowBase::Instance();
  ime.lpszClassName = kImeStyledClass;
  RegisterClassExA(&ime);
}

class RecordingWindow : public WindowBase {
 public:
  explicit RecordingWindow(const char* className = kTestClass) : WindowBase(className) {}
  std::vector<UINT> messages;
  HWND handleAtCreate = nullptr;
  std::function<void()> onCreate;
  bool throwOnUser = false;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    messages.push_back(message);
    if (message == WM_CREATE) {
      handleAtCreate = Handle();
      if (onCreate) onCreate();
    }
    if (message == WM_USER && throwOnUser) throw std::runtime_error("window procedure failure");
    return WindowBase::WindowProc(message, wParam, lParam);
  }
};

bool Saw(const RecordingWindow& window, UINT message) {
  for (UINT m : window.messages) {
    if (m == message) return true;
  }
  return false;
}

WindowBase* ObjectOf(HWND window) { return reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

const RECT kRect{10, 10, 110, 60};

class WindowBaseTest : public testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

TEST_F(WindowBaseTest, ObjectSeesEveryMessageFromTheFirstOnAndForgetsTheWindowAtNcDestroy) {
  RecordingWindow window;
  ASSERT_TRUE(window.Create("first", 0, WS_POPUP, kRect, nullptr, 0));
  HWND handle = window.Handle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(window.handleAtCreate, handle);
  EXPECT_TRUE(Saw(window, WM_NCCREATE));
  EXPECT_EQ(ObjectOf(handle), &window);
  EXPECT_EQ(window.WindowRect().right - window.WindowRect().left, 100);

  DestroyWindow(handle);
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_TRUE(Saw(window, WM_NCDESTROY));
  // The object no longer hears anything of that handle.
  size_t heard = window.messages.size();
  SendMessageA(handle, WM_USER, 0, 0);
  EXPECT_EQ(window.messages.size(), heard);
}

TEST_F(WindowBaseTest, DestructorDestroysALiveWindowAndClassesAreFoundAgain) {
  HWND handle;
  {
    RecordingWindow window;
    ASSERT_TRUE(window.Create("", 0, WS_POPUP, kRect, nullptr, 0));
    handle = window.Handle();
  }
  EXPECT_FALSE(IsWindow(handle));
}

TEST_F(WindowBaseTest, WindowCreatedInsideAnotherCreationIsNotTakenByTheOuterObject) {
  RecordingWindow outer;
  RecordingWindow inner;
  HWND plainChild = nullptr;
  outer.onCreate = [&] {
    // A plain window made while the outer creation is still running: nothing pending.
    plainChild = CreateWindowExA(0, kTestClass, "plain", WS_CHILD, 0, 0, 10, 10, outer.Handle(), nullptr,
                                 WindowBase::Instance(), nullptr);
    // A nested creation of its own works and leaves the outer object alone.
    EXPECT_TRUE(inner.Create("inner", 0, WS_CHILD, kRect, &outer, 7));
  };
  ASSERT_TRUE(outer.Create("outer", 0, WS_POPUP, kRect, nullptr, 0));
  ASSERT_NE(plainChild, nullptr);
  EXPECT_EQ(ObjectOf(plainChild), nullptr);
  EXPECT_EQ(ObjectOf(outer.Handle()), &outer);
  EXPECT_EQ(ObjectOf(inner.Handle()), &inner);
  EXPECT_EQ(GetParent(inner.Handle()), outer.Handle());
  EXPECT_EQ(GetDlgCtrlID(inner.Handle()), 7);
  // The hook is gone with the last creation: later windows are nobody's.
  HWND later = CreateWindowExA(0, kTestClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, WindowBase::Instance(),
                               nullptr);
  EXPECT_EQ(ObjectOf(later), nullptr);
  DestroyWindow(later);
}

TEST_F(WindowBaseTest, InputMethodWindowsDoNotTakeThePendingObject) {
  RecordingWindow window;
  ASSERT_TRUE(WindowBase::ArmCreationHook(&window, false));
  HWND styled = CreateWindowExA(0, kImeStyledClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                WindowBase::Instance(), nullptr);
  HWND named = CreateWindowExA(0, "Ime", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(window.Handle(), nullptr);
  HWND mine = CreateWindowExA(0, kTestClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, WindowBase::Instance(),
                              nullptr);
  EXPECT_TRUE(WindowBase::DisarmCreationHook());
  EXPECT_EQ(window.Handle(), mine);
  EXPECT_EQ(ObjectOf(styled), nullptr);
  if (named) DestroyWindow(named);
  DestroyWindow(styled);
}

TEST_F(WindowBaseTest, ASecondCreationWhileOneIsPendingFails) {
  RecordingWindow first;
  RecordingWindow second;
  ASSERT_TRUE(WindowBase::ArmCreationHook(&first, false));
  EXPECT_FALSE(WindowBase::ArmCreationHook(&second, false));
  EXPECT_FALSE(second.Create("", 0, WS_POPUP, kRect, nullptr, 0));
  EXPECT_EQ(second.Handle(), nullptr);
  EXPECT_TRUE(WindowBase::DisarmCreationHook());
  // Disarming drops the pending object: the next creation works normally.
  EXPECT_TRUE(second.Create("", 0, WS_POPUP, kRect, nullptr, 0));
  EXPECT_EQ(first.Handle(), nullptr);
}

TEST_F(WindowBaseTest, SubclassedSystemWindowKeepsItsOwnBehaviour) {
  RecordingWindow button("BUTTON");
  ASSERT_TRUE(button.Create("Press", 0, WS_POPUP | BS_PUSHBUTTON, kRect, nullptr, 0));
  EXPECT_EQ(GetWindowLongPtrA(button.Handle(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(&WindowBase::StaticWindowProc));
  char text[16] = {};
  GetWindowTextA(button.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Press");
  EXPECT_TRUE(Saw(button, WM_SETTEXT) || Saw(button, WM_GETTEXT));
}

TEST_F(WindowBaseTest, DialogIsAttachedWithoutSubclassing) {
  struct Dialog : WindowBase {
    Dialog() : WindowBase("#32770") {}
    bool initialised = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_INITDIALOG) initialised = true;
      return WindowBase::WindowProc(message, wParam, lParam);
    }
  } dialog;
  alignas(4) WORD templ[32] = {};
  auto* header = reinterpret_cast<DLGTEMPLATE*>(templ);
  header->style = WS_POPUP;
  header->cx = 50;
  header->cy = 20;
  ASSERT_TRUE(WindowBase::ArmCreationHook(&dialog, true));
  HWND handle = CreateDialogIndirectParamA(WindowBase::Instance(), header, nullptr, WindowBase::StaticDialogProc, 0);
  WindowBase::DisarmCreationHook();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(dialog.Handle(), handle);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_NE(GetWindowLongPtrA(handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WindowBase::StaticWindowProc));
  DestroyWindow(handle);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(WindowBaseTest, ExceptionInAWindowProcedureStaysInside) {
  RecordingWindow window;
  window.throwOnUser = true;
  ASSERT_TRUE(window.Create("", 0, WS_POPUP, kRect, nullptr, 0));
  EXPECT_EQ(window.Send(WM_USER), 0);
  EXPECT_TRUE(IsWindow(window.Handle()));
}

TEST(ScopedHandlesTest, LiveCountFollowsOwnershipThroughMovesAndResets) {
  long before = LiveScopedHandles();
  {
    OwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(LiveScopedHandles(), before + 1);
    OwnedBrush moved(std::move(brush));
    EXPECT_EQ(LiveScopedHandles(), before + 1);
    EXPECT_FALSE(brush);
    OwnedMenu menu(CreatePopupMenu());
    KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(LiveScopedHandles(), before + 3);
    HMENU raw = menu.Get();
    menu.Reset();
    EXPECT_FALSE(IsMenu(raw));
    OwnedMemoryDC dc(nullptr);
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    { ScopedSelect select(dc.Get(), bitmap.Get()); }
    EXPECT_EQ(LiveScopedHandles(), before + 4);
    FileHandle failed(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failed);
  }
  EXPECT_EQ(LiveScopedHandles(), before);
}

TEST(DialogHelpersTest, FileExistsFindsFilesByTheirAnsiName) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  // "歌詞.txt": its Shift-JIS form holds a 0x5C-free double-byte name.
  WString path = WString::FromAnsi(folder);
  path.Append(u"\u6B4C\u8A5E.txt", 6);
  EXPECT_FALSE(FileExists(path));
  FileHandle file(CreateFileA(path.Ansi(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  file.Reset();
  EXPECT_TRUE(FileExists(path));
  DeleteFileA(path.Ansi());
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
