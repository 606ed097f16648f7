// The tray icon's tip after a clean run: when it ended, how many files and how
// much space it removed, and, while auto mode is on, when the next one comes,
// in the user's locale and within the tip's 63 characters.
#pragma once
#include "engine/CountText.h"

#include <windows.h>

#include <string>

// The tip before any run.
extern const char kIdleTip[];

// e.g. "Cleaned 14:02: 1,234 files, 5.6 MB; next 14:32"; next null: auto
// mode is off. Never longer than 63 characters.
std::string FormatRunTip(LCID locale, const SYSTEMTIME& cleanedAt, ULONGLONG files, ULONGLONG bytes,
                         const SYSTEMTIME* next);

// now plus minutes, as a local time.
SYSTEMTIME AddMinutes(const SYSTEMTIME& now, UINT minutes);
