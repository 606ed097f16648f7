// A running copy of the program as far as the hook goes, in a process of its
// own (hook_copy.exe), driven by the hook tests.
#pragma once
#include <windows.h>

// The copy's window: class kCopyClass, titled "hook copy <process id>".
const char kCopyClass[] = "BrightsweepHookCopy";
const UINT kCopyInstall = WM_APP + 1;   // InstallLaunchEv; returns the hook's handle, 0 for none
const UINT kCopyProcedure = WM_APP + 2; // returns the installed procedure's offset in Keywatch.dll
const UINT kCopyRemove = WM_APP + 3;    // UnInstallLaunchEv
const UINT kCopyExit = WM_APP + 4;      // ends the process at once without UnInstallLaunchEv

class CopyProcess {
public:
    CopyProcess();
    ~CopyProcess();
    CopyProcess(const CopyProcess&) = delete;
    CopyProcess& operator=(const CopyProcess&) = delete;

    bool Started() const { return m_wnd != nullptr; }
    HHOOK Install();
    // The procedure it installed, at the same place in this process's library.
    HOOKPROC Procedure() const;
    void Remove();
    // Ends without removing its hook; the system removes it with the process.
    void End();

private:
    LRESULT Ask(UINT msg) const;
    HANDLE m_process = nullptr;
    HWND m_wnd = nullptr;
};
