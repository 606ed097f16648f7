// The real program in the Wine desktop, driven with real mouse and keyboard
// input: start-up, the buttons, the tray icon and its menu, and the ways out.
#include "tests/e2e/E2EFixture.h"

#include <algorithm>
#include <map>

namespace {

const char kDefaultStatus[] = "OS: Windows 2000\r\nMode: Normal   HotKey: On\r\n";

using MainWindow = E2ETest;

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

TEST_F(MainWindow, FirstStartWritesTheDefaultsAndShowsTheStatus)
{
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(Status(), kDefaultStatus);
    EXPECT_EQ(Setting("Content"), "11111100");
    EXPECT_EQ(Setting("Mode"), "00001");
    EXPECT_EQ(Setting("HotKey"), "12700");
    EXPECT_EQ(Setting("CustomNumber"), "<missing>");
    EXPECT_EQ(Log(), "");
}

TEST_F(MainWindow, StartCleansTheFoldersAndClearEmptiesOnlyTheLog)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...OK\r\nCleaning Cache...OK\r\nCleaning Cookies...OK\r\n"
                     "Cleaning History...OK\r\nCleaning TypedURLs...OK\r\nCleaning Recent...OK\r\n"
                     "End cleaning...OK\r\n");
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_TRUE(Emptied(f)) << f;
    EXPECT_FALSE(Emptied("Favorites")); // off by default

    ClickButton("Clear");
    EXPECT_TRUE(WaitFor([&] { return Log().empty(); }));
    EXPECT_EQ(Status(), kDefaultStatus);
}

TEST_F(MainWindow, AutoTwiceReturnsToTheFirstModeAndEachClickIsSaved)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Auto");
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }));
    EXPECT_EQ(Setting("Mode"), "10001");
    ClickButton("Auto");
    EXPECT_TRUE(WaitFor([&] { return Status() == kDefaultStatus; }));
    EXPECT_EQ(Setting("Mode"), "00001");
}

// The local time in the user's format, minutes from now.
std::string ClockIn(UINT minutes)
{
    SYSTEMTIME t;
    FILETIME ft;
    ::GetLocalTime(&t);
    ::SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER u = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    u.QuadPart += minutes * 600000000ull;
    ft = FILETIME{u.LowPart, u.HighPart};
    ::FileTimeToSystemTime(&ft, &t);
    char text[32] = "";
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, text, sizeof(text));
    return text;
}

TEST_F(MainWindow, TheTrayTipTellsWhatTheLastRunRemovedAndWhenTheNextRunComes)
{
    WriteFile(Folder("Temp") + "\\big.bin", std::string(1536 * 1024, 'x'));
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(TrayTip(), "Brightsweep");

    // Five folders of two one-byte files each, and the big one.
    const std::string counts = ": 11 files, 1.5 MB";
    std::string before = ClockIn(0);
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }));
    std::string tip = TrayTip(), after = ClockIn(0);
    EXPECT_TRUE(tip == "Cleaned " + before + counts || tip == "Cleaned " + after + counts) << tip;

    before = ClockIn(1);
    ClickButton("Auto"); // every minute
    std::string withNext = TrayTip();
    after = ClockIn(1);
    EXPECT_TRUE(withNext == tip + "; next " + before || withNext == tip + "; next " + after) << withNext;
    ClickButton("Auto");
    EXPECT_EQ(TrayTip(), tip);
}

TEST_F(MainWindow, HotKeyButtonTogglesTheStatusTheSettingAndTheHook)
{
    ScreenSaverListener listener;
    ASSERT_TRUE(program.Start());
    listener.Focus();
    CProgram::Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return listener.Count() > 0; }, 3000)) << "the hook fires while on";

    ::SetForegroundWindow(program.MainWindow());
    ClickButton("F&D");
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Normal   HotKey: Off\r\n"; }));
    EXPECT_EQ(Setting("HotKey"), "02700");
    int before = listener.Count(), escapes = listener.Escapes();
    listener.Focus();
    CProgram::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return listener.Escapes() > escapes; }, 3000)) << "the key went through";
    PumpFor(300);
    EXPECT_EQ(listener.Count(), before) << "the hook is gone";

    ::SetForegroundWindow(program.MainWindow());
    ClickButton("F&D");
    EXPECT_TRUE(WaitFor([&] { return Status() == kDefaultStatus; }));
    EXPECT_EQ(Setting("HotKey"), "12700");
}

