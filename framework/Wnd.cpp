#include "framework/Wnd.h"

CWnd* BoundWindowObject(HWND hWnd, UINT msg, int slot, CWnd* creating)
{
    auto* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, slot));
    if (!self && creating) {
        self = creating;
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, slot, reinterpret_cast<LONG_PTR>(self));
    }
    if (self && msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, slot, 0);
        self->m_hWnd = nullptr;
        return nullptr;
    }
    return self;
}

std::string CWnd::GetWindowText() const
{
    int len = ::GetWindowTextLengthA(m_hWnd);
    if (len <= 0)
        return std::string();
    std::string text(static_cast<size_t>(len) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &text[0], len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

RECT WorkArea(SystemParametersQuery query)
{
    RECT area;
    if (!query(SPI_GETWORKAREA, 0, &area, 0))
        area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return area;
}
