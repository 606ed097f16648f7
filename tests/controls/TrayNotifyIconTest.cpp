#include "controls/Messages.h"
#include "controls/TrayNotifyIcon.h"
#include "controls/TrayWindow.h"
#include "res/resource_menu.h"
#include "tests/controls/UiHelpers.h"
#include "tests/support/Program.h"
#include "tests/support/Windows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Every test runs against the shell's notification area and against the
// program's own icon windows, which stand in for it where the shell has none.
TrayNotifyProc g_notify = nullptr;

// Whether the notification area holds an icon of this window and id.
bool InTray(HWND hWnd, UINT id)
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hWnd;
    nid.uID = id;
    nid.uFlags = NIF_TIP;
    std::strcpy(nid.szTip, "probe");
    return g_notify(NIM_MODIFY, &nid) != FALSE;
}

BOOL RawTray(DWORD op, HWND hWnd, UINT id)
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hWnd;
    nid.uID = id;
    return g_notify(op, &nid);
}

// Watches for the popup menu of this thread from a timer (the menu's modal
// loop dispatches it), notes what the menu shows and closes it: with Escape,
// or by choosing the item at position chooseItem with the keyboard (real
// mouse input is unreliable in the virtual desktop).
struct MenuWatcher {
    explicit MenuWatcher(int chooseItem = -1) : m_chooseItem(chooseItem)
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 30, Tick);
    }
    ~MenuWatcher()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

    int shown = 0;
    RECT window = {0, 0, 0, 0};
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    std::vector<UINT> states;

private:
    static BOOL CALLBACK FindMenu(HWND hWnd, LPARAM lp)
    {
        char cls[16] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        if (std::strcmp(cls, "#32768") == 0 && ::IsWindowVisible(hWnd)) {
            *reinterpret_cast<HWND*>(lp) = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        MenuWatcher* self = s_current;
        HWND hMenuWnd = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindMenu, reinterpret_cast<LPARAM>(&hMenuWnd));
        if (!self || !hMenuWnd) {
            if (self)
                self->m_closing = false;
            return;
        }
        if (self->m_closing)
            return;
        self->m_closing = true;
        ++self->shown;
        ::GetWindowRect(hMenuWnd, &self->window);
        // The menu the window shows, not the one that was loaded.
        auto hMenu = reinterpret_cast<HMENU>(::SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
        self->texts.clear();
        self->ids.clear();
        self->states.clear();
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            char text[64] = "";
            ::GetMenuStringA(hMenu, i, text, sizeof(text), MF_BYPOSITION);
            self->texts.push_back(text);
            self->ids.push_back(::GetMenuItemID(hMenu, i));
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STATE;
            ::GetMenuItemInfoA(hMenu, i, TRUE, &info);
            self->states.push_back(info.fState);
        }
        if (self->m_chooseItem < 0) {
            QueueKey(VK_ESCAPE);
            return;
        }
        // Nothing is selected at first: the first Down selects position 0.
        for (int i = 0; i <= self->m_chooseItem; ++i)
            QueueKey(VK_DOWN);
        QueueKey(VK_RETURN);
    }

    static MenuWatcher* s_current;
    int m_chooseItem;
    UINT_PTR m_timer = 0;
    bool m_closing = false;
};
MenuWatcher* MenuWatcher::s_current = nullptr;

class TrayTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        g_notify = GetParam() ? TrayWindowNotify : ::Shell_NotifyIconA;
        ASSERT_TRUE(owner.m_hWnd);
    }
    BOOL Add(CTrayNotifyIcon& tray, UINT id = IDR_TRAYMENU, const char* tip = "Brightsweep")
    {
        tray.m_pfnNotify = g_notify;
        return tray.AddToTray(&owner, id, tip, icon, WM_TRAY_NOTIFY);
    }
    std::vector<WPARAM> CommandsAfterPumping(DWORD ms = 150)
    {
        PumpFor(ms);
        std::vector<WPARAM> ids;
        for (auto& c : owner.Commands()) {
            EXPECT_EQ(c.lp, 0);
            ids.push_back(c.wp);
        }
        return ids;
    }

    RecordingWindow owner{RECT{450, 50, 750, 250}};
    HICON icon = ::LoadIconA(nullptr, IDI_APPLICATION);
};

TEST_P(TrayTest, AddsTheIconAndRemovesItOnce)
{
    CTrayNotifyIcon tray;
    EXPECT_FALSE(tray.m_bAdded);
    EXPECT_EQ(tray.RemoveFromTray(), 0);

    ASSERT_TRUE(Add(tray));
    EXPECT_TRUE(tray.m_bAdded);
    EXPECT_TRUE(tray.m_bWindowShown);
    EXPECT_EQ(tray.m_nid.hWnd, owner.m_hWnd);
    EXPECT_EQ(tray.m_nid.uID, 195u);
    EXPECT_EQ(tray.m_nid.uFlags, 7u);
    EXPECT_EQ(tray.m_nid.uCallbackMessage, 2030u);
    EXPECT_EQ(tray.m_nid.hIcon, icon);
    EXPECT_STREQ(tray.m_nid.szTip, "Brightsweep");
    EXPECT_TRUE(InTray(owner.m_hWnd, 195));

    EXPECT_TRUE(tray.RemoveFromTray());
    EXPECT_FALSE(tray.m_bAdded);
    EXPECT_FALSE(InTray(owner.m_hWnd, 195));

    // A second remove does not reach the shell: an icon of the same window and
    // id added meanwhile stays.
    ASSERT_TRUE(RawTray(NIM_ADD, owner.m_hWnd, 195));
    EXPECT_EQ(tray.RemoveFromTray(), 0);
    EXPECT_TRUE(InTray(owner.m_hWnd, 195));
    EXPECT_TRUE(RawTray(NIM_DELETE, owner.m_hWnd, 195));
}

