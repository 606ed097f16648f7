#include "framework/SubclassWnd.h"

#include <commctrl.h>

CSubclassWnd::~CSubclassWnd()
{
    UnsubclassWindow();
}

bool CSubclassWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return false;
    if (!::SetWindowSubclass(hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hWnd;
    PreSubclassWindow();
    return true;
}

void CSubclassWnd::UnsubclassWindow()
{
    if (m_hWnd) {
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
        m_hWnd = nullptr;
    }
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT CSubclassWnd::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return ::DefSubclassProc(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp,
                                            UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<CSubclassWnd*>(ref);
    if (msg == WM_NCDESTROY) {
        // The window goes away: detach first, then let the control finish.
        ::RemoveWindowSubclass(hWnd, SubclassProc, 0);
        self->m_hWnd = nullptr;
        return ::DefSubclassProc(hWnd, msg, wp, lp);
    }
    try {
        return self->WindowProc(msg, wp, lp);
    } catch (...) {
        return ::DefSubclassProc(hWnd, msg, wp, lp);
    }
}
