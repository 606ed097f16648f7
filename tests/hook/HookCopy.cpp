// Child of the hook tests: a copy of the program as far as the hook goes. Its
// window installs and removes Keywatch.dll's hook on request and reports what
// the library handed SetWindowsHookExA. Ends on WM_CLOSE, or after two minutes.
#include "hook/Keywatch.h"
#include "tests/hook/HookCopy.h"
#include "tests/hook/ImportPatch.h"

#include <cstdio>

namespace {

typedef HHOOK(WINAPI* SetHookFn)(int, HOOKPROC, HINSTANCE, DWORD);
SetHookFn g_setHook = nullptr;
HHOOK g_hook = nullptr;
LRESULT g_procOffset = 0;
const UINT_PTR kLifeTimer = 1;

HHOOK WINAPI RecordInstall(int id, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    g_hook = g_setHook(id, proc, module, thread);
    g_procOffset = reinterpret_cast<BYTE*>(proc) - reinterpret_cast<BYTE*>(module);
    return g_hook;
}

LRESULT CALLBACK CopyProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case kCopyInstall:
        g_hook = nullptr;
        InstallLaunchEv();
        return static_cast<LRESULT>(HandleToULong(g_hook));
    case kCopyProcedure:
        return g_procOffset;
    case kCopyRemove:
        UnInstallLaunchEv();
        return 0;
    case kCopyExit:
        // The library is not told; the hook goes as the system takes it from
        // an ended process. (Wine kept the hook of a copy ended with it
        // installed, after another had taken its slot, and called it in
        // later tests.)
        ::UnhookWindowsHookEx(g_hook);
        ::ExitProcess(0);
    case WM_TIMER:
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
    void* original = nullptr;
    if (PatchImport(::GetModuleHandleA("Keywatch.dll"), "user32.dll", "SetWindowsHookExA",
                    reinterpret_cast<void*>(RecordInstall), &original) != 1)
        return 1;
    g_setHook = reinterpret_cast<SetHookFn>(original);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CopyProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kCopyClass;
    ::RegisterClassA(&wc);
    char title[64];
    std::snprintf(title, sizeof(title), "hook copy %lu", ::GetCurrentProcessId());
    HWND hWnd = ::CreateWindowExA(0, kCopyClass, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  hInstance, nullptr);
    if (!hWnd)
        return 1;
    ::SetTimer(hWnd, kLifeTimer, 120000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    UnInstallLaunchEv();
    return 0;
}
