// The hook procedure called directly, in this process: registry reading,
// state kept in the exported variables, what keystrokes cost in handles and
// allocations, and the chain of several copies' hooks as the Windows 95
// family walks it.
#include "hook/KeywatchExports.h"
#include "tests/hook/HookCopy.h"
#include "tests/hook/HotKeyValue.h"
#include "tests/hook/ImportPatch.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
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
    // No runtime is linked in and no allocator imported.
    EXPECT_EQ(AllocationCounter(dll).Patched(), 0) << "the library imports an allocation function";

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
    EXPECT_LE(handlesAfter, handlesBefore + 2) << "handles grow with keystrokes";
    // Each round fires once: Ctrl+X, or Esc, which the refused values keep.
    EXPECT_EQ(sink.Received(), 400);
}

// The chain as the Windows 95 family walks it: CallNextHookEx calls the hook
// after the one whose handle it is given (Wine ignores the handle, so the
// library's CallNextHookEx is redirected here). Hooks of other programs are
// entries without a procedure; they pass on their own handle.
class Chain95 {
public:
    Chain95()
    {
        s_chain = this;
        m_dll = ::GetModuleHandleA("Keywatch.dll");
        m_patched = PatchImport(m_dll, "user32.dll", "CallNextHookEx", reinterpret_cast<void*>(CallNext),
                                &m_original);
    }
    ~Chain95()
    {
        void* ignored;
        PatchImport(m_dll, "user32.dll", "CallNextHookEx", m_original, &ignored);
        s_chain = nullptr;
    }
    int Patched() const { return m_patched; }

    // A new hook goes to the head of the chain.
    void Add(HHOOK handle, HOOKPROC proc) { m_hooks.insert(m_hooks.begin(), Hook{handle, proc, 0}); }
    void AddForeign() { Add(reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(0xF000 + m_hooks.size())), nullptr); }
    void Remove(HHOOK handle)
    {
        for (size_t i = 0; i < m_hooks.size(); ++i)
            if (m_hooks[i].handle == handle)
                m_hooks.erase(m_hooks.begin() + static_cast<std::ptrdiff_t>(i));
    }
    size_t Ours() const
    {
        size_t n = 0;
        for (const Hook& h : m_hooks)
            n += h.proc != nullptr;
        return n;
    }

    // One keystroke from the head of the chain; what went wrong, one line each.
    std::string Keystroke(int code, WPARAM key, LPARAM flags)
    {
        m_faults.clear();
        for (Hook& h : m_hooks)
            h.calls = 0;
        if (!m_hooks.empty())
            Call(0, code, key, flags);
        for (size_t i = 0; i < m_hooks.size(); ++i)
            if (m_hooks[i].calls != 1)
                Fault(i, "called " + std::to_string(m_hooks[i].calls) + " times");
        return m_faults;
    }

private:
    struct Hook {
        HHOOK handle;
        HOOKPROC proc;
        int calls;
    };

    void Fault(size_t index, const std::string& what)
    {
        m_faults += (m_hooks[index].proc ? "our hook " : "other hook ") + std::to_string(index) + " " + what + "\n";
    }

    LRESULT Call(size_t index, int code, WPARAM key, LPARAM flags)
    {
        if (m_hooks[index].calls++ > 0) {
            Fault(index, "entered again for the same keystroke");
            return 0;
        }
        m_running.push_back(index);
        LRESULT result = m_hooks[index].proc ? m_hooks[index].proc(code, key, flags)
                                             : CallNext(m_hooks[index].handle, code, key, flags);
        m_running.pop_back();
        return result;
    }

    static LRESULT WINAPI CallNext(HHOOK handle, int code, WPARAM key, LPARAM flags)
    {
        Chain95* chain = s_chain;
        if (chain->m_running.empty())
            return 0; // a real keystroke meanwhile
        size_t self = chain->m_running.back();
        if (chain->m_hooks[self].handle != handle) {
            char text[64];
            std::snprintf(text, sizeof(text), "passed on 0x%lx, not its own", HandleToULong(handle));
            chain->Fault(self, text);
        }
        for (size_t i = 0; i < chain->m_hooks.size(); ++i)
            if (chain->m_hooks[i].handle == handle)
                return i + 1 < chain->m_hooks.size() ? chain->Call(i + 1, code, key, flags) : 0;
        return 0; // a handle in no chain: the Windows 95 family ends the round here
    }

    static Chain95* s_chain;
    HMODULE m_dll;
    void* m_original = nullptr;
    int m_patched;
    std::vector<Hook> m_hooks;
    std::vector<size_t> m_running;
    std::string m_faults;
};
Chain95* Chain95::s_chain = nullptr;

// Copies of the program in processes of their own install, remove and end
// without removing, in the order that led an earlier slot rule into a loop on
// the Windows 95 family; other programs' hooks lie before, between and after
// ours. After each step a press and release of Esc goes through the chain in
// this process, which installed nothing: each hook is called once, each of
// ours passes on its own handle, and the screen saver is asked for once.
TEST(LauncherHook, EveryCopysHookPassesOnItsOwnHandleAndOnePressFiresOnce)
{
    SavedHotKey saved;
    SetHotKey("12700");
    ScreenSaverSink sink;
    Chain95 chain;
    ASSERT_EQ(chain.Patched(), 1);
    LONG expected = 0;
    auto press = [&](const char* step) {
        std::string faults = chain.Keystroke(0, VK_ESCAPE, kPress) + chain.Keystroke(0, VK_ESCAPE, kRelease);
        EXPECT_EQ(faults, "") << step;
        expected += chain.Ours() > 0;
        EXPECT_EQ(sink.Received(), expected) << step;
    };
    auto install = [&](CopyProcess& copy) {
        HHOOK hook = copy.Install();
        EXPECT_TRUE(hook);
        chain.Add(hook, copy.Procedure());
        return hook;
    };

    CopyProcess a, b, c, d;
    ASSERT_TRUE(a.Started() && b.Started() && c.Started() && d.Started());
    chain.AddForeign();
    HHOOK hookA = install(a);
    chain.AddForeign();
    HHOOK hookB = install(b);
    press("A and B");
    a.Remove();
    chain.Remove(hookA);
    press("A removed");
    hookA = install(a);
    press("A again, before B");
    HHOOK hookC = install(c);
    chain.AddForeign();
    press("C too");
    b.End();
    chain.Remove(hookB);
    press("B ended without removing its hook");
    HHOOK hookD = install(d);
    press("D in B's place");
    a.Remove();
    chain.Remove(hookA);
    c.Remove();
    chain.Remove(hookC);
    press("D alone");
    d.Remove();
    chain.Remove(hookD);
    press("none");
}

} // namespace
