#include "options/Displayer2Page.h"

#include "host/PluginApp.h"
#include "options/core/SheetValues.h"
#include "resources/resource.h"

namespace {
constexpr int kSyncCharacters = 5;
}  // namespace

Displayer2Page::Displayer2Page(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_DISPLAYER2) {}

void Displayer2Page::Fill() {
  const DisplayerSettings& s = app_.Displayer();
  SetCheck(IDC_DISPLAYER2_MOVE_WITH_PLAYER, s.moveTogePlayer);
  SetCheck(IDC_DISPLAYER2_MOVE_BEFOREHAND, s.moveBeforehand);
  SetCheck(IDC_DISPLAYER2_NO_TIME_TAG_LINES, s.dispNoTimeTagLine);
  SetNumber(IDC_DISPLAYER2_SPACE_BET_LINES, SpaceBetLinesStored(s.spaceBetLines));
  LimitText(IDC_DISPLAYER2_SYNC, kSyncCharacters);
  SetNumber(IDC_DISPLAYER2_SYNC, s.sync);
  LimitText(IDC_DISPLAYER2_INFO_FORMAT, static_cast<int>(DisplayerSettings::kFormatSize) - 1);
  SetAnsiText(IDC_DISPLAYER2_INFO_FORMAT, s.infoFormat);
}

void Displayer2Page::OnCommand(int id, int code) {
  if (code == EN_UPDATE || (code == BN_CLICKED && (id == IDC_DISPLAYER2_MOVE_WITH_PLAYER ||
                                                    id == IDC_DISPLAYER2_MOVE_BEFOREHAND ||
                                                    id == IDC_DISPLAYER2_NO_TIME_TAG_LINES))) {
    MarkChanged();
  }
}

void Displayer2Page::Apply() {
  DisplayerSettings& s = app_.Displayer();
  s.moveTogePlayer = Check(IDC_DISPLAYER2_MOVE_WITH_PLAYER);
  s.moveBeforehand = Check(IDC_DISPLAYER2_MOVE_BEFOREHAND);
  s.dispNoTimeTagLine = Check(IDC_DISPLAYER2_NO_TIME_TAG_LINES);
  s.spaceBetLines = SpaceBetLinesStored(Number(IDC_DISPLAYER2_SPACE_BET_LINES));
  s.sync = SyncStored(Number(IDC_DISPLAYER2_SYNC));
  CopyAnsiText(Text(IDC_DISPLAYER2_INFO_FORMAT), s.infoFormat, sizeof s.infoFormat);
  app_.ApplySettings();
}
