// The least a keyboard-hook library holds, linked like Keywatch.dll: the size
// the hook library's checks print beside its own.
#include <windows.h>

static __attribute__((section(".shared"), shared)) HHOOK g_hook = nullptr;
static HINSTANCE g_module = nullptr;

static LRESULT CALLBACK BareHook(int code, WPARAM key, LPARAM flags)
{
    return ::CallNextHookEx(g_hook, code, key, flags);
}

extern "C" __declspec(dllexport) void Install()
{
    g_hook = ::SetWindowsHookExA(WH_KEYBOARD, BareHook, g_module, 0);
}

extern "C" __declspec(dllexport) void Remove()
{
    ::UnhookWindowsHookEx(g_hook);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        ::DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
