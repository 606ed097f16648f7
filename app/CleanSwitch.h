// Brightsweep.exe /clean [/log FILE]: one clean run with the stored settings
// and nothing on screen (no window, tray icon, hook or message box).
#pragma once
#include <string>

// The run on this thread (it pumps while the worker cleans); returns the exit
// code of CleanExit. logFile: empty for none, else appended to.
int RunCleanSwitch(const std::string& logFile);
