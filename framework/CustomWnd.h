// A window of a class of the program's own whose messages go to a virtual
// WindowProc; the object is bound to the window at WM_NCCREATE.
#pragma once
#include "framework/Wnd.h"

// Registers (once per distinct set of arguments) a window class whose
// procedure is CCustomWnd::ClassProc and returns its name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);

class CCustomWnd : public CWnd {
public:
    ~CCustomWnd() override;

    // className must have ClassProc as its procedure (AfxRegisterWndClass).
    bool CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& rc,
                  HWND hParent, UINT id);
    void DestroyWindow();

    static LRESULT CALLBACK ClassProc(HWND, UINT, WPARAM, LPARAM);

protected:
    // Messages not handled here must go to Default().
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(m_hWnd, msg, wp, lp); }
};
