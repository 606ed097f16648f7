// The application object: one static instance per program, run by WinMain.
#pragma once
#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's whole run (its own modal loops).
    virtual void InitInstance() {}
    // The process exit code.
    virtual int ExitInstance() { return 0; }
};

CWinApp* AfxGetApp();

// The program's entry: InitInstance, then ExitInstance, whose result is the
// exit code.
int AfxWinMain();
