#include "tests/support/Windows.h"

namespace {
LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return ::DefWindowProcA(h, m, w, l);
}
} // namespace

HostWindow::HostWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrightsweepTestHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassA(&wc);
    hWnd = ::CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400,
                             nullptr, nullptr, wc.hInstance, nullptr);
    hEdit = ::CreateWindowExA(WS_EX_STATICEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, 26, 226, 232,
                              60, hWnd, reinterpret_cast<HMENU>(1006), wc.hInstance, nullptr);
    hButton = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 60, 24, hWnd,
                                reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    PumpFor(50);
}

HostWindow::~HostWindow()
{
    ::DestroyWindow(hWnd);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

namespace {
struct FindBox {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindBoxProc(HWND hWnd, LPARAM lp)
{
    auto* find = reinterpret_cast<FindBox*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    // A dialog with the message text's static: not some other dialog of the process.
    if (pid == find->pid && lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(hWnd) &&
        ::GetDlgItem(hWnd, 0xFFFF)) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindMessageBox(DWORD pid)
{
    FindBox find = {pid, nullptr};
    ::EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::string WindowText(HWND hWnd)
{
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string MessageBoxText(HWND box)
{
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

HANDLE StartSibling(const std::string& exe, const std::string& args, DWORD* pid, bool inSiblingsFolder)
{
    char self[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self, n);
    dir.erase(dir.find_last_of('\\') + 1);
    std::string cmd = "\"" + dir + exe + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          inSiblingsFolder ? dir.c_str() : nullptr, &si, &pi))
        return nullptr;
    ::CloseHandle(pi.hThread);
    if (pid)
        *pid = pi.dwProcessId;
    return pi.hProcess;
}
