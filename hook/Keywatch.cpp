// Keywatch.dll: a desktop-wide keyboard hook that broadcasts the screen-saver
// command when the hot key stored in "HotKey" is typed. The system loads the
// library into every process that receives keyboard input while the hook is
// installed; each process keeps its own copy of the .SHARDT variables, and all
// share the hook handle in .SHHOOK.
#include "hook/KeywatchExports.h"

#include "hook/KeyState.h"

// Plain writable data, not shared between processes. This file is compiled
// with -fno-toplevel-reorder so the variables keep this order.
#define KEYWATCH_DATA __attribute__((section(".SHARDT")))

// The hook handle as a 32-bit value, like the other six, in either build: a
// user handle's value fits in 32 bits on every Windows.
static KEYWATCH_DATA LONG g_hHook = 0;
extern "C" {
KEYWATCH_DATA int count = 0;
KEYWATCH_DATA int firstkey = 0;
KEYWATCH_DATA int firstkeydown = 0;
KEYWATCH_DATA int newone = 0;
KEYWATCH_DATA int secondkey = 0;
KEYWATCH_DATA int secondkeydown = 0;
}

// The installed hook's handle once more, shared between all processes that
// load the library: the hook procedure passes it on to the next hook in every
// process, as the Windows 95 family finds the rest of the chain through it.
// The first program to install owns it: a later one's hook stands before the
// owner's in the chain, so handing on the owner's handle never leads back to a
// hook of ours.
static __attribute__((section(".SHHOOK"), shared)) LONG g_hSharedHook = 0;

static HINSTANCE g_hModule = nullptr;

static HHOOK HookHandle(LONG value)
{
    return reinterpret_cast<HHOOK>(static_cast<LONG_PTR>(value));
}

static const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";

static KeyState LoadState()
{
    return KeyState{count, firstkey, firstkeydown, newone, secondkey, secondkeydown};
}

static void StoreState(const KeyState& state)
{
    count = state.count;
    firstkey = state.firstkey;
    firstkeydown = state.firstkeydown;
    newone = state.newone;
    secondkey = state.secondkey;
    secondkeydown = state.secondkeydown;
}

// Refreshes the configuration from "HotKey"; an unreadable, malformed or
// disabled value leaves it as it is. Runs at every keystroke in every process,
// so it reads into a stack buffer with one query for size and data; a value
// that does not fit counts as unreadable (a valid one has 5 characters).
static void ReadHotKeySetting(KeyState* state)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    char text[64];
    DWORD size = sizeof(text) - 1;
    LONG rc = ::RegQueryValueExA(key, "HotKey", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || size >= sizeof(text))
        return;
    // The stored data need not end with a NUL.
    text[size] = '\0';
    ConfigureHotKey(state, text);
}

extern "C" void InstallLaunchEv()
{
    // A second hook would outlive UnInstallLaunchEv, which knows only one.
    if (g_hHook)
        return;
    g_hHook = static_cast<LONG>(
        reinterpret_cast<LONG_PTR>(::SetWindowsHookExA(WH_KEYBOARD, LauncherHook, g_hModule, 0)));
    if (g_hHook && !g_hSharedHook)
        g_hSharedHook = g_hHook;
}

extern "C" void UnInstallLaunchEv()
{
    if (!g_hHook)
        return;
    // Cleared first: a keystroke meanwhile passes on no handle rather than a
    // removed one.
    if (g_hSharedHook == g_hHook)
        g_hSharedHook = 0;
    ::UnhookWindowsHookEx(HookHandle(g_hHook));
    g_hHook = 0;
}

extern "C" LRESULT CALLBACK LauncherHook(int code, WPARAM key, LPARAM flags)
{
    // The keystroke always goes on: the application in front receives it too.
    LRESULT result = ::CallNextHookEx(HookHandle(g_hSharedHook), code, key, flags);
    KeyState state = LoadState();
    ReadHotKeySetting(&state);
    bool fire = StepKey(&state, code, static_cast<unsigned>(key), static_cast<unsigned>(flags));
    StoreState(state);
    if (fire)
        ::PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    return result;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_hModule = hModule;
        ::DisableThreadLibraryCalls(hModule);
    }
    return TRUE;
}
