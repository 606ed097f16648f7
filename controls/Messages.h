// Private window messages shared by the program's windows.
#pragma once
#include <windows.h>

// Posted by a skin button to its parent: wParam = the button object,
// lParam = release point in the button's client coordinates.
#define WM_SKINBUTTON_CLICKED (WM_USER + 1008)
// The tray icon's callback: wParam = icon id, lParam = mouse message.
#define WM_TRAY_NOTIFY (WM_USER + 1006)
// The program's own messages between its threads and windows take WM_APP
// and up: WM_APP + 1 the settings sheet's end (settings/pages/SettingsSheet.h),
// WM_APP + 2 the window hidden by the Min worker (app/SweepDlg.h), WM_APP + 3
// the log pane's append on its own thread (controls/LogEdit.cpp), WM_APP + 4
// a clean run's end (app/CleanRunner.h).
