// Drives the real Brightsweep.exe for end-to-end tests: starts it beside the
// test program, finds its windows, gives it real mouse and keyboard input
// (SendInput, which passes through the system's input queue and hooks) and
// reads its panes.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

class CProgram {
public:
    CProgram() = default;
    ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Starts the program and waits until its main window shows a filled
    // status pane. False when that does not happen within timeoutMs. By
    // default the program beside the test, from its own folder; given
    // exePath, that file from the test's current directory.
    bool Start(DWORD timeoutMs = 20000, const std::string& exePath = "");
    // The program beside the test with a command tail; shown false: the
    // window is found, and its status pane filled, while it stays hidden.
    bool Start(const char* args, bool shown, DWORD timeoutMs = 20000);
    // Ends the process if it still runs: through its "Exit" command, or
    // killed when that does not end it.
    void Kill();
    // Waits for the process to end; false on timeout.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;

    HWND MainWindow() const { return m_hMain; }
    DWORD ProcessId() const { return m_pid; }
    std::string Pane(int id) const;
    // A top-level window of the program with this class and caption (null:
    // any caption), or null.
    HWND FindWindowOfProgram(const char* className, const char* caption = nullptr) const;

    // Real input at a point given in the main window's client coordinates.
    void Click(int x, int y, bool right = false) const;
    void DoubleClick(int x, int y) const;
    void Drag(int x0, int y0, int x1, int y1) const;
    static void ClickScreen(POINT pt, bool right = false);
    // Jumps there in one move.
    static void MoveScreen(POINT pt);
    // Jumps there, presses and releases the left button in one go.
    static void QuickClickScreen(POINT pt);
    static void DoubleClickScreen(POINT pt);
    static void Key(WORD vk);

private:
    bool Launch(const char* args, bool shown, DWORD timeoutMs, const std::string& exePath);

    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
    HWND m_hMain = nullptr;
};

// Pumps this thread's messages while waiting, so that windows of the test
// itself keep answering.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000);
