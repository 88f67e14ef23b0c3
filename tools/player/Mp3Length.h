#pragma once
// The playing time of an MPEG audio file (Layer I, II or III; MPEG-1, 2 or 2.5),
// found by walking its frames, so CBR and VBR streams alike come out right. Tags
// around the stream (ID3v2 in front, Lyrics3 and ID3v1 behind) are skipped. Files
// come from anywhere: every size read from them is checked before it is used.

#include <cstddef>
#include <string>

// -1 when the bytes hold no MPEG audio stream.
int MpegAudioLengthMs(const unsigned char* data, size_t size);
int MpegAudioFileLengthMs(const std::string& ansiPath);
