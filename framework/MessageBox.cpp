#include "framework/MessageBox.h"

#include <cstdlib>

namespace {
HWND g_hMainWnd = nullptr;
}

std::string AfxGetAppName()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return "Brightsweep";
    std::string name(path, n);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

void AfxSetMainWnd(HWND hWnd)
{
    g_hMainWnd = hWnd;
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    // Only the main window's own thread may make it the owner. A worker's box
    // is owned by the worker's own active window (a sheet it shows), if any.
    HWND owner = nullptr;
    if (g_hMainWnd && ::GetWindowThreadProcessId(g_hMainWnd, nullptr) == ::GetCurrentThreadId()) {
        owner = ::GetLastActivePopup(g_hMainWnd);
    } else {
        owner = ::GetActiveWindow();
        if (owner && ::GetWindowThreadProcessId(owner, nullptr) != ::GetCurrentThreadId())
            owner = nullptr;
    }
    if (owner && !::IsWindowEnabled(owner))
        owner = nullptr;
    std::string caption = AfxGetAppName();
    return ::MessageBoxA(owner, text, caption.c_str(), type);
}

namespace {
AfxFatalHandler g_fatalHandler = nullptr;
}

void AfxSetFatalHandler(AfxFatalHandler handler)
{
    g_fatalHandler = handler;
}

void AfxFatalExit(const char* text)
{
    if (g_fatalHandler)
        std::exit(g_fatalHandler(text));
    AfxMessageBox(text, MB_OK, 0);
    std::exit(0);
}
