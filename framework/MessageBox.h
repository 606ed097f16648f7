// Message boxes in the program's style: caption = the program file's base name,
// the exclamation icon when the caller names no icon.
#pragma once
#include <windows.h>
#include <string>

// The base name of the program file without its extension ("Brightsweep").
std::string AfxGetAppName();

// The window that owns message boxes raised on the user-interface thread.
void AfxSetMainWnd(HWND hWnd);

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Shows text with an OK button, then ends the process with exit code 0 through
// the C runtime's exit (exit handlers and static destructors run). With a
// fatal handler set, no box shows: the process ends with the handler's result.
[[noreturn]] void AfxFatalExit(const char* text);

// For a run with nothing on screen: gets the fatal text (from any thread) and
// returns the exit code. Set before any worker starts; null: the box.
typedef int (*AfxFatalHandler)(const char* text);
void AfxSetFatalHandler(AfxFatalHandler handler);
