// The Displayer can stick to the player: a left press on the player's main window
// picks the player window the follower touches as its anchor, and every move of that
// window moves the follower by as much (the plug-in thread does the move).
#include "host/ThreadMessages.h"
#include "host/WinampLink.h"

namespace {

// The follower sticks to a window when an edge of one lies on an edge of the other
// and the two overlap along that edge.
bool Touches(const RECT& f, const RECT& r) {
  bool overlapVertically = r.top <= f.bottom && f.top <= r.bottom;
  bool overlapHorizontally = r.left <= f.right && f.left <= r.right;
  return (overlapVertically && (f.left == r.right || f.right == r.left)) ||
         (overlapHorizontally && (f.top == r.bottom || f.bottom == r.top));
}

}  // namespace

void WinampLink::FindAnchors() {
  MutexLock lock(playerThreadLock_);
  RECT f = {};
  bool haveFollower = follower_ && GetWindowRect(follower_, &f);
  bool found = false;
  for (int i = 0; i < 4; ++i) {
    anchors_[i] = 0;
    RECT r;
    HWND window = Window(i);
    if (!haveFollower || found || !window || !GetWindowRect(window, &r) || !Touches(f, r)) continue;
    anchors_[i] = 1;
    reference_ = r;
    found = true;
  }
  if (haveFollower) followerRect_ = f;
  mainAnchored_ = anchors_[0];
}

void WinampLink::Follow(int index, LPARAM lParam) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  POINT target;
  {
    MutexLock lock(playerThreadLock_);
    if (!follower_ || !mainWindow_ || !pos || (pos->flags & SWP_NOMOVE)) return;
    bool anchored = index == 0 ? mainAnchored_ != 0
                               : anchors_[index] && (GetWindowLongPtrA(Window(index), GWL_STYLE) & WS_VISIBLE);
    if (!anchored) return;
    RECT now = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    OffsetRect(&followerRect_, now.left - reference_.left, now.top - reference_.top);
    reference_ = now;
    target = {followerRect_.left, followerRect_.top};
  }
  Notify(TM_MOVE_FOLLOWER, static_cast<WPARAM>(static_cast<INT_PTR>(target.x)), target.y);
}

void WinampLink::OnAuxLeftButtonDown(int index) {
  // A window the user drags by itself stops carrying the follower.
  MutexLock lock(playerThreadLock_);
  anchors_[index] = 0;
}
