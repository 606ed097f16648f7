#include "app/Skin.h"

#include "app/SkinRegion.h"

void CSkin::Apply(HWND hWnd, UINT id)
{
    m_hBitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (HRGN region = MakeSkinRegion(m_hBitmap, RGB(0, 0, 0), 1))
        ::SetWindowRgn(hWnd, region, TRUE); // the region now belongs to the window
    if (m_hBitmap)
        ::GetObjectA(m_hBitmap, sizeof(m_bm), &m_bm);
    m_hDC = ::CreateCompatibleDC(nullptr);
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
}

void CSkin::Paint(HDC hdc) const
{
    ::BitBlt(hdc, 0, 0, m_bm.bmWidth, m_bm.bmHeight, m_hDC, 0, 0, SRCCOPY);
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
