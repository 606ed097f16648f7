// Character-wise helpers on ANSI folder paths shared by the folder path,
// protected set and folder judging files; not part of the engine's interface.
#pragma once
#include <windows.h>

#include <string>

namespace pathtext {

size_t FindSeparator(const std::string& s, size_t from);
std::string Upper(std::string s);
// A drive or share root ("C:", "C:\", "\\server", "\\server\share") or a
// device path.
bool IsRoot(const std::string& p);
bool IsMissingError(DWORD error);

} // namespace pathtext
