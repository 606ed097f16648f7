// The "Help" button's worker: the local help page in the browser.
#pragma once
#include <windows.h>

// Worker procedure (parameter: the main window, unused): opens
// "help\help.htm" below the current directory. Returns 1 when the page was
// handed to ShellOpen, 0 when the current directory could not be read.
UINT HelpThreadProc(LPVOID mainWnd);
