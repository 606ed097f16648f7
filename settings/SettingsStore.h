// Loading and saving the settings record under the current user's settings
// key. A
// registry failure shows "error" and ends the process with exit code 0.
#pragma once
#include <string>
#include <windows.h>

#include "settings/CleanSettings.h"

// Fills both copies of every value and appends the stored folders to
// customFolders. On first start creates the key with the defaults; a missing
// or malformed value is replaced by its default, each value on its own.
void LoadSettings(CleanSettings& settings);

// Writes the applied values and the folder list in place, then removes every
// other value of the key. The key and the values are never absent meanwhile.
void SaveSettings(const CleanSettings& settings);

// The main window's place, "WindowPos", as stored ("" when there is none).
// It is the window's, not the record's: SaveSettings leaves it alone, and a
// failure to store it is ignored.
std::string LoadWindowPos();
void SaveWindowPos(const std::string& text);

// The text of a value of hKey up to its first NUL, whatever its type, or
// "Error" when it cannot be read.
std::string ReadSettingText(HKEY hKey, const char* name);

