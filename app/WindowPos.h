// Where the main window was put: its top-left corner stored as "WindowPos"
// ("x,y") when the user moves it, and brought back at start inside the
// visible screen.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "x,y": two decimal integers (a leading minus allowed) within +-32767 and
// nothing else. False, with *pos unchanged, for anything else.
bool ParseWindowPos(const char* text, POINT* pos);
std::string FormatWindowPos(POINT pos);

// Where a window of this size stored at pos goes: moved inside the work area
// it overlaps most (a window larger than the area keeps its top-left corner
// inside). False when it overlaps no area: the stored place is ignored.
bool PlaceOnScreen(POINT pos, SIZE size, const std::vector<RECT>& workAreas, POINT* placed);

// The work areas of every monitor; the primary one on systems without
// several monitors.
std::vector<RECT> MonitorWorkAreas();

// At start: moves hWnd (a window whose visible part is size) to its stored
// place, if there is a usable one. True when it moved.
bool RestoreWindowPos(HWND hWnd, SIZE size);
// After the user moved hWnd: stores its top-left corner.
void StoreWindowPos(HWND hWnd);
