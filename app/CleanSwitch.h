// Brightsweep.exe /clean [/log FILE]: one clean run with the stored settings
// and nothing on screen (no window, tray icon, hook or message box); with
// /preview instead, the same run as a preview.
#pragma once
#include <string>

// The run on this thread (it pumps while the worker cleans); returns the exit
// code of CleanExit (a preview that was made: kCleanAllRemoved). logFile:
// empty for none, else appended to.
int RunCleanSwitch(const std::string& logFile, bool preview = false);
