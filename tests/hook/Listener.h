// The listener process of the hook tests: one top-level window that counts the
// screen-saver commands and keystrokes it receives and answers these queries.
#pragma once
#include <windows.h>

const char kListenerClass[] = "BrightsweepHookListener";
const UINT kListenerScreenSaves = WM_APP + 1; // returns the SC_SCREENSAVE commands seen
const UINT kListenerKeyDowns = WM_APP + 2;    // returns the WM_KEYDOWN messages seen
