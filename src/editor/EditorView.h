#pragma once
// The base of the Editor's three interchangeable views (line list, free text,
// karaoke). A view is a child window filling the Editor's client area; the Editor
// talks to it only through the operations below, so a mode switch is: ask the old
// view for its caret line and scroll position, destroy it (the text view commits its
// typing first), make the next one on that line.
//
// Every Editor command that changes the document calls Commit first and Reload after.

#include <windows.h>

#include "editor/core/StampRules.h"
#include "host/WindowBase.h"

class EditorSettings;
class LyricsEditor;
class LyricsTimeline;
class PlayerLink;
class PluginApp;

// What every view is given by the Editor (nothing owned; all outlive the view).
struct EditorViewContext {
  PluginApp& app;            // common settings (the user's language), routes
  PlayerLink& link;          // position, play, seek
  EditorSettings& settings;  // stamping options, the karaoke view's font and colours
  LyricsEditor& editor;      // the frame window
  LyricsTimeline& timeline;  // the lyrics being edited
  HWND frame;                // the Editor's window: the view's parent
};

class EditorView : public WindowBase {
 public:
  EditorView(const char* className, const EditorViewContext& context) noexcept;
  ~EditorView() override;

  // The Options sheet changed the Editor's settings (the karaoke view makes its font
  // again and reloads).
  virtual void SettingsChanged() {}
  // One tick of the plug-in thread's loop: follow the playing position.
  virtual void Tick() {}
  // The document line of the caret or the selected row.
  virtual int CaretLine() { return 0; }
  // The first line shown (the karaoke view answers its caret line).
  virtual int ScrollTop() { return 0; }
  // Puts what the view holds on its own into the document (the text view's box).
  virtual void Commit() {}
  // Undoes (or redoes) the view's last edit; false when there was nothing to undo.
  virtual bool Undo() { return true; }
  // The document changed under the view: show it again.
  virtual void Reload() {}

  // The stamping options of the moment: the Editor settings and the user's language.
  StampOptions Options() const;

 protected:
  // The control id of every view's window.
  static constexpr UINT_PTR kControlId = 1001;

  // Creates the view's window under the frame, covering its client area.
  bool CreateChild(DWORD exStyle, DWORD style, const char* title = "");

  PluginApp& app_;
  PlayerLink& link_;
  EditorSettings& settings_;
  LyricsEditor& editor_;
  LyricsTimeline& timeline_;
  HWND frame_;
};
