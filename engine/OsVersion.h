// The one reading of GetVersionExA's answer: whether a clean run may go, what
// the status pane calls the system, and the texts of the fatal verdicts.
#pragma once
#include <windows.h>

// What the clean run does on a given answer; the last three end the program,
// which the caller does.
enum class OsVerdict { Run, Skip, KernelError, Win31, Unsupported };
OsVerdict ClassifyOs(BOOL versionOk, const OSVERSIONINFOA& version);

// "OS: Windows 95", "OS: Windows 98", "OS: Windows NT", "OS: Windows 2000", or
// "" for a failed call and any other system.
const char* OsStatusText(BOOL versionOk, const OSVERSIONINFOA& version);

// The message of a fatal verdict; null for Run and Skip.
const char* FatalOsText(OsVerdict verdict);

// This system's answer.
BOOL CurrentOsVersion(OSVERSIONINFOA* version);
// This system is of the Windows 95 family.
bool IsWin95Family();
