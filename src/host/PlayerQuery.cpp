#include "host/PlayerQuery.h"

#include "host/WinampLink.h"

bool AskPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!window) return false;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                           WinampLink::kPlayerReplyTimeoutMs, &answer))
    return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}