TEST_F(MainWindow, MinHidesTheWindowAndADoubleClickOnTheTrayIconBringsItBack)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Min");
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.MainWindow()); }));
    POINT icon;
    ASSERT_TRUE(TrayIcon(&icon));
    CProgram::DoubleClickScreen(icon);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.MainWindow()) != FALSE; }));
    EXPECT_EQ(::GetForegroundWindow(), program.MainWindow());
}

TEST_F(MainWindow, TrayStartsHiddenWithItsIconAndADoubleClickShowsTheWindow)
{
    ASSERT_TRUE(program.Start("/TRAY", false));
    POINT icon;
    ASSERT_TRUE(WaitFor([&] { return TrayIcon(&icon); }, 5000));
    PumpFor(1000); // the dialog's first idle moment has passed
    EXPECT_FALSE(::IsWindowVisible(program.MainWindow()));
    CProgram::DoubleClickScreen(icon);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.MainWindow()) != FALSE; }));
    EXPECT_EQ(::GetForegroundWindow(), program.MainWindow());
    EXPECT_EQ(Status(), kDefaultStatus);
}

TEST_F(MainWindow, AtAFreshStartEscapeLeavesTheWindowOpenAndEnterEndsTheProgram)
{
    ScreenSaverListener listener; // Escape is the hot key: the hook shows it was pressed
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == program.MainWindow(); }));
    CProgram::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return listener.Count() > 0; }, 3000));
    PumpFor(300);
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(::IsWindowVisible(program.MainWindow()));
    CProgram::Key(VK_RETURN);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
}

TEST_F(MainWindow, QuickClicksCountAndTheLitFaceGoesOutWhenThePointerJumpsAway)
{
    ASSERT_TRUE(program.Start());
    POINT button = ButtonCentre("Auto");
    // Up and left of the pointer's hot spot, so that the pointer never covers it.
    auto probe = [&] {
        HDC screen = ::GetDC(nullptr);
        COLORREF c = ::GetPixel(screen, button.x - 9, button.y - 9);
        ::ReleaseDC(nullptr, screen);
        return c;
    };
    CProgram::MoveScreen(POINT{5, 5});
    COLORREF dark = probe();
    CProgram::QuickClickScreen(button);
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return probe() != dark; }, 3000)) << "lit under the pointer";
    CProgram::MoveScreen(POINT{5, 5});
    EXPECT_TRUE(WaitFor([&] { return probe() == dark; }, 3000));
    CProgram::QuickClickScreen(button);
    EXPECT_TRUE(WaitFor([&] { return Status() == kDefaultStatus; }, 3000));
}

TEST_F(MainWindow, ByeEndsTheProgramWithoutATrayIcon)
{
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return TrayIconShown(); }, 3000));
    ClickButton("Bye");
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
}

