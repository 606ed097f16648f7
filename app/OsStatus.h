// The operating-system line of the status pane, and whether start-up goes on.
#pragma once
#include "engine/OsVersion.h"

#include <string>

// versionOk is GetVersionExA's result. osText gets the status line's text
// (OsStatusText). Start-up ends only on Windows 3.1 (Win31) and an unknown
// platform (Unsupported); otherwise Run, also where a clean run would not.
OsVerdict CheckStartupOs(BOOL versionOk, const OSVERSIONINFOA& version, std::string* osText);
