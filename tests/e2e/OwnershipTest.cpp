// The main window's thread owns the settings: what the sheet's OK hands over,
// what a tray command changes and what a clean run works on never interleave.
#include "tests/e2e/E2EFixture.h"

#include <commctrl.h>

#include <initializer_list>

namespace {

const int kCache = 1027, kRecent = 1031;
const WPARAM kHotKeyOff = 32775, kAutoOn = 32778;

class Ownership : public E2ETest {
protected:
    static void ClickCentre(HWND hWnd)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        CProgram::ClickScreen(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }
    // "Set", then a click on each of the Content page's boxes given.
    HWND OpenSheetAndClick(std::initializer_list<int> boxes)
    {
        ClickButton("Set");
        HWND sheet = nullptr;
        WaitFor([&] { return (sheet = program.FindWindowOfProgram("#32770", "Setting")) && ::IsWindowVisible(sheet); },
                5000);
        PumpFor(200);
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        for (int id : boxes) {
            ClickCentre(::GetDlgItem(page, id));
            PumpFor(150);
        }
        return sheet;
    }
    // "Start" over an empty log: the log of that run.
    std::string RunOnce()
    {
        ClickButton("Start");
        WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }, 60000);
        return Log();
    }
};

TEST_F(Ownership, TrayCommandsAroundTheSheetsOkAllTakeEffect)
{
    ASSERT_TRUE(program.Start());
    HWND sheet = OpenSheetAndClick({kCache});
    ASSERT_NE(sheet, nullptr);
    // The tray menu's commands as the menu sends them, around the real click
    // on OK: they reach the main window while the sheet hands its values over.
    ::PostMessageA(program.MainWindow(), WM_COMMAND, kHotKeyOff, 0);
    ClickCentre(::GetDlgItem(sheet, IDOK));
    ::PostMessageA(program.MainWindow(), WM_COMMAND, kAutoOn, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(sheet); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: Off\r\n"; }));
    EXPECT_EQ(Setting("Content"), "01111100");
    EXPECT_EQ(Setting("Mode"), "10001");
    EXPECT_EQ(Setting("HotKey"), "02700");
}

TEST_F(Ownership, ARunStartedAsTheSheetClosesSeesAllOrNoneOfItsChanges)
{
    ASSERT_TRUE(program.Start());
    HWND sheet = OpenSheetAndClick({kCache, kRecent});
    ASSERT_NE(sheet, nullptr);
    ClickCentre(::GetDlgItem(sheet, IDOK));
    // The window takes clicks again once the sheet is gone: Start at once.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; }, 5000));
    std::string log = RunOnce();
    ASSERT_NE(log.find("End cleaning...OK"), std::string::npos) << log;
    EXPECT_EQ(log.find("Cleaning Cache...") == std::string::npos, log.find("Cleaning Recent...") == std::string::npos)
        << log;

    ClickButton("Clear");
    ASSERT_TRUE(WaitFor([&] { return Log().empty(); }));
    log = RunOnce();
    EXPECT_EQ(log.find("Cleaning Cache..."), std::string::npos) << log;
    EXPECT_EQ(log.find("Cleaning Recent..."), std::string::npos) << log;
    EXPECT_NE(log.find("Cleaning Temp...OK"), std::string::npos) << log;
}

} // namespace