TEST_F(MainWindow, DraggingTheSkinMovesTheWindowWhichComesBackThereButNotOffScreen)
{
    ASSERT_TRUE(program.Start());
    RECT before;
    ::GetWindowRect(program.MainWindow(), &before);
    // A point of the skin away from buttons and panes.
    program.Drag(140, 200, 180, 230);
    RECT after;
    ::GetWindowRect(program.MainWindow(), &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    const std::string stored = std::to_string(after.left) + "," + std::to_string(after.top);
    EXPECT_TRUE(WaitFor([&] { return Setting("WindowPos") == stored; }, 3000)) << Setting("WindowPos");

    // A change of mode rewrites the key; the place stays.
    ClickButton("Auto");
    ASSERT_TRUE(WaitFor([&] { return Setting("Mode") == "10001"; }));
    program.Kill();
    ASSERT_TRUE(program.Start());
    RECT again;
    ::GetWindowRect(program.MainWindow(), &again);
    EXPECT_EQ(again.left, after.left);
    EXPECT_EQ(again.top, after.top);

    // Partly above and left of the screen: pulled onto its corner, which is
    // where the window is made before it is centred.
    program.Kill();
    SetString(HKEY_CURRENT_USER, kSettingKey, "WindowPos", "-40,-30");
    ASSERT_TRUE(program.Start());
    ::GetWindowRect(program.MainWindow(), &again);
    EXPECT_EQ(again.left, 0);
    EXPECT_EQ(again.top, 0);

    // Off every screen: the default place.
    program.Kill();
    SetString(HKEY_CURRENT_USER, kSettingKey, "WindowPos", "5000,-3000");
    ASSERT_TRUE(program.Start());
    ::GetWindowRect(program.MainWindow(), &again);
    EXPECT_EQ(again.left, before.left);
    EXPECT_EQ(again.top, before.top);
}

TEST_F(MainWindow, TheTaskbarButtonNamesTheProgramAndTipsSayWhatButtonsDo)
{
    ASSERT_TRUE(program.Start());
    // The taskbar's button for a window carries the window's handle as its
    // id and draws the window's text.
    HWND button = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
        for (HWND b = ::GetWindow(tray, GW_CHILD); b; b = ::GetWindow(b, GW_HWNDNEXT))
            if (::GetWindowLongPtrA(b, GWLP_ID) == reinterpret_cast<LONG_PTR>(program.MainWindow()) &&
                ::IsWindowVisible(b))
                button = b;
        return button != nullptr;
    }));
    EXPECT_EQ(WindowText(program.MainWindow()), "Brightsweep");
    // Lettering on the button's face: pixels inside its frame unlike the
    // colour of most of them.
    RECT rc;
    ::GetWindowRect(button, &rc);
    std::map<COLORREF, int> colours;
    HDC screen = ::GetDC(nullptr);
    for (int y = rc.top + 4; y < rc.bottom - 4; ++y)
        for (int x = rc.left + 4; x < rc.right - 4; ++x)
            ++colours[::GetPixel(screen, x, y)];
    ::ReleaseDC(nullptr, screen);
    int all = 0, most = 0;
    for (const auto& c : colours) {
        all += c.second;
        most = std::max(most, c.second);
    }
    EXPECT_GT(all - most, 20);

    EXPECT_EQ(ButtonTip("Start"), "Clean now");
    EXPECT_EQ(ButtonTip("Auto"), "Turn auto-clean on");
    ClickButton("Auto");
    ASSERT_TRUE(WaitFor([&] { return Status().find("Mode: Auto") != std::string::npos; }));
    EXPECT_EQ(ButtonTip("Auto"), "Turn auto-clean off");
}

// The log pane in its own colour, unlike the skin around it, and the desktop
// through the skin's cut-away corner.
TEST_F(MainWindow, TheScreenShowsThePaneOnTheSkinAndTheCutCorners)
{
    ASSERT_TRUE(program.Start());
    ::SetCursorPos(700, 600);
    HWND main = program.MainWindow();
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(main, 200, 350) == RGB(52, 134, 255); }));
    EXPECT_NE(ScreenPixel(main, 140, 100), RGB(52, 134, 255));
    RECT rc;
    ::GetWindowRect(main, &rc);
    EXPECT_NE(::WindowFromPoint(POINT{rc.left + 1, rc.top + 1}), main);
    EXPECT_EQ(::WindowFromPoint(POINT{rc.left + 140, rc.top + 100}), main);
}

} // namespace

namespace {

using TrayMenu = E2ETest;

TEST_F(TrayMenu, AutoOnIsSavedAndShownAndExitEndsTheProgram)
{
    ASSERT_TRUE(program.Start());
    ChooseFromTray(2); // "Auto ON"
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }));
    EXPECT_EQ(Setting("Mode"), "10001");

    HWND menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    CProgram::Key(VK_UP); // from nothing, Up selects the last item: "Exit"
    CProgram::Key(VK_RETURN);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
}

