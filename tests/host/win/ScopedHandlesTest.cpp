// The owners of a paint scope and of COM interfaces, counted like every handle.
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

TEST(ScopedHandles, InterfaceIsReleasedOnceByWhoeverHoldsItLast) {
  const long before = LiveScopedHandles();
  FakeUnknown a, b;
  {
    OwnedInterface<FakeUnknown> first(&a);
    OwnedInterface<FakeUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(LiveScopedHandles(), before + 1);
    ASSERT_EQ(Create(&b, second.Address()), S_OK);  // gives a up first
    EXPECT_EQ(a.references, 0u);
    EXPECT_EQ(second.Get(), &b);
    EXPECT_EQ(LiveScopedHandles(), before + 1);
  }
  EXPECT_EQ(b.references, 0u);
  EXPECT_EQ(LiveScopedHandles(), before);
}

TEST(ScopedHandles, PaintScopeValidatesTheWindowAndIsCounted) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  InvalidateRect(window, nullptr, FALSE);
  const long before = LiveScopedHandles();
  {
    ScopedPaint paint(window);
    EXPECT_NE(paint.Get(), nullptr);
    EXPECT_EQ(LiveScopedHandles(), before + 1);
  }
  EXPECT_EQ(LiveScopedHandles(), before);
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
  DestroyWindow(window);
}

}  // namespace
