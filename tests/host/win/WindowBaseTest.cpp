// The window base, its creation hook and the property-page base, on real windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "host/DialogHelpers.h"
#include "host/PropertyPageBase.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"

namespace {

constexpr char kTestClass[] = "MrLyrics WindowBase Test";
constexpr char kImeStyledClass[] = "MrLyrics Ime Styled";

void RegisterTestClasses() {  // again: fails harmlessly
  WNDCLASSEXA record{};
  WindowBase::RegisterWindowClass(record, kTestClass);
  WNDCLASSEXA ime{};
  ime.style = CS_IME;
  WindowBase::RegisterWindowClass(ime, kImeStyledClass);
}

// Any of our window objects, noting each message and the handle it had at the first.
template <class Base>
class Recording : public Base {
 public:
  template <class... Args>
  explicit Recording(Args... args) : Base(args...) {}
  Recording() : Base(kTestClass) {}
  std::vector<UINT> messages;
  HWND handleAtFirst = nullptr;
  std::function<void()> onCreate;
  bool throwOnUser = false;
  bool Saw(UINT message) const { return std::find(messages.begin(), messages.end(), message) != messages.end(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (messages.empty()) handleAtFirst = this->Handle();
    messages.push_back(message);
    if (message == WM_CREATE && onCreate) onCreate();
    if (message == WM_USER && throwOnUser) throw std::runtime_error("window procedure failure");
    return Base::WindowProc(message, wParam, lParam);
  }
};
using RecordingWindow = Recording<WindowBase>;

HWND PlainWindow(const char* className = kTestClass, DWORD style = WS_POPUP, HWND parent = nullptr) {
  return CreateWindowExA(0, className, "", style, 0, 0, 10, 10, parent, nullptr, WindowBase::Instance(), nullptr);
}

WindowBase* ObjectOf(HWND window) { return reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

const RECT kRect{10, 10, 110, 60};

struct WindowBaseTest : testing::Test {
  void SetUp() override { RegisterTestClasses(); }
};

TEST_F(WindowBaseTest, ObjectSeesEveryMessageFromTheFirstOnAndForgetsTheWindowAtNcDestroy) {
  RecordingWindow window;
  ASSERT_TRUE(window.Create("first", 0, WS_POPUP, kRect, nullptr, 0));
  HWND handle = window.Handle();
  EXPECT_EQ(window.handleAtFirst, handle);
  EXPECT_TRUE(window.Saw(WM_NCCREATE));
  EXPECT_EQ(ObjectOf(handle), &window);
  EXPECT_EQ(window.WindowRect().right - window.WindowRect().left, 100);
  // Nothing thrown in a window procedure unwinds into the system's dispatch.
  window.throwOnUser = true;
  EXPECT_EQ(window.Send(WM_USER), 0);

  DestroyWindow(handle);
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_TRUE(window.Saw(WM_NCDESTROY));
  // The object no longer hears anything of that handle.
  size_t heard = window.messages.size();
  SendMessageA(handle, WM_USER, 0, 0);
  EXPECT_EQ(window.messages.size(), heard);
  {
    RecordingWindow other;  // its destructor destroys a window that is still there
    ASSERT_TRUE(other.Create("", 0, WS_POPUP, kRect, nullptr, 0));
    handle = other.Handle();
  }
  EXPECT_FALSE(IsWindow(handle));
  // A window of a system class keeps its own behaviour under our procedure.
  RecordingWindow button("BUTTON");
  ASSERT_TRUE(button.Create("Press", 0, WS_POPUP | BS_PUSHBUTTON, kRect, nullptr, 0));
  EXPECT_EQ(GetWindowLongPtrA(button.Handle(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(&WindowBase::StaticWindowProc));
  char text[16] = {};
  GetWindowTextA(button.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Press");
}

TEST_F(WindowBaseTest, WindowCreatedInsideAnotherCreationIsNotTakenByTheOuterObject) {
  RecordingWindow outer, inner;
  HWND plainChild = nullptr;
  outer.onCreate = [&] {
    // A plain window made while the outer creation is still running: nothing pending.
    plainChild = PlainWindow(kTestClass, WS_CHILD, outer.Handle());
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
  HWND later = PlainWindow();
  EXPECT_EQ(ObjectOf(later), nullptr);
  DestroyWindow(later);
}

// One creation at a time per thread, and the pending object goes to the next ordinary
// window: not to the input-method windows made on the side.
TEST_F(WindowBaseTest, PendingObjectGoesToTheNextOrdinaryWindowOnly) {
  RecordingWindow window, second;
  ASSERT_TRUE(WindowBase::ArmCreationHook(&window, false));
  EXPECT_FALSE(WindowBase::ArmCreationHook(&second, false));
  EXPECT_FALSE(second.Create("", 0, WS_POPUP, kRect, nullptr, 0));
  HWND styled = PlainWindow(kImeStyledClass);
  HWND named = PlainWindow("Ime");
  EXPECT_EQ(window.Handle(), nullptr);
  HWND mine = PlainWindow();
  EXPECT_TRUE(WindowBase::DisarmCreationHook());
  EXPECT_EQ(window.Handle(), mine);
  EXPECT_EQ(ObjectOf(styled), nullptr);
  for (HWND made : {named, styled}) DestroyWindow(made);
  // Disarming drops a pending object: the next creation works normally.
  ASSERT_TRUE(WindowBase::ArmCreationHook(&window, false));
  WindowBase::DisarmCreationHook();
  EXPECT_TRUE(second.Create("", 0, WS_POPUP, kRect, nullptr, 0));
}

// An empty dialog: the header, then no menu, the default class and no title.
struct EmptyDialog {
  explicit EmptyDialog(DWORD style) { *Header() = DLGTEMPLATE{style, 0, 0, 0, 0, 100, 60}; }
  DLGTEMPLATE* Header() { return reinterpret_cast<DLGTEMPLATE*>(words); }
  alignas(4) WORD words[16] = {};
};

TEST_F(WindowBaseTest, DialogIsAttachedWithoutSubclassing) {
  RecordingWindow dialog("#32770");
  EmptyDialog empty(WS_POPUP);
  ASSERT_TRUE(WindowBase::ArmCreationHook(&dialog, true));
  HWND handle = CreateDialogIndirectParamA(nullptr, empty.Header(), nullptr, WindowBase::StaticDialogProc, 0);
  WindowBase::DisarmCreationHook();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(dialog.handleAtFirst, handle);
  EXPECT_NE(GetWindowLongPtrA(handle, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WindowBase::StaticWindowProc));
  DestroyWindow(handle);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

struct RecordingPage : Recording<PropertyPageBase> {
  explicit RecordingPage(const DLGTEMPLATE* dialog) : Recording(dialog, "page") {}
  void Apply() override { ++applied; }
  using PropertyPageBase::MarkChanged;
  int applied = 0;
};

// The sheet makes a page's dialog when the page is first shown: the object is attached
// from WM_INITDIALOG on, and a page applies only what the user changed, once.
TEST_F(WindowBaseTest, PropertyPageIsAttachedFromItsInitDialogAndAppliesOnlyWhenChanged) {
  EmptyDialog empty(WS_CHILD);
  RecordingPage first(empty.Header()), second(empty.Header());
  HPROPSHEETPAGE pages[] = {first.CreatePage(), second.CreatePage()};
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.nPages = 2;
  header.phpage = pages;
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(first.handleAtFirst, PropSheet_GetCurrentPageHwnd(sheet));
  EXPECT_EQ(second.Handle(), nullptr);
  PropSheet_SetCurSel(sheet, nullptr, 1);  // leaving the first page is allowed
  EXPECT_EQ(second.Handle(), PropSheet_GetCurrentPageHwnd(sheet));
  second.MarkChanged();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet, 0x3021)));  // the sheet's Apply button
  PropSheet_Apply(sheet);
  PropSheet_Apply(sheet);
  EXPECT_EQ(first.applied, 0);
  EXPECT_EQ(second.applied, 1);
  DestroyWindow(sheet);
  EXPECT_FALSE(first.Handle() || second.Handle());
}

TEST(DialogHelpersTest, FileExistsFindsFilesByTheirExactName) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  // "歌詞.txt": its Shift-JIS form holds a 0x5C-free double-byte name.
  WString path = WString::FromAnsi(folder);
  path.Append(u"\u6B4C\u8A5E.txt", 6);
  EXPECT_FALSE(FileExists(path));
  ASSERT_TRUE(FileHandle(CreateFileA(path.Ansi(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
  EXPECT_TRUE(FileExists(path));
  // A pattern matches nothing, and a folder is not a file.
  WString pattern = WString::FromAnsi(folder);
  pattern.Append(u"\u6B4C*.txt", 6);
  EXPECT_FALSE(FileExists(pattern));
  EXPECT_FALSE(FileExists(WString::FromAnsi(folder)));
  DeleteFileA(path.Ansi());
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
