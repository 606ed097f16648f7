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
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::PostMessageA(m_hWnd, msg, wp, lp);
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

// SystemParametersInfoA, or a stand-in for it.
typedef BOOL(WINAPI* SystemParametersQuery)(UINT action, UINT param, PVOID data, UINT winIni);

// The primary display's work area, or the whole screen where the system cannot
// tell it (NT 3.51 knows no SPI_GETWORKAREA).
RECT WorkArea(SystemParametersQuery query = ::SystemParametersInfoA);
