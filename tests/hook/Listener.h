// The listener process of the hook tests: one top-level window that counts the
// screen-saver commands and keystrokes it receives and answers these queries.
#pragma once
#include <windows.h>

const char kListenerClass[] = "BrightsweepHookListener";
const UINT kListenerScreenSaves = WM_APP + 1; // returns the SC_SCREENSAVE commands seen
const UINT kListenerKeys = WM_APP + 2;        // returns the key-down and key-up messages seen
const UINT kListenerMark = WM_APP + 3;        // posted with a number, which it keeps
const UINT kListenerLastMark = WM_APP + 4;    // returns the last number posted with kListenerMark
