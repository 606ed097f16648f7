// Listener for the hook tests: a plain top-level window, counting what arrives.
// Ends on WM_CLOSE, or by itself after two minutes.
#include "tests/hook/Listener.h"

namespace {

LONG g_screenSaves = 0;
LONG g_keys = 0;
LONG g_mark = 0;
const UINT_PTR kLifeTimer = 1;

LRESULT CALLBACK ListenerProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_SCREENSAVE)
            ++g_screenSaves;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        ++g_keys;
        break;
    case kListenerScreenSaves:
        return g_screenSaves;
    case kListenerKeys:
        return g_keys;
    case kListenerMark:
        g_mark = static_cast<LONG>(wp);
        return 0;
    case kListenerLastMark:
        return g_mark;
    case WM_TIMER:
        if (wp == kLifeTimer)
            ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kListenerClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, kListenerClass, "hook listener", WS_OVERLAPPEDWINDOW, 500, 100, 300, 200,
                                  nullptr, nullptr, hInstance, nullptr);
    if (!hWnd)
        return 1;
    // Shown without taking the focus from the test; the test hands it over.
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    ::SetTimer(hWnd, kLifeTimer, 120000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
