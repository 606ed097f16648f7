// A window of another class (a dialog's control) whose messages pass first
// through a virtual WindowProc. Built on comctl32's SetWindowSubclass (5.80 and
// later); with an older comctl32 the window procedure is replaced directly and
// the object found through a window property. The subclass is removed when the
// window receives WM_NCDESTROY.
#pragma once
#include "framework/Wnd.h"

class CSubclassWnd : public CWnd {
public:
    ~CSubclassWnd() override;

    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, HWND hParent) { return SubclassWindow(::GetDlgItem(hParent, id)); }
    void UnsubclassWindow();

    // For tests: replace window procedures directly even where comctl32 has
    // its helpers, as on systems without them.
    static void UseWindowProcedureOnly(bool on);

protected:
    // Runs once the window is subclassed, before SubclassWindow returns.
    virtual void PreSubclassWindow() {}
    // Messages not handled here must go to Default().
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK ReplacedProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);

    // The control's own procedure while it is replaced directly.
    WNDPROC m_pfnOldProc = nullptr;
};
