// The "Help" button's worker: the local help page in the browser.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// dir + "\help\help.htm", with one backslash between them also when dir ends
// with one (a drive root); dir is split by characters, so a double-byte
// character whose second byte is a backslash stays whole.
std::string HelpPageBelow(const std::string& dir);

// Where the help page may be, in order: below the current directory, then
// beside the program file. A folder that cannot be read gives no candidate;
// the second is left out when it is the first.
std::vector<std::string> HelpPageCandidates();

// Opens the first candidate that exists with ShellOpen. When none exists, or
// the one found cannot be opened, shows the hyperlink's failure box with the
// path or paths it tried. Returns the open's result (greater than 32 on
// success), or SE_ERR_FNF when no page was found.
UINT OpenHelpPage(const std::vector<std::string>& candidates);

// Worker procedure (parameter: the main window, unused): OpenHelpPage over
// HelpPageCandidates. Returns 1 when the page opened, else 0.
UINT HelpThreadProc(LPVOID mainWnd);
