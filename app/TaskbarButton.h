// The main window's taskbar button: the program's name and icon, given to the
// captionless skin window as its text and its two icon sizes; and the worker
// of "Min", which takes the window from the taskbar to the tray.
#pragma once
#include <windows.h>

// Sets hWnd's text to "Brightsweep" and its large and small icons to icon
// resource iconId of the program file.
void ShowOnTaskbar(HWND hWnd, UINT iconId);

// Sent by the Min worker to the main window once the window is hidden.
const UINT WM_SWEEP_HIDDEN = WM_APP + 2;

// The Min worker: minimises the main window (mainWnd), hides it, then sends it
// WM_SWEEP_HIDDEN.
UINT HideToTrayThreadProc(LPVOID mainWnd);
