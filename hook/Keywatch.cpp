// Keywatch.dll: a desktop-wide keyboard hook that broadcasts the screen-saver
// command when the hot key stored in "HotKey" is typed. The system loads the
// library into every process that receives keyboard input while a hook is
// installed; each process keeps its own copy of the .SHARDT variables.
//
// Every running copy of the program installs a hook of its own. Each takes a
// slot with a hook procedure of its own, so that the procedure knows which
// hook it runs as and hands the next hook exactly that hook's handle: the
// Windows 95 family finds the rest of the chain through it. Of the hooks of
// ours that one keystroke passes through, only the first steps the key state.
//
// Linked without any runtime: no exceptions, no static constructors, no
// thread-local storage, nothing done while the loader holds its lock.
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

// The hook handle of each slot, shared between all processes that load the
// library. A copy of the program owns a slot while it holds the slot's named
// mutex, which the system closes when the copy ends; a slot whose mutex is
// gone is free, whatever handle it still holds. Names are per session under
// Terminal Services, where the system ignores the handle passed on.
const int kSlots = 16;
static __attribute__((section(".SHHOOK"), shared)) LONG g_slotHooks[kSlots] = {};

// This process's own slot while its hook is installed.
static int g_slot = 0;
static HANDLE g_slotClaim = nullptr;

static HINSTANCE g_hModule = nullptr;

static HHOOK HookHandle(LONG value)
{
    return reinterpret_cast<HHOOK>(static_cast<LONG_PTR>(value));
}

static const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";

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

// One keystroke through the key state of this process.
static void StepHotKey(int code, WPARAM key, LPARAM flags)
{
    KeyState state = {count, firstkey, firstkeydown, newone, secondkey, secondkeydown};
    ReadHotKeySetting(&state);
    bool fire = StepKey(&state, code, static_cast<unsigned>(key), static_cast<unsigned>(flags));
    count = state.count;
    firstkey = state.firstkey;
    firstkeydown = state.firstkeydown;
    newone = state.newone;
    secondkey = state.secondkey;
    secondkeydown = state.secondkeydown;
    if (fire)
        ::PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

// A keystroke on its way through our hooks on one thread: the first hook of
// ours marks it, the ones the chain leads to from there find the mark. Each
// thread reads and writes only the marks with its own id, so claiming one
// (an atomic exchange of a zero id) is the only step other threads can meet.
// A recursive keystroke (a hook further on pumping messages) differs in its
// code, key or flags and gets a mark of its own.
struct Passage {
    volatile LONG thread;
    int code;
    WPARAM key;
    LPARAM flags;
    LONG slots; // our hooks this keystroke is in, one bit per slot
};
const int kPassages = 8;
static Passage g_passages[kPassages];

static Passage* FindPassage(LONG thread, int code, WPARAM key, LPARAM flags)
{
    for (Passage& p : g_passages)
        if (p.thread == thread && p.code == code && p.key == key && p.flags == flags)
            return &p;
    return nullptr;
}

// Null when every mark is taken; the keystroke is then stepped unmarked.
static Passage* ClaimPassage(LONG thread, int code, WPARAM key, LPARAM flags)
{
    for (Passage& p : g_passages) {
        if (p.thread == 0 && __sync_bool_compare_and_swap(&p.thread, 0, thread)) {
            p.code = code;
            p.key = key;
            p.flags = flags;
            p.slots = 0;
            return &p;
        }
    }
    return nullptr;
}

// The hook procedure of one slot.
static LRESULT RunHook(int slot, int code, WPARAM key, LPARAM flags)
{
    const LONG thread = static_cast<LONG>(::GetCurrentThreadId());
    const LONG bit = 1L << slot;
    Passage* mark = FindPassage(thread, code, key, flags);
    const bool first = !mark;
    if (first)
        mark = ClaimPassage(thread, code, key, flags);
    else if (mark->slots & bit)
        return 0; // the chain led back to this hook: end the round here
    if (mark)
        mark->slots |= bit;
    // The keystroke always goes on: the application in front receives it too.
    LRESULT result = ::CallNextHookEx(HookHandle(g_slotHooks[slot]), code, key, flags);
    if (mark)
        mark->slots &= ~bit;
    if (first) {
        if (mark)
            mark->thread = 0;
        StepHotKey(code, key, flags);
    }
    return result;
}

extern "C" LRESULT CALLBACK LauncherHook(int code, WPARAM key, LPARAM flags)
{
    return RunHook(0, code, key, flags);
}

template <int N>
static LRESULT CALLBACK SlotHook(int code, WPARAM key, LPARAM flags)
{
    return RunHook(N, code, key, flags);
}

static const HOOKPROC kSlotHooks[kSlots] = {
    LauncherHook, SlotHook<1>,  SlotHook<2>,  SlotHook<3>,  SlotHook<4>,  SlotHook<5>,  SlotHook<6>,  SlotHook<7>,
    SlotHook<8>,  SlotHook<9>,  SlotHook<10>, SlotHook<11>, SlotHook<12>, SlotHook<13>, SlotHook<14>, SlotHook<15>};

// The slot's mutex if this process could create it, which makes the slot ours.
static HANDLE ClaimSlot(int slot)
{
    char name[] = "Brightsweep.Keywatch.Slot00";
    name[sizeof(name) - 3] = static_cast<char>('0' + slot / 10);
    name[sizeof(name) - 2] = static_cast<char>('0' + slot % 10);
    // So that an earlier error cannot pass for ERROR_ALREADY_EXISTS.
    ::SetLastError(ERROR_SUCCESS);
    HANDLE claim = ::CreateMutexA(nullptr, FALSE, name);
    if (claim && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(claim);
        return nullptr;
    }
    return claim;
}

extern "C" void InstallLaunchEv()
{
    // A second hook would outlive UnInstallLaunchEv, which knows only one.
    if (g_hHook)
        return;
    for (int slot = 0; slot < kSlots; ++slot) {
        HANDLE claim = ClaimSlot(slot);
        if (!claim)
            continue;
        // A copy that ended without removing its hook left its handle here.
        g_slotHooks[slot] = 0;
        HHOOK hook = ::SetWindowsHookExA(WH_KEYBOARD, kSlotHooks[slot], g_hModule, 0);
        if (!hook) {
            ::CloseHandle(claim);
            return;
        }
        g_slotHooks[slot] = static_cast<LONG>(reinterpret_cast<LONG_PTR>(hook));
        g_hHook = g_slotHooks[slot];
        g_slot = slot;
        g_slotClaim = claim;
        return;
    }
}

extern "C" void UnInstallLaunchEv()
{
    if (!g_hHook)
        return;
    ::UnhookWindowsHookEx(HookHandle(g_hHook));
    // Freed only after the handle is gone from it.
    __sync_bool_compare_and_swap(&g_slotHooks[g_slot], g_hHook, 0);
    ::CloseHandle(g_slotClaim);
    g_slotClaim = nullptr;
    g_hHook = 0;
}

// The entry point itself: the library has no runtime to start.
extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_hModule = hModule;
        ::DisableThreadLibraryCalls(hModule);
    }
    return TRUE;
}
