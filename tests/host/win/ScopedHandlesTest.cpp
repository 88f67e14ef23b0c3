// The handle owners, counted while they hold something.
#include "host/ScopedHandles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct FakeUnknown : IUnknown {
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

HRESULT Create(FakeUnknown* made, void** out) {
  *out = made;
  return S_OK;
}

// Every owner counts while it holds something: a move hands the count over, a reset
// or the end of the scope gives the handle back once.
TEST(ScopedHandles, LiveCountFollowsOwnershipThroughMovesAndResets) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const long before = LiveScopedHandles();
  FakeUnknown a, b;
  {
    OwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    OwnedBrush moved(std::move(brush));
    EXPECT_FALSE(brush);
    OwnedInterface<FakeUnknown> first(&a);
    OwnedInterface<FakeUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(LiveScopedHandles(), before + 2);
    ASSERT_EQ(Create(&b, second.Address()), S_OK);  // gives a up first
    EXPECT_EQ(a.references, 0u);
    EXPECT_EQ(second.Get(), &b);
    OwnedMenu menu(CreatePopupMenu());
    KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HMENU raw = menu.Get();
    menu.Reset();
    EXPECT_FALSE(IsMenu(raw));
    OwnedMemoryDC dc(nullptr);
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    { ScopedSelect select(dc.Get(), bitmap.Get()); }
    EXPECT_EQ(LiveScopedHandles(), before + 5);
    FileHandle failed(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failed);
    // A paint scope is counted too, and validates the window when it ends.
    InvalidateRect(window, nullptr, FALSE);
    {
      ScopedPaint paint(window);
      EXPECT_TRUE(paint.Get() && LiveScopedHandles() == before + 6);
    }
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
  }
  EXPECT_EQ(b.references, 0u);
  EXPECT_EQ(LiveScopedHandles(), before);
  DestroyWindow(window);
}

}  // namespace
