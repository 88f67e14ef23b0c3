#pragma once
// The HTML Help control that shows the plug-in's help file. It is loaded into the
// player's process, so it is loaded by full path only: a bare name is looked for in
// the player's folder first, where any file of that name would be run.

#include <windows.h>

#include "base/WString.h"
#include "host/ScopedHandles.h"

// Given the path registered for the control's class (empty when none): that path when
// it is a full one (environment strings expanded), else the control in the system
// folder.
WString HelpControlPath(const WString& registered);

// The registered control, or else the system's copy; none when neither loads.
OwnedModule LoadHelpControl();

// Shows the default topic of a help file, in a window of its own.
void ShowHelpTopic(HMODULE control, const WString& helpFile);
// Closes every help window the control opened; before it is unloaded.
void CloseHelpWindows(HMODULE control);
