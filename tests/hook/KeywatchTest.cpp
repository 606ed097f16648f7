// The hook procedure called directly, in this process: registry reading,
// state kept in the exported variables, what keystrokes cost in handles and
// allocations, and the handle it passes on here and in another process.
#include "hook/KeywatchExports.h"
#include "tests/hook/HotKeyValue.h"
#include "tests/hook/ImportPatch.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const LPARAM kPress = 0x00000001, kRelease = static_cast<LPARAM>(0xC0000001);
const int kHcNoRemove = 3;

// A top-level window of this process counting the screen-saver commands that
// reach it (a broadcast goes to every top-level window).
struct ScreenSaverSink {
    static LONG s_count;
    HWND hWnd;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_SYSCOMMAND && (w & 0xFFF0) == SC_SCREENSAVE)
            ++s_count;
        return ::DefWindowProcA(h, m, w, l);
    }
    ScreenSaverSink()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "KeywatchTestSink";
        ::RegisterClassA(&wc);
        hWnd = ::CreateWindowExA(0, wc.lpszClassName, "sink", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        s_count = 0;
    }
    ~ScreenSaverSink() { ::DestroyWindow(hWnd); }
    // A post to this thread's windows is queued before PostMessage returns.
    LONG Received()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        return s_count;
    }
};
LONG ScreenSaverSink::s_count = 0;

// Handles this process holds, from the system's handle list (Wine leaves
// GetProcessHandleCount unimplemented).
long OwnHandleCount()
{
    typedef LONG(WINAPI * QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
    struct Entry {
        ULONG pid;
        BYTE type, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    ULONG size = 0;
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &size)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    ULONG n = *reinterpret_cast<ULONG*>(buffer.data());
    auto* entries = reinterpret_cast<Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long own = 0;
    for (ULONG i = 0; i < n; ++i)
        own += entries[i].pid == ::GetCurrentProcessId();
    return own;
}

void Key(WPARAM vk, LPARAM flags, int code = 0)
{
    EXPECT_EQ(LauncherHook(code, vk, flags), 0) << "no next hook, nothing to return";
}

TEST(LauncherHook, ReadsHotKeyAtEveryKeystrokeAndKeepsTheLastValidOne)
{
    SavedHotKey saved;
    SetHotKey("18817");
    Key('A', kPress);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(firstkey, 17);
    EXPECT_EQ(secondkey, 88);

    SetHotKey("11700");
    Key('A', kPress);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(firstkey, 17);
    EXPECT_EQ(secondkey, 0);

    SetHotKey("02700");
    Key('A', kPress);
    SetHotKey("1270");
    Key('A', kPress, kHcNoRemove);
    DeleteValue(HKEY_CURRENT_USER, kSettingKey, "HotKey");
    Key('A', kPress);
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingKey);
    Key('A', kRelease);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(firstkey, 17);
}

// Fills the stack below the caller's frame with digits, where the callee's
// buffers will lie, so that a missing terminator shows.
__attribute__((noinline)) void SoilStack()
{
    volatile char junk[8192];
    for (size_t i = 0; i < sizeof(junk); ++i)
        junk[i] = '7';
}

TEST(LauncherHook, TakesTheTextUpToTheFirstNulWhetherOrNotThereIsOne)
{
    SavedHotKey saved;
    SetHotKeyRaw(REG_BINARY, "18817"); // five bytes, no terminator
    SoilStack();
    Key('A', kPress);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(secondkey, 88);

    SetHotKeyRaw(REG_BINARY, std::string("11700\0junk", 10));
    Key('A', kPress);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(firstkey, 17);

    // Too long to be a hot key, with or without a terminator.
    SetHotKey("12700" + std::string(300, '5'));
    Key('A', kPress);
    SetHotKeyRaw(REG_BINARY, "12700" + std::string(300, '5'));
    Key('A', kPress);
    EXPECT_EQ(firstkey, 17);
}

TEST(LauncherHook, LeavesNoHandleOpenAndAllocatesNothing)
{
    SavedHotKey saved;
    ScreenSaverSink sink;
    HMODULE dll = ::GetModuleHandleA("Keywatch.dll");
    ASSERT_TRUE(dll);
    AllocationCounter allocations(dll);
    ASSERT_GT(allocations.Patched(), 0) << "the library's allocation imports were not found";
    long allocationsBefore = AllocationCounter::Count();

    long handlesBefore = OwnHandleCount();
    ASSERT_GT(handlesBefore, 0);
    const char* values[] = {"18817", "12700", "02700", "1270"};
    for (int i = 0; i < 400; ++i) {
        SetHotKey(values[i % 4]);
        Key(17, kPress);
        Key(88, kPress);
        Key(27, kRelease, kHcNoRemove); // a peek: never fires
        Key(27, kRelease);
    }
    long handlesAfter = OwnHandleCount();
    EXPECT_EQ(AllocationCounter::Count(), allocationsBefore);
    EXPECT_LE(handlesAfter, handlesBefore + 2) << "handles grow with keystrokes";
    // Each round fires once: Ctrl+X, or Esc, which the refused values keep.
    EXPECT_EQ(sink.Received(), 400);
}

typedef HHOOK(WINAPI* SetHookFn)(int, HOOKPROC, HINSTANCE, DWORD);
SetHookFn g_setHook = nullptr;
HHOOK g_installed = nullptr;
HHOOK g_passedOn = nullptr;

HHOOK WINAPI RecordInstall(int id, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    g_installed = g_setHook(id, proc, module, thread);
    return g_installed;
}

LRESULT WINAPI RecordNext(HHOOK hook, int, WPARAM, LPARAM)
{
    g_passedOn = hook;
    return 0;
}

// The handle hook_next_probe passes on, as 32 bits.
DWORD PassedOnInAnotherProcess(const char* args)
{
    HANDLE probe = StartSibling("hook_next_probe.exe", args, nullptr);
    EXPECT_TRUE(probe);
    if (!probe)
        return 0;
    EXPECT_EQ(::WaitForSingleObject(probe, 20000), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(probe, &code);
    ::CloseHandle(probe);
    EXPECT_NE(code, 0xFFFFFFFF) << "the probe could not load or patch Keywatch.dll";
    return code;
}

// The Windows 95 family finds the next hook through the handle given to
// CallNextHookEx; Wine ignores it, so the value itself is checked.
TEST(LauncherHook, PassesOnTheInstalledHandleInEveryProcess)
{
    HMODULE dll = ::GetModuleHandleA("Keywatch.dll");
    void* original = nullptr;
    ASSERT_EQ(PatchImport(dll, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(RecordInstall), &original),
              1);
    g_setHook = reinterpret_cast<SetHookFn>(original);
    InstallLaunchEv();
    PatchImport(dll, "user32.dll", "SetWindowsHookExA", original, &original);
    ASSERT_TRUE(g_installed);
    const DWORD installed = HandleToULong(g_installed);

    ASSERT_EQ(PatchImport(dll, "user32.dll", "CallNextHookEx", reinterpret_cast<void*>(RecordNext), &original), 1);
    Key('A', kPress, kHcNoRemove);
    PatchImport(dll, "user32.dll", "CallNextHookEx", original, &original);
    EXPECT_EQ(g_passedOn, g_installed);

    EXPECT_EQ(PassedOnInAnotherProcess(""), installed);
    // A second program's hook, installed and removed, leaves the first's.
    EXPECT_EQ(PassedOnInAnotherProcess("install"), installed);
    UnInstallLaunchEv();
    EXPECT_EQ(PassedOnInAnotherProcess(""), 0u);
}

} // namespace
