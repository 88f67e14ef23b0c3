#pragma once
// The substitute player's output module for a hosted input module. It takes the
// decoder's blocks into a buffer and plays them only when told, so a test knows
// exactly what is at the play head: the test input module's blocks carry their first
// frame, and HeadFrame is where in the song the play head really is. One per
// process, like the player's output.

#include <cstdint>

#include "host/WinampModules.h"

namespace manual_output {

constexpr int kBufferMs = 2000;

WinampOutModule* Module();

// Plays up to `frames` sample frames of what is buffered; answers the frames played.
int64_t Advance(int64_t frames);
// The decoder cannot write another block of `blockBytes` (or anything, when 0).
bool Full(int blockBytes);
// The song's frame at the play head, from the blocks' own frame numbers; -1 before
// anything was played since the last open or flush.
int64_t HeadFrame();
// Bytes taken since the output was opened, flushes included.
int64_t BytesTaken();

}  // namespace manual_output
