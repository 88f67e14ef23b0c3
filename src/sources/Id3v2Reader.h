#pragma once
// The ID3v2 tag at the start of a file (versions 2.2, 2.3 and 2.4): the text of the
// title, artist, album, comment, year, copyright and genre frames. Malformed frames
// are skipped; sizes are checked against the tag and the file before anything is
// read, so any bytes are safe.

#include "base/ByteSource.h"
#include "sources/SongInfo.h"

// Fills title, artist, album, comment, year, copyright and genre (the genre's text as
// the frame holds it, "(17)" included) from the frames present; others stay as they
// were. False when the file starts with no readable ID3v2 tag.
bool ReadId3v2Fields(ByteSource& file, SongFields& fields);
