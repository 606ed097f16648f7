// The installed hook end to end: real key presses through SendInput, the
// broadcast counted by a separate listener process.
#include "hook/Keywatch.h"
#include "tests/hook/HookCopy.h"
#include "tests/hook/HotKeyValue.h"
#include "tests/hook/Listener.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

namespace {

const WORD kCtrl = VK_CONTROL, kEsc = VK_ESCAPE, kX = 'X';

// A top-level window of this process that takes the keyboard focus and counts
// the key messages it receives.
class FocusWindow {
public:
    FocusWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "KeywatchTestFocus";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, wc.lpszClassName, "focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                   200, nullptr, nullptr, wc.hInstance, nullptr);
        s_keys = 0;
    }
    ~FocusWindow() { ::DestroyWindow(m_hWnd); }
    HWND hWnd() const { return m_hWnd; }
    static LONG Keys() { return s_keys; }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_KEYDOWN || m == WM_KEYUP)
            ++s_keys;
        return ::DefWindowProcA(h, m, w, l);
    }
    static LONG s_keys;
    HWND m_hWnd;
};
LONG FocusWindow::s_keys = 0;

struct FindListener {
    DWORD pid;
    HWND found;
    static BOOL CALLBACK Proc(HWND hWnd, LPARAM lp)
    {
        auto* find = reinterpret_cast<FindListener*>(lp);
        DWORD pid = 0;
        char cls[64] = "";
        ::GetWindowThreadProcessId(hWnd, &pid);
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        if (pid == find->pid && lstrcmpA(cls, kListenerClass) == 0) {
            find->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
};

void SendKey(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ASSERT_EQ(::SendInput(1, &input, sizeof(input)), 1u);
}

class KeywatchHook : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Firing must start nothing on this desktop.
        ASSERT_EQ(ReadString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"), "<missing>");

        m_listener = StartSibling("hook_listener.exe", "", &m_listenerPid);
        ASSERT_TRUE(m_listener);
        FindListener find = {m_listenerPid, nullptr};
        ASSERT_TRUE(PumpUntil([&] {
            ::EnumWindows(FindListener::Proc, reinterpret_cast<LPARAM>(&find));
            return find.found != nullptr;
        }));
        m_listenerWnd = find.found;
        ASSERT_EQ(::WaitForInputIdle(m_listener, 5000), 0u);
        Focus(m_focus.hWnd());
    }

    void TearDown() override
    {
        UnInstallLaunchEv();
        if (m_listener) {
            ::PostMessageA(m_listenerWnd, WM_CLOSE, 0, 0);
            if (!PumpUntil([&] { return ::WaitForSingleObject(m_listener, 0) == WAIT_OBJECT_0; }, 5000))
                ::TerminateProcess(m_listener, 1);
            ::CloseHandle(m_listener);
        }
    }

    void Focus(HWND hWnd)
    {
        ::SetForegroundWindow(hWnd);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == hWnd; }, 5000));
        if (hWnd == m_focus.hWnd()) {
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hWnd; }, 5000));
        }
    }

    LONG AskListener(UINT msg, WPARAM wp = 0)
    {
        DWORD_PTR answer = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(m_listenerWnd, msg, wp, 0, SMTO_ABORTIFHUNG, 5000, &answer));
        return static_cast<LONG>(answer);
    }

    // Screen-saver commands the listener has received up to now: a mark posted
    // after them has been processed, so none is still on its way.
    LONG ScreenSaves()
    {
        LONG mark = ++m_mark;
        ::PostMessageA(m_listenerWnd, kListenerMark, mark, 0);
        EXPECT_TRUE(PumpUntil([&] { return AskListener(kListenerLastMark) == mark; }, 5000));
        return AskListener(kListenerScreenSaves);
    }

    // Key presses into this process's focus window: each is seen by the hook
    // before the window receives it.
    void Press(WORD vk) { Key(vk, false); }
    void Release(WORD vk) { Key(vk, true); }
    void Key(WORD vk, bool up)
    {
        LONG seen = FocusWindow::Keys();
        SendKey(vk, up);
        ASSERT_TRUE(PumpUntil([&] { return FocusWindow::Keys() == seen + 1; }, 5000))
            << "key " << vk << " did not reach the focus window";
    }

    SavedHotKey m_saved;
    FocusWindow m_focus;
    HANDLE m_listener = nullptr;
    DWORD m_listenerPid = 0;
    HWND m_listenerWnd = nullptr;
    LONG m_mark = 0;
};

TEST_F(KeywatchHook, EscStartsTheScreenSaverOnReleaseAndANewValueTakesEffectAtOnce)
{
    SetHotKey("12700");
    InstallLaunchEv();
    Press(kEsc);
    Press(kEsc); // auto-repeat
    EXPECT_EQ(ScreenSaves(), 0);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 1);

    // Ctrl+X, read at the next keystroke without installing anew.
    SetHotKey("18817");
    Press(kCtrl);
    Press(kX);
    EXPECT_EQ(ScreenSaves(), 2);
    Release(kX);
    Press(kX);
    Release(kX);
    EXPECT_EQ(ScreenSaves(), 2) << "only once per press of Ctrl";
    Release(kCtrl);
    Press(kCtrl);
    Press(kX);
    Release(kX);
    Release(kCtrl);
    EXPECT_EQ(ScreenSaves(), 3);
    Press(kX);
    Press(kCtrl);
    Release(kCtrl);
    Release(kX);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 3);
}

TEST_F(KeywatchHook, FiresInAnotherProcessThatHasTheFocus)
{
    SetHotKey("18817");
    InstallLaunchEv();
    Focus(m_listenerWnd);
    LONG keys = AskListener(kListenerKeys);
    for (WORD vk : {kCtrl, kX})
        SendKey(vk, false);
    for (WORD vk : {kX, kCtrl})
        SendKey(vk, true);
    EXPECT_TRUE(PumpUntil([&] { return AskListener(kListenerKeys) == keys + 4; }, 5000));
    EXPECT_EQ(ScreenSaves(), 1);
}

TEST_F(KeywatchHook, AfterUninstallNothingFiresAndASecondUninstallIsHarmless)
{
    SetHotKey("12700");
    InstallLaunchEv();
    InstallLaunchEv(); // already installed: no second hook
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 1);

    UnInstallLaunchEv();
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 1);
    UnInstallLaunchEv();
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 1);

    InstallLaunchEv();
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 2);
}

// Copies of the program, each with its hook, coming and going in any order:
// one press of the hot key asks for the screen saver once.
TEST_F(KeywatchHook, OnePressFiresOnceHoweverManyCopiesRun)
{
    SetHotKey("12700");
    CopyProcess copies[8];
    for (CopyProcess& copy : copies) {
        ASSERT_TRUE(copy.Started());
        ASSERT_TRUE(copy.Install());
    }
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 1);

    copies[0].Remove();
    copies[3].End();
    copies[5].Remove();
    ASSERT_TRUE(copies[5].Install());
    InstallLaunchEv(); // this process is a copy too
    Press(kEsc);
    Release(kEsc);
    EXPECT_EQ(ScreenSaves(), 2);
}

} // namespace
