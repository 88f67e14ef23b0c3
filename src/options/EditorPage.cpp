#include "options/EditorPage.h"

#include "host/PluginApp.h"
#include "options/core/SheetValues.h"
#include "resources/resource.h"

namespace {
constexpr int kSyncCharacters = 5;
constexpr int kPointsCharacters = 3;
}  // namespace

EditorPage::EditorPage(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_EDITOR) {}

void EditorPage::Fill() {
  const EditorSettings& s = app_.Editor();
  SetCheck(IDC_EDITOR_ALWAYS_OPEN, s.alwaysOpen);
  SetCheck(IDC_EDITOR_PASS_SPACE, s.passSpace);
  SetCheck(IDC_EDITOR_IDEAL_CURSOR, s.idealCursor);
  SetCheck(IDC_EDITOR_NEXT_TIME_TAG, s.nextTimeTag);
  SetCheck(IDC_EDITOR_NOT_SYNC_SPACE, s.notSyncSpace);
  LimitText(IDC_EDITOR_FONT_SIZE, kPointsCharacters);
  SetNumber(IDC_EDITOR_FONT_SIZE, FontSizeToPoints(s.fontSize, Dpi()));
  LimitText(IDC_EDITOR_SYNC, kSyncCharacters);
  SetNumber(IDC_EDITOR_SYNC, s.sync);
}

void EditorPage::OnCommand(int id, int code) {
  const bool check = id == IDC_EDITOR_ALWAYS_OPEN || (id >= IDC_EDITOR_PASS_SPACE && id <= IDC_EDITOR_NEXT_TIME_TAG);
  if (code == EN_UPDATE || (code == BN_CLICKED && check)) MarkChanged();
}

void EditorPage::Apply() {
  EditorSettings& s = app_.Editor();
  s.alwaysOpen = Check(IDC_EDITOR_ALWAYS_OPEN);
  s.passSpace = Check(IDC_EDITOR_PASS_SPACE);
  s.idealCursor = Check(IDC_EDITOR_IDEAL_CURSOR);
  s.nextTimeTag = Check(IDC_EDITOR_NEXT_TIME_TAG);
  s.notSyncSpace = Check(IDC_EDITOR_NOT_SYNC_SPACE);
  s.fontSize = PointsToFontSize(Number(IDC_EDITOR_FONT_SIZE), Dpi());
  s.sync = SyncStored(Number(IDC_EDITOR_SYNC));
  // The Editor's karaoke view makes its font again.
  app_.ApplySettings();
}
