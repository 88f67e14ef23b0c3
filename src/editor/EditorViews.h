#pragma once
// The Editor's karaoke view and time-tag adjustment dialog, made elsewhere in this
// folder; the Editor knows them only through these two calls.

#include <windows.h>

#include <memory>

#include "editor/EditorView.h"

class EditorSettings;
class LyricsTimeline;
class PlayerLink;

// The karaoke view (edit mode 3) with its caret at column 0 of caretLine, its window
// created and shown; null when the window cannot be made.
std::unique_ptr<EditorView> CreateKaraokeEditView(const EditorViewContext& context, int caretLine);

// The time-tag adjustment dialog, modal over owner. The caller commits its view before
// and reloads it after. True when the document's tags were changed.
bool RunTimeTagAdjustDialog(HWND owner, LyricsTimeline& timeline, PlayerLink& link, EditorSettings& settings);
