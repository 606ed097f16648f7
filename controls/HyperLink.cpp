#include "controls/HyperLink.h"

#include "controls/ShellOpen.h"
#include "framework/MessageBox.h"

#include <commctrl.h>

namespace {
const UINT_PTR kToolId = 1;

TOOLINFOA ToolInfo(HWND hWnd, const std::string& text)
{
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE; // understood by every comctl32
    ti.hwnd = hWnd;
    ti.uId = kToolId;
    ti.lpszText = const_cast<char*>(text.c_str());
    return ti;
}
} // namespace

CHyperLink::~CHyperLink()
{
    DestroyTip();
    if (m_fontLink)
        ::DeleteObject(m_fontLink);
}

void CHyperLink::SetLinkTarget(const char* target)
{
    m_strTarget = target ? target : "";
    FitToText();
    UpdateTipText();
}

void CHyperLink::MarkVisited(BOOL visited)
{
    m_bVisited = visited;
    Repaint();
}

void CHyperLink::SetUnderlined(BOOL underlined)
{
    m_bUnderlined = underlined;
    Repaint();
}

void CHyperLink::FitToText()
{
    if (!m_bFitToText || !m_hWnd)
        return;
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (style & WS_CHILD)
        ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rc), 2);

    // Measured with the font the control draws with, so the caption is never
    // clipped; without a font of its own that is the context's default font.
    std::string caption = GetWindowText();
    HDC hDC = ::GetDC(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? ::SelectObject(hDC, font) : nullptr;
    SIZE text = {0, 0};
    ::GetTextExtentPoint32A(hDC, caption.c_str(), static_cast<int>(caption.size()), &text);
    if (old)
        ::SelectObject(hDC, old);
    ::ReleaseDC(m_hWnd, hDC);

    if (style & SS_CENTERIMAGE) {
        int d = (rc.bottom - rc.top - text.cy) / 2;
        rc.top += d;
        rc.bottom -= d;
    } else {
        rc.bottom = rc.top + text.cy;
    }
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: {
        int d = (rc.right - rc.left - text.cx) / 2;
        rc.left += d;
        rc.right -= d;
        break;
    }
    case SS_RIGHT:
        rc.left = rc.right - text.cx;
        break;
    default:
        rc.right = rc.left + text.cx;
        break;
    }
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    if (m_hTip) {
        TOOLINFOA ti = ToolInfo(m_hWnd, m_strTarget);
        ::GetClientRect(m_hWnd, &ti.rect);
        ::SendMessageA(m_hTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void CHyperLink::ShowOpenError(UINT code)
{
    AfxMessageBox(OpenErrorText(code).c_str(), MB_ICONEXCLAMATION);
}

HBRUSH CHyperLink::OnCtlColor(HDC hDC)
{
    ::SetTextColor(hDC, m_bVisited ? m_crVisited : m_crUnvisited);
    if (m_bUnderlined && LinkFont())
        ::SelectObject(hDC, m_fontLink);
    ::SetBkMode(hDC, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnClicked()
{
    UINT r = ShellOpen(m_strTarget.c_str(), SW_SHOW);
    // A failed attempt clears an earlier visited state.
    MarkVisited(r > 32);
    if (r <= 32) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(r);
    }
}

void CHyperLink::PreSubclassWindow()
{
    LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style | SS_NOTIFY);

    std::string caption = GetWindowText();
    if (m_strTarget.empty())
        m_strTarget = caption;
    if (caption.empty())
        SetWindowText(m_strTarget.c_str());
    FitToText();
    m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));

    DestroyTip();
    m_hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (m_hTip) {
        TOOLINFOA ti = ToolInfo(m_hWnd, m_strTarget);
        ::GetClientRect(m_hWnd, &ti.rect);
        ::SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETCURSOR:
        if (m_hCursor) {
            ::SetCursor(m_hCursor);
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        // The tooltip sees the mouse over its tool before the control does.
        if (m_hTip) {
            MSG m = {m_hWnd, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {0, 0}};
            DWORD pos = ::GetMessagePos();
            m.pt.x = static_cast<short>(LOWORD(pos));
            m.pt.y = static_cast<short>(HIWORD(pos));
            ::SendMessageA(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        }
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        // Some static controls select their own font after the colour query:
        // hand the control the underlined font for the time of the paint.
        if (m_bUnderlined) {
            HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
            if (LinkFont() && font != m_fontLink) {
                Default(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink), FALSE);
                LRESULT r = Default(msg, wp, lp);
                Default(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
                return r;
            }
        }
        break;
    case WM_DESTROY:
        DestroyTip();
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

HFONT CHyperLink::LinkFont()
{
    if (!m_fontLink && m_hWnd) {
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        if (!font)
            font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        LOGFONTA lf;
        if (::GetObjectA(font, sizeof(lf), &lf) == sizeof(lf)) {
            lf.lfUnderline = TRUE;
            m_fontLink = ::CreateFontIndirectA(&lf);
        }
    }
    return m_fontLink;
}

void CHyperLink::Repaint()
{
    if (!m_hWnd)
        return;
    // The text is drawn without a background: the parent repaints what lies
    // behind it, so that no trace of the former text stays.
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) {
        HWND hParent = ::GetParent(m_hWnd);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        ::InvalidateRect(hParent, &rc, TRUE);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHyperLink::UpdateTipText()
{
    if (!m_hTip || !m_hWnd)
        return;
    TOOLINFOA ti = ToolInfo(m_hWnd, m_strTarget);
    ::SendMessageA(m_hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CHyperLink::DestroyTip()
{
    if (m_hTip && ::IsWindow(m_hTip))
        ::DestroyWindow(m_hTip);
    m_hTip = nullptr;
}
