// The application object: one static instance per program, run by WinMain.
#pragma once
#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE to skip a message loop of the framework's own: the program
    // then ends through ExitInstance.
    virtual BOOL InitInstance() { return FALSE; }
    // The process exit code.
    virtual int ExitInstance() { return 0; }
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// The program's entry: InitInstance, the message loop when it returned TRUE,
// then ExitInstance, whose result is the exit code.
int AfxWinMain();
