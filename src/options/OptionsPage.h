#pragma once
// What every page of the Options sheet shares: its controls filled from the live
// settings when its dialog starts, user changes that mark the page changed (and
// only user changes: filling a box notifies too), text boxes read whole in wide
// text, numbers, and the colour chooser on the page's own copies.

#include <windows.h>

#include <cstdint>

#include "base/WString.h"
#include "host/PropertyPageBase.h"
#include "settings/ColorCodec.h"

class PluginApp;

class OptionsPage : public PropertyPageBase {
 public:
  OptionsPage(PluginApp& app, int dialogId);

 protected:
  // Sets the controls from the settings (and takes the copies the choosers edit).
  virtual void Fill() = 0;
  // A notification from a control, only once the page is filled.
  virtual void OnCommand(int id, int code) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetText(int id, const WString& text) const;
  void SetAnsiText(int id, const char* text) const { SetText(id, WString::FromAnsi(text)); }
  // The control's whole text, however long.
  WString Text(int id) const;
  void LimitText(int id, int characters) const;
  void SetNumber(int id, int32_t value) const;
  int32_t Number(int id) const;
  void Enable(int id, bool enable) const;
  // The colour chooser on colour; marks the page changed when the user chose.
  void PickColor(ColorValue& colour);
  // Logical pixels per inch of the page's screen.
  int Dpi() const;
  // The sheet the page sits in.
  HWND Sheet() const { return GetParent(Handle()); }

  PluginApp& app_;

 private:
  bool filled_ = false;
};
