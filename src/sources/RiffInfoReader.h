#pragma once
// The INFO list of a RIFF file of form "WAVE" or "RMP3": INAM, IART, IPRD, ICMT,
// ICRD, IGNR, ICOP, IENG, ISRC and ISFT fill the song's fields.

#include "base/ByteSource.h"
#include "sources/SongInfo.h"

// True when the file is a RIFF WAVE/RMP3 file holding an INFO list (its fields are
// then in fields, even if none was known). Never reads past the end of the file,
// whatever the chunk sizes claim.
bool ReadRiffInfo(ByteSource& file, SongFields& fields);
