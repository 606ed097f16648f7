// Interface of Keywatch.dll, the hot-key hook library, for the program: it
// installs and removes the desktop-wide keyboard hook.
#pragma once

#ifdef KEYWATCH_BUILD
#define KEYWATCH_API
#else
#define KEYWATCH_API __declspec(dllimport)
#endif

extern "C" {
// Installs the hook; does nothing while it is installed.
KEYWATCH_API void InstallLaunchEv();
// Removes the hook; does nothing when it is not installed.
KEYWATCH_API void UnInstallLaunchEv();
}
