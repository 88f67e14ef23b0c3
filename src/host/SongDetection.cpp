// A new song is noticed when the player retitles its main window: the link asks for
// the playing entry's file name and tells the plug-in thread when it changed. The
// file name is never polled.
#include <cstring>

#include "base/CodePage.h"
#include "host/PlayerQuery.h"
#include "host/ThreadMessages.h"
#include "host/WinampLink.h"
#include "host/WinampProtocol.h"

namespace {

// A playlist entry's name is read from the player's memory up to its NUL; long
// stream URLs are the longest, and nothing sane is longer.
constexpr size_t kMaxPlaylistName = 32768;

}  // namespace

void WinampLink::CheckPlayingFile() {
  MutexLock lock(playerThreadLock_);
  LRESULT entry = 0;
  LRESULT name = 0;
  if (!AskPlayer(mainWindow_, kPlayerMessage, 0, kIpcGetListPosition, &entry)) return;
  if (!AskPlayer(mainWindow_, kPlayerMessage, static_cast<WPARAM>(entry), kIpcGetPlaylistFile, &name)) return;
  const char* ansi = reinterpret_cast<const char*>(name);
  WString file = ansi ? AnsiToWide(ansi, strnlen(ansi, kMaxPlaylistName)) : WString();
  // The whole path counts: the same file name in another folder is another song.
  if (file == playingFile_) return;
  playingFile_ = file;
  Notify(TM_SONG_CHANGED, 0, 0);
}
