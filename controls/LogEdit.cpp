#include "controls/LogEdit.h"

namespace {
// wParam unused, lParam = const char* text; handled by the pane itself.
const UINT WM_LOGEDIT_APPEND = WM_APP + 3;
}

void CLogEdit::Place(HWND hParent, UINT id, const RECT& rc)
{
    SubclassDlgItem(id, hParent);
    SetFixedRect(rc);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // The pane then snaps itself to its fixed rectangle.
    MoveWindow(rc.left, rc.top, client.right, client.bottom, TRUE);
    ShowWindow(SW_SHOW);
    ::UpdateWindow(m_hWnd);
}

void CLogEdit::AppendText(const std::string& text)
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return;
    // Sent, not posted: the caller's string lives until the pane has copied it.
    ::SendMessageA(hWnd, WM_LOGEDIT_APPEND, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CLogEdit::AppendOnOwnThread(const char* text)
{
    std::string all = GetWindowText();
    all += text;
    SetWindowText(all.c_str());
    LRESULT lines = SendMessage(EM_GETLINECOUNT);
    SendMessage(EM_LINESCROLL, 0, lines);
}

LRESULT CLogEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LOGEDIT_APPEND:
        AppendOnOwnThread(reinterpret_cast<const char*>(lp));
        return 0;
    case WM_SETFOCUS: {
        HWND hPrevious = reinterpret_cast<HWND>(wp);
        if (hPrevious)
            ::SetFocus(hPrevious);
        return 0;
    }
    case WM_SIZE: {
        LRESULT r = Default(msg, wp, lp);
        // Until SetFixedRect the pane stays where it was put.
        if (m_hWnd && !::IsRectEmpty(&m_rcFixed))
            MoveWindow(m_rcFixed.left, m_rcFixed.top, m_rcFixed.right - m_rcFixed.left,
                       m_rcFixed.bottom - m_rcFixed.top, TRUE);
        return r;
    }
    case WM_GETDLGCODE: {
        // Enter goes to the dialog, whose default command is IDOK; not every
        // multi-line edit hands it on by itself.
        LRESULT code = Default(msg, wp, lp);
        const MSG* key = reinterpret_cast<const MSG*>(lp);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        return code;
    }
    case WM_CHAR:
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}
