// Whether the keyboard hook of the hot key is installed, and the one place that
// installs or removes it. A hook belongs to the thread that installed it, so
// once the main window is known the work runs on that window's thread.
#pragma once
#include <windows.h>

#include "settings/CleanSettings.h"

class CHotKeyState {
public:
    typedef void (*HookFunction)();

    CHotKeyState(HookFunction install, HookFunction uninstall);
    CHotKeyState(const CHotKeyState&) = delete;
    CHotKeyState& operator=(const CHotKeyState&) = delete;

    // From now on install and remove run on hWnd's thread, handed over with
    // WM_APPLY_HOTKEY_STATE, which hWnd's procedure passes to OnApplyMessage.
    // Null runs them on the calling thread again.
    void SetOwnerWindow(HWND hWnd);

    // Installs the hook when the applied hotKeyEnabled is on and it is not
    // installed, removes it when the switch is off and it is installed. Never
    // installs twice. Returns once the change is made.
    void Apply(const CleanSettings& settings);
    // Removes the hook if it is installed: for the program's exit.
    void Remove();

    bool IsInstalled() const { return hookInstalled != 0; }

    // The owner window's handler of WM_APPLY_HOTKEY_STATE. Ignores a message
    // that this object did not send.
    LRESULT OnApplyMessage(WPARAM wParam, LPARAM lParam);

private:
    void Request(bool enabled);
    void Change(bool enabled);

    HookFunction m_pfnInstall;
    HookFunction m_pfnUninstall;
    HWND m_hOwner = nullptr;
    DWORD m_dwOwnerThread = 0;
    volatile LONG hookInstalled = 0;
};