TEST_F(TrayMenu, CleanNowCleansAsStartDoesWithTheWindowHidden)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Min");
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.MainWindow()); }));
    ChooseFromTray(6); // after "HotKey OFF" and a separator
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...OK\r\nCleaning Cache...OK\r\nCleaning Cookies...OK\r\n"
                     "Cleaning History...OK\r\nCleaning TypedURLs...OK\r\nCleaning Recent...OK\r\n"
                     "End cleaning...OK\r\n");
    EXPECT_TRUE(Emptied("Temp"));
    EXPECT_FALSE(::IsWindowVisible(program.MainWindow()));
    EXPECT_EQ(Status(), kDefaultStatus);
}

TEST_F(TrayMenu, PreviewShowsTheWindowWithWhatWasPlantedAndRemovesNothing)
{
    const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
    DeleteKeyTree(HKEY_CURRENT_USER, kTypedUrls);
    SetString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://example.invalid/");
    WriteFile(Folder("Temp") + "\\big.bin", std::string(2048, 'b'));
    ASSERT_TRUE(program.Start());
    ClickButton("Min");
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.MainWindow()); }));
    ChooseFromTray(7); // right after "Clean now"
    ASSERT_TRUE(WaitFor([&] { return Log().find("End preview...") != std::string::npos; })) << Log();
    EXPECT_EQ(Log(), "Begin preview...\r\nTemp...3 files, 2.0 KB\r\nCache...2 files, 2 bytes\r\n"
                     "Cookies...2 files, 2 bytes\r\nHistory...2 files, 2 bytes and the browser's history list\r\n"
                     "TypedURLs...1 address\r\nRecent...2 files, 2 bytes\r\nEnd preview...11 files, 2.0 KB in all\r\n");
    EXPECT_TRUE(::IsWindowVisible(program.MainWindow()));
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_TRUE(Exists(Folder(f) + "\\file.txt") && Exists(Folder(f) + "\\sub\\inner.txt")) << f;
    EXPECT_TRUE(Exists(Folder("Temp") + "\\big.bin"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kTypedUrls, "url1"), "http://example.invalid/");
    DeleteKeyTree(HKEY_CURRENT_USER, kTypedUrls);
}

TEST_F(TrayMenu, ClosesWithEscapeWithTheWindowShownOrHidden)
{
    ASSERT_TRUE(program.Start());
    for (bool hidden : {false, true}) {
        if (hidden) {
            ClickButton("Min");
            ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(program.MainWindow()); }));
        } else {
            CProgram::MoveScreen(ButtonCentre("Auto")); // the pointer passes over a button on its way
            PumpFor(200);
        }
        HWND menu = OpenTrayMenu();
        ASSERT_NE(menu, nullptr) << hidden;
        CProgram::Key(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }, 3000)) << hidden;
    }
    EXPECT_TRUE(program.Running());
}

TEST_F(MainWindow, AutoCleanAtOneMinuteStartsARunByItself)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "Content", "11111100");
    SetString(HKEY_CURRENT_USER, kSettingKey, "Mode", "10001");
    SetString(HKEY_CURRENT_USER, kSettingKey, "HotKey", "12700");
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(Status(), "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n");
    EXPECT_EQ(Log(), "");
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }, 80000));
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GT(elapsed, 50000u);
    EXPECT_TRUE(Emptied("Temp"));
}

} // namespace

namespace {

using Shutdown = E2ETest;

TEST_F(Shutdown, ByeDuringALongRunStopsItAndEndsCleanly)
{
    std::string big = Folder("Temp") + "\\big";
    MakeDir(big);
    for (int d = 0; d < 20; ++d) {
        std::string sub = big + "\\d" + std::to_string(d);
        MakeDir(sub);
        for (int i = 0; i < 150; ++i)
            WriteFile(sub + "\\f" + std::to_string(i));
    }
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("Cleaning Temp...") != std::string::npos; }));
    ClickButton("Bye");
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    // It stopped inside Temp: later folders are untouched.
    EXPECT_FALSE(Emptied("Recent"));
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
}

TEST_F(Shutdown, EnterDuringALongRunStopsItAndEndsCleanly)
{
    std::string big = Folder("Temp") + "\\big";
    MakeDir(big);
    for (int i = 0; i < 2000; ++i)
        WriteFile(big + "\\f" + std::to_string(i));
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("Cleaning Temp...") != std::string::npos; }));
    CProgram::Key(VK_RETURN);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(Emptied("Recent"));
}

} // namespace
