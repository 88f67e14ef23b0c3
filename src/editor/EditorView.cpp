#include "editor/EditorView.h"

#include "host/PluginApp.h"
#include "settings/EditorSettings.h"

EditorView::EditorView(const char* className, const EditorViewContext& context) noexcept
    : WindowBase(className),
      app_(context.app),
      link_(context.link),
      settings_(context.settings),
      editor_(context.editor),
      timeline_(context.timeline),
      frame_(context.frame) {}

EditorView::~EditorView() = default;

StampOptions EditorView::Options() const { return StampOptions::From(settings_, app_.Common().language); }

bool EditorView::CreateChild(DWORD exStyle, DWORD style, const char* title) {
  RECT client{};
  GetClientRect(frame_, &client);
  return CreateUnder(frame_, title, exStyle, style, client, kControlId);
}
