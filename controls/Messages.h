// Private window messages shared by the program's windows.
#pragma once
#include <windows.h>

// Posted by a skin button to its parent: wParam = the button object,
// lParam = release point in the button's client coordinates.
#define WM_SKINBUTTON_CLICKED (WM_USER + 1008)
// The tray icon's callback: wParam = icon id, lParam = mouse message.
#define WM_TRAY_NOTIFY (WM_USER + 1006)
// Sent to the main window by CHotKeyState so that the keyboard hook is
// installed and removed on the window's thread: wParam = 1 to install, 0 to
// remove; lParam = the CHotKeyState object.
#define WM_APPLY_HOTKEY_STATE (WM_USER + 1010)
