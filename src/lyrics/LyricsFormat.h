#pragma once
// The lyrics text format: lines of lyrics with [mm:ss:cc] stamps anywhere in them,
// and header lines "@key=value". Text is parsed from UTF-16 and written in the ANSI
// code page with CR LF line breaks; a file loaded and saved without edits comes back
// byte for byte (a bare LF comes back as CR LF).

#include "base/WString.h"

class LyricsDocument;
class FileSystem;

// Replaces the document's lines, tags, header fields and status; always 1.
int ParseLyricsText(LyricsDocument& document, const WString& text);

// True when line is a header line ("@" first); key trimmed and lowered, value trimmed.
bool ParseHeaderLine(const WString& line, WString& key, WString& value);

// The document's text as written to a file: tagged lines joined by CR LF.
WString LyricsFileText(LyricsDocument& document);

// Writes the document to path. The old file is replaced only after a complete
// write, so a failed save leaves it as it was. 1 on success, 0 on any failure.
int SaveLyrics(LyricsDocument& document, const WString& path);
int SaveLyrics(LyricsDocument& document, const WString& path, FileSystem& fileSystem);
