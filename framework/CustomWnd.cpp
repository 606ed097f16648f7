#include "framework/CustomWnd.h"

#include "framework/Format.h"

CCustomWnd::~CCustomWnd()
{
    DestroyWindow();
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // The name encodes the arguments, as each combination is its own class.
    static thread_local char name[96];
    FormatText(name, sizeof(name), "Bsw:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA wc = {};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!::GetClassInfoA(instance, name, &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = CCustomWnd::ClassProc;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        ::RegisterClassA(&wc);
    }
    return name;
}

bool CCustomWnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& rc,
                          HWND hParent, UINT id)
{
    if (m_hWnd)
        return false;
    HWND hWnd = ::CreateWindowExA(exStyle, className, text, style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), static_cast<CWnd*>(this));
    return hWnd != nullptr && m_hWnd == hWnd;
}

void CCustomWnd::DestroyWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

LRESULT CCustomWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT CALLBACK CCustomWnd::ClassProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* creating = nullptr;
    if (msg == WM_NCCREATE)
        creating = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    auto* self = static_cast<CCustomWnd*>(BoundWindowObject(hWnd, msg, GWLP_USERDATA, creating));
    if (!self)
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    try {
        return self->WindowProc(msg, wp, lp);
    } catch (...) {
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    }
}
