#pragma once
// The MP3 time and seek correction inside the player: our functions in the slots of
// the player's MP3 input module ("in_mp3.dll") and of the output module it plays
// through. They keep our own clock of the audio written, answer the position from
// it, and find the true position after a seek (the decisions are Mp3SeekCorrection's;
// here they are carried out against the player's saved functions).

#include <windows.h>

// Loads "in_mp3.dll" from the plug-in's own folder (the player has normally loaded
// that very module, so the load returns it) and, when it is an input module of the
// expected version, wraps its start, stop, position and seek. countBlockMilliseconds:
// the clock adds each block's whole milliseconds (FixTimeMP3 off) instead of counting
// sample frames. False when nothing was patched.
bool InstallMp3Correction(HINSTANCE plugin, bool countBlockMilliseconds);

// Puts back every slot that still holds ours (input and output), waits until no call
// is running in our functions, releases the module and frees the table. Where ours
// cannot be taken out (another plug-in patched over it) or a call does not leave, our
// code is pinned in memory instead of being unloaded under it.
void RemoveMp3Correction();
