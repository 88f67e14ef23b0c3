// Where the skin's files are: the player's current skin folder, which the player
// names on request, and for the frame bitmap also the plug-in's own folder.
#include <cstring>
#include <memory>
#include <vector>

#include "base/CodePage.h"
#include "host/DialogHelpers.h"
#include "host/PlayerQuery.h"
#include "host/WinampLink.h"
#include "host/WinampProtocol.h"
#include "resources/resource.h"

namespace {

// A module without the string (a test program) still looks for the file.
constexpr WChar kDefaultSkinBitmapName[] = u"gen_mrlyrics.bmp";

}  // namespace

WString WinampLink::SkinBitmapName() const {
  wchar_t name[MAX_PATH];
  int length = LoadStringW(instance_, IDS_SKIN_BITMAP_NAME, name, MAX_PATH);
  if (length <= 0) return WString(kDefaultSkinBitmapName);
  return WString(reinterpret_cast<const WChar*>(name), static_cast<size_t>(length));
}

// The folder ends with a backslash. An empty answer means the player's built-in
// skin, which has no folder.
bool WinampLink::AskSkinFolder(HWND player, WString& folder) const {
  // The player writes into the buffer whenever it handles the message: after a
  // time-out that may still happen, so the buffer is then left to it.
  auto buffer = std::make_unique<char[]>(MAX_PATH);
  if (!AskPlayer(player, kPlayerMessage, reinterpret_cast<WPARAM>(buffer.get()), kIpcGetSkin)) {
    buffer.release();
    return false;
  }
  WString answer = AnsiToWide(buffer.get(), strnlen(buffer.get(), MAX_PATH));
  if (answer.IsEmpty()) return false;
  if (answer[answer.Length() - 1] != u'\\' && answer[answer.Length() - 1] != u'/') answer.Append(u'\\');
  folder = answer;
  return true;
}

bool WinampLink::FindSkinBitmap(HWND player, WString& path) const {
  const WString name = SkinBitmapName();
  if (!player) return false;
  WString folder;
  if (AskSkinFolder(player, folder) && folder[0] != u'\\') {
    folder.Append(name);
    if (FileExists(folder)) {
      path = folder;
      return true;
    }
  }
  // Beside the plug-in itself; the folder is cut on wide text, where a backslash is
  // never the second half of a double-byte character.
  std::vector<wchar_t> module(32768);
  DWORD length = GetModuleFileNameW(instance_, module.data(), static_cast<DWORD>(module.size()));
  if (!length || length >= module.size()) return false;
  WString own(reinterpret_cast<const WChar*>(module.data()), length);
  size_t slash = own.FindLast(u'\\');
  if (slash == WString::npos) return false;
  WString beside = own.Substr(0, slash + 1).Append(name);
  if (!FileExists(beside)) return false;
  path = beside;
  return true;
}

bool WinampLink::GetSkinBitmapPath(WString& path) { return FindSkinBitmap(MainWindow(), path); }

bool WinampLink::GetSkinFolder(WString& folder) { return AskSkinFolder(MainWindow(), folder); }
