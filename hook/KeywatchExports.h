// The rest of Keywatch.dll's exports: the hook procedure, which the system
// calls, and the per-process key variables. The program uses none of them.
#pragma once
#include "hook/Keywatch.h"

#include <windows.h>

extern "C" {
// The WH_KEYBOARD hook procedure.
KEYWATCH_API LRESULT CALLBACK LauncherHook(int code, WPARAM key, LPARAM flags);

KEYWATCH_API extern int count;
KEYWATCH_API extern int firstkey;
KEYWATCH_API extern int firstkeydown;
KEYWATCH_API extern int newone;
KEYWATCH_API extern int secondkey;
KEYWATCH_API extern int secondkeydown;
}
