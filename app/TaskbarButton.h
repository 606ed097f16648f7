// The main window's taskbar button: the program's name and icon, given to the
// captionless skin window as its text and its two icon sizes.
#pragma once
#include <windows.h>

// Sets hWnd's text to "Brightsweep" and its large and small icons to icon
// resource iconId of the program file.
void ShowOnTaskbar(HWND hWnd, UINT iconId);
