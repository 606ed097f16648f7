// Non-owning window handle with the few calls the program makes on it.
#pragma once
#include <windows.h>
#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) const
    {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }

    HWND m_hWnd = nullptr;
};

// The object of a window of the program's own, kept in the window's slot
// (DWLP_USER for dialogs and property pages, GWLP_USERDATA for windows of its
// own classes). Bound once, to creating, taken from the creation parameter of
// the message that carries it (WM_INITDIALOG, WM_NCCREATE); let go at
// WM_NCDESTROY. Null then, and for the messages before the binding, which
// take the default handling.
CWnd* BoundWindowObject(HWND hWnd, UINT msg, int slot, CWnd* creating);

// SystemParametersInfoA, or a stand-in for it.
typedef BOOL(WINAPI* SystemParametersQuery)(UINT action, UINT param, PVOID data, UINT winIni);

// The primary display's work area, or the whole screen where the system cannot
// tell it (NT 3.51 knows no SPI_GETWORKAREA).
RECT WorkArea(SystemParametersQuery query = ::SystemParametersInfoA);
