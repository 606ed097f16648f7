// The notification icon where the shell has no notification area (NT 3.51):
// each icon is a small top-most window at the bottom right of the screen that
// shows the icon, carries the tip as its text and tooltip, and sends the
// callback message with the icon id and the mouse message, as the shell does.
#pragma once
#include <windows.h>

#include <shellapi.h>

// Called like Shell_NotifyIconA (NIM_ADD, NIM_MODIFY, NIM_DELETE; the first,
// 88-byte record). An icon is known by its window and id; adding one that
// exists fails. Icons belong to the calling process.
BOOL WINAPI TrayWindowNotify(DWORD message, PNOTIFYICONDATAA data);

// The window that shows this icon, or null.
HWND FindTrayWindow(HWND hOwner, UINT id);

extern const char kTrayWindowClass[];
