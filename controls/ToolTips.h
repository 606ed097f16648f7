// Tips over child windows, in the tooltip control every comctl32 version
// has: the plain style and the first TOOLINFO layout.
#pragma once
#include <windows.h>

// A tooltip window owned by hOwner that shows also while the program is
// inactive; null when the control cannot be made.
HWND CreateToolTips(HWND hOwner);

// Shows text over the whole of hTool, a child of the tooltip's owner: adds
// the tool, or changes its text when it is there already. The tooltip
// watches the tool's mouse messages itself. A tip is one short line, under
// INFOTIPSIZE characters.
bool SetToolTip(HWND hTips, HWND hTool, const char* text);
