// The operating-system line of the status pane, and whether start-up goes on.
#pragma once
#include <windows.h>
#include <string>

enum class StartupOs { Supported, Win31, Unsupported };

// versionOk is GetVersionExA's result. osText gets "OS: Windows 95", "OS:
// Windows 98", "OS: Windows NT", "OS: Windows 2000" or stays empty.
StartupOs CheckStartupOs(BOOL versionOk, const OSVERSIONINFOA& version, std::string* osText);
