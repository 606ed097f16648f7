// Windows and processes for tests that need the user interface.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// A top-level window (shown, 400x400) with one child multi-line edit control
// (id 1006) and one push button (id 1): enough to host a pane under test.
struct HostWindow {
    HostWindow();
    ~HostWindow();
    HWND hWnd = nullptr;
    HWND hEdit = nullptr;
    HWND hButton = nullptr;
};

// Dispatches this thread's messages until done() or timeoutMs passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);

// A message box (a dialog with a message text) shown by process pid, or null.
HWND FindMessageBox(DWORD pid);
// Its text (the static control 0xFFFF) and caption.
std::string MessageBoxText(HWND box);
std::string WindowText(HWND hWnd);

// Starts "<dir of this test program>\<exe> <args>", in that folder when
// inSiblingsFolder; returns the process handle and its id, or null.
HANDLE StartSibling(const std::string& exe, const std::string& args, DWORD* pid, bool inSiblingsFolder = false);
