// Helper program of the controls tests. "foreground": opens a window, makes it
// the foreground window and keeps it until it is closed (at most 30 s).
#include <windows.h>
#include <cstring>

namespace {
LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_TIMER)
        ::DestroyWindow(h);
    if (m == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcA(h, m, w, l);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "foreground") != 0)
        return 2;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrightsweepControlsProbe";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(0, wc.lpszClassName, "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 450, 200,
                                  150, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hWnd)
        return 1;
    ::SetForegroundWindow(hWnd);
    ::SetTimer(hWnd, 1, 30000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
