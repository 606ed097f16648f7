// The program's icon in the taskbar notification area: adds and removes it,
// shows the tray menu on a right-click and turns a double-click into the
// Maximize or Minimize command of the notification window. Where the shell has
// no notification area (NT 3.51), the icon is a window of the program's own
// (controls/TrayWindow.h).
#pragma once
#include "framework/Wnd.h"

#include <shellapi.h>

using TrayNotifyProc = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

// The shell's Shell_NotifyIconA, or null where the shell lacks it.
TrayNotifyProc ShellTrayNotify();

class CTrayNotifyIcon {
public:
    CTrayNotifyIcon();
    virtual ~CTrayNotifyIcon();

    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // The icon id is also the id of the menu resource shown on a right-click.
    // A tip longer than 63 characters is cut. Nonzero when the icon was added.
    BOOL AddToTray(CWnd* pNotifyWnd, UINT uID, const char* tip, HICON hIcon, UINT callbackMessage);
    // The shell's result, or 0 when the icon is not in the notification area.
    BOOL RemoveFromTray();
    // A new tip, cut to 63 characters; kept for the icon when it is not added.
    BOOL SetTip(const char* tip);
    // wParam = icon id, lParam = mouse message over the icon. Returns 0.
    LRESULT HandleTrayMessage(WPARAM wParam, LPARAM lParam);

    // Shell_NotifyIconA where the shell has it, TrayWindowNotify where not.
    TrayNotifyProc m_pfnNotify;
    // Only the first, 88-byte part of the record reaches the shell.
    NOTIFYICONDATAA m_nid;
    BOOL m_bAdded = FALSE;
    // The notification window is on the screen (1) or hidden in the tray (0);
    // kept up to date by that window.
    BOOL m_bWindowShown = FALSE;

private:
    void ShowMenu(HMENU hPopup);
    void PostShowOrHide(HMENU hPopup);
};
