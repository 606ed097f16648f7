#include "framework/Wnd.h"

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
