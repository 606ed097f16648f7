// Interface of Keywatch.dll, the hot-key hook library. The program calls only
// InstallLaunchEv and UnInstallLaunchEv; the hook procedure is for the system,
// and the per-process key variables are exported for inspection.
#pragma once
#include <windows.h>

#ifdef KEYWATCH_BUILD
#define KEYWATCH_API
#else
#define KEYWATCH_API __declspec(dllimport)
#endif

extern "C" {
// Installs the desktop-wide keyboard hook; does nothing while it is installed.
KEYWATCH_API void InstallLaunchEv();
// Removes the hook; does nothing when it is not installed.
KEYWATCH_API void UnInstallLaunchEv();
// The WH_KEYBOARD hook procedure.
KEYWATCH_API LRESULT CALLBACK LauncherHook(int code, WPARAM key, LPARAM flags);

KEYWATCH_API extern int count;
KEYWATCH_API extern int firstkey;
KEYWATCH_API extern int firstkeydown;
KEYWATCH_API extern int newone;
KEYWATCH_API extern int secondkey;
KEYWATCH_API extern int secondkeydown;
}
