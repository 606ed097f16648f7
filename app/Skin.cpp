#include "app/Skin.h"

#include "app/SkinRegion.h"

namespace {
const COLORREF kPaneBack = RGB(52, 134, 255);
const COLORREF kPaneText = RGB(255, 255, 255);
} // namespace

CSkin::~CSkin()
{
    Release();
    if (m_brushPane)
        ::DeleteObject(m_brushPane);
}

void CSkin::Apply(HWND hWnd, UINT id)
{
    m_hWnd = hWnd;
    m_hBitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (HRGN region = MakeSkinRegion(m_hBitmap, RGB(0, 0, 0), 1))
        ::SetWindowRgn(hWnd, region, TRUE); // the region now belongs to the window
    if (m_hBitmap)
        ::GetObjectA(m_hBitmap, sizeof(m_bm), &m_bm);
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
}

void CSkin::AddPane(HWND hPane)
{
    if (!m_brushPane)
        m_brushPane = ::CreateSolidBrush(kPaneBack);
    for (HWND& pane : m_panes) {
        if (!pane) {
            pane = hPane;
            return;
        }
    }
}

bool CSkin::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT: {
        // Everything is drawn with the background.
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        *result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        ::BitBlt(reinterpret_cast<HDC>(wp), 0, 0, m_bm.bmWidth, m_bm.bmHeight, m_hDC, 0, 0, SRCCOPY);
        *result = TRUE;
        return true;
    case WM_NCHITTEST:
        *result = HTCAPTION; // the whole skin drags the window
        return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT: {
        HWND hCtl = reinterpret_cast<HWND>(lp);
        if (!hCtl || (hCtl != m_panes[0] && hCtl != m_panes[1]))
            return false;
        ::SetBkColor(reinterpret_cast<HDC>(wp), kPaneBack);
        ::SetTextColor(reinterpret_cast<HDC>(wp), kPaneText);
        *result = reinterpret_cast<LRESULT>(m_brushPane);
        return true;
    }
    default:
        return false;
    }
}

void CSkin::Release()
{
    if (!m_hDC)
        return;
    ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_hBitmap = nullptr;
}