TEST_P(TrayTest, AFailedAddLeavesNothingToRemoveAndTheDestructorRemoves)
{
    {
        CTrayNotifyIcon first;
        ASSERT_TRUE(Add(first));
        {
            // The same window and id once more: the shell refuses it.
            CTrayNotifyIcon second;
            EXPECT_FALSE(Add(second));
            EXPECT_FALSE(second.m_bAdded);
            EXPECT_EQ(second.RemoveFromTray(), 0);
        }
        EXPECT_TRUE(InTray(owner.m_hWnd, 195));
    }
    EXPECT_FALSE(InTray(owner.m_hWnd, 195));
}

TEST_P(TrayTest, ATooLongTipIsCutToTheRecordsTipField)
{
    CTrayNotifyIcon tray;
    std::string tip(100, 'x');
    ASSERT_TRUE(Add(tray, IDR_TRAYMENU, tip.c_str()));
    EXPECT_EQ(std::string(tray.m_nid.szTip), tip.substr(0, 63));
    EXPECT_EQ(offsetof(NOTIFYICONDATAA, szTip) + 64, tray.m_nid.cbSize); // the terminator is inside the record
}

TEST_P(TrayTest, DoubleClickPostsMinimizeWhileShownAndMaximizeWhileHidden)
{
    CTrayNotifyIcon tray;
    ASSERT_TRUE(Add(tray));
    RecordingWindow other(RECT{100, 400, 300, 600});
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == other.m_hWnd; }));

    EXPECT_EQ(tray.HandleTrayMessage(195, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(CommandsAfterPumping(), std::vector<WPARAM>{IDM_MINIMIZE});
    EXPECT_EQ(::GetForegroundWindow(), other.m_hWnd);

    owner.received.clear();
    tray.m_bWindowShown = FALSE;
    EXPECT_EQ(tray.HandleTrayMessage(195, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(::GetForegroundWindow(), owner.m_hWnd);
    EXPECT_EQ(CommandsAfterPumping(), std::vector<WPARAM>{IDM_MAXIMIZE});
}

TEST_P(TrayTest, RightClickShowsTheMenuAtTheCursorAndDeliversTheChoice)
{
    CTrayNotifyIcon tray;
    ASSERT_TRUE(Add(tray));
    RecordingWindow other(RECT{100, 400, 300, 600});
    ::SetCursorPos(300, 200);
    {
        MenuWatcher watch(8); // the keys pass over the separators: the ninth item
        EXPECT_EQ(tray.HandleTrayMessage(195, WM_RBUTTONUP), 0);
        ASSERT_EQ(watch.shown, 1);
        EXPECT_EQ(watch.window.left, 300);
        EXPECT_EQ(watch.window.top, 200);
        EXPECT_EQ(watch.texts, (std::vector<std::string>{"Maximize", "Minimize", "Auto ON", "Auto OFF", "Hotkey ON",
                                                         "HotKey OFF", "", "Clean now", "Preview", "", "Exit"}));
        EXPECT_EQ(watch.ids, (std::vector<UINT>{32780, 32781, 32778, 32779, 32774, 32775, 0, 32790, 32791, 0, 32773}));
        ASSERT_EQ(watch.states.size(), 11u);
        EXPECT_TRUE(watch.states[0] & MFS_DEFAULT);
        for (size_t i = 1; i < watch.states.size(); ++i)
            if (watch.ids[i]) // separators show greyed
                EXPECT_EQ(watch.states[i], 0u) << i; // no check marks, nothing greyed
    }
    EXPECT_EQ(::GetForegroundWindow(), owner.m_hWnd);
    EXPECT_EQ(CommandsAfterPumping(), std::vector<WPARAM>{IDM_EXIT});

    // Dismissed: no command.
    owner.received.clear();
    {
        MenuWatcher watch;
        EXPECT_EQ(tray.HandleTrayMessage(195, WM_RBUTTONUP), 0);
        EXPECT_EQ(watch.shown, 1);
    }
    EXPECT_TRUE(CommandsAfterPumping().empty());
}

TEST_P(TrayTest, OtherIconsOtherMouseEventsAndAMissingMenuDoNothing)
{
    CTrayNotifyIcon tray;
    ASSERT_TRUE(Add(tray));
    CTrayNotifyIcon noMenu;
    ASSERT_TRUE(Add(noMenu, 196));
    MenuWatcher watch;
    struct Event {
        CTrayNotifyIcon* icon;
        WPARAM id;
        LPARAM msg;
    };
    for (Event e : {Event{&tray, 196, WM_RBUTTONUP}, Event{&tray, 196, WM_LBUTTONDBLCLK},
                    Event{&tray, 195, WM_LBUTTONDOWN}, Event{&tray, 195, WM_LBUTTONUP},
                    Event{&tray, 195, WM_MOUSEMOVE}, Event{&tray, 195, WM_RBUTTONDOWN},
                    Event{&noMenu, 196, WM_RBUTTONUP}, Event{&noMenu, 196, WM_LBUTTONDBLCLK}})
        EXPECT_EQ(e.icon->HandleTrayMessage(e.id, e.msg), 0);
    EXPECT_TRUE(CommandsAfterPumping().empty());
    EXPECT_EQ(watch.shown, 0);
}

INSTANTIATE_TEST_SUITE_P(Shell, TrayTest, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(OwnWindow, TrayTest, ::testing::Values(true));

TEST(TrayLookup, TheShellsNotificationAreaIsUsedWhereItExists)
{
    CTrayNotifyIcon tray;
    EXPECT_EQ(tray.m_pfnNotify, ShellTrayNotify());
    EXPECT_NE(ShellTrayNotify(), nullptr);
}

// The text of the tooltip that the window owns, or "<no tip>".
std::string TipText(HWND hWnd)
{
    HWND tip = nullptr;
    while ((tip = ::FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && ::GetWindow(tip, GW_OWNER) != hWnd) {
    }
    if (!tip)
        return "<no tip>";
    char text[64] = "";
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    ti.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    return text;
}

// How many of a grid of samples of the window's client area, inset by two
// pixels, differ from the icon drawn on the button face.
int PixelsUnlikeIcon(HWND hWnd, HICON icon)
{
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 32, 32);
    ::SelectObject(mem, bmp);
    RECT all = {0, 0, 32, 32};
    ::FillRect(mem, &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ::DrawIcon(mem, 0, 0, icon);
    HDC dc = ::GetDC(hWnd);
    int differing = 0;
    for (int y = 0; y < 32; y += 4)
        for (int x = 0; x < 32; x += 4)
            differing += ::GetPixel(dc, x + 2, y + 2) != ::GetPixel(mem, x, y);
    ::ReleaseDC(hWnd, dc);
    ::DeleteDC(mem);
    ::DeleteObject(bmp);
    ::ReleaseDC(nullptr, screen);
    return differing;
}

// The stand-in as a user meets it: an icon at the bottom right of the work
// area, the tip, and real clicks reaching the notification window.
TEST(TrayWindow, ShowsTheIconWithItsTipAndReportsRealClicks)
{
    RecordingWindow owner(RECT{100, 100, 300, 300});
    HICON icon = ::LoadIconA(nullptr, IDI_APPLICATION);
    CTrayNotifyIcon tray;
    tray.m_pfnNotify = TrayWindowNotify;
    ASSERT_TRUE(tray.AddToTray(&owner, IDR_TRAYMENU, "Brightsweep", icon, WM_TRAY_NOTIFY));
    HWND hWnd = FindTrayWindow(owner.m_hWnd, IDR_TRAYMENU);
    ASSERT_TRUE(hWnd);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_TRUE(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rc, work;
    ::GetWindowRect(hWnd, &rc);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rc.right, work.right);
    EXPECT_EQ(rc.bottom, work.bottom);
    EXPECT_EQ(WindowText(hWnd), "Brightsweep");
    EXPECT_EQ(TipText(hWnd), "Brightsweep");
    PumpFor(100);
    EXPECT_EQ(PixelsUnlikeIcon(hWnd, icon), 0); // the icon's own pixels

    POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    CProgram::ClickScreen(centre, true);
    CProgram::DoubleClickScreen(centre);
    auto has = [&](LPARAM m) {
        auto events = owner.Only(WM_TRAY_NOTIFY);
        return std::any_of(events.begin(), events.end(), [m](const auto& r) { return r.lp == m; });
    };
    EXPECT_TRUE(PumpUntil([&] { return has(WM_RBUTTONUP) && has(WM_LBUTTONDBLCLK); }));
    for (auto& r : owner.Only(WM_TRAY_NOTIFY))
        EXPECT_EQ(r.wp, IDR_TRAYMENU);

    // A run's tip replaces the name in the window and its tooltip.
    EXPECT_TRUE(tray.SetTip("Cleaned 14:02: 1,234 files, 5.6 MB; next 14:32"));
    EXPECT_EQ(WindowText(hWnd), "Cleaned 14:02: 1,234 files, 5.6 MB; next 14:32");
    EXPECT_EQ(TipText(hWnd), "Cleaned 14:02: 1,234 files, 5.6 MB; next 14:32");

    EXPECT_TRUE(tray.RemoveFromTray());
    EXPECT_FALSE(FindTrayWindow(owner.m_hWnd, IDR_TRAYMENU));
}

} // namespace
