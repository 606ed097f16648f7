// The settings sheet of the real program, driven with real mouse and keyboard
// input: opening it, moving between its pages, OK and Cancel, and what each
// leaves in the registry, the status pane, the timer and the hook.
#include "engine/Categories.h"
#include "tests/e2e/E2EFixture.h"

#include <algorithm>
#include <commctrl.h>
#include <vector>

namespace {

const int kCache = 1027, kInterval = 1006, kAuto = 1042, kEnableHotKey = 1051, kHotKeyControl = 1056;
const int kSetToDefault = 1069, kFolderBox = 1006, kAdd = 1061, kRemoveAll = 1064, kFolderList = 1065;

void KeyWith(WORD modifier, WORD vk)
{
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = modifier;
    in[1].ki.wVk = vk;
    in[2].ki.wVk = vk;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = modifier;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, in, sizeof(INPUT));
    PumpFor(100);
}

class SettingsSheet : public E2ETest {
protected:
    // Clicks "Set" and waits for the sheet.
    HWND OpenSheet()
    {
        ClickButton("Set");
        WaitFor(
            [&] {
                return (sheet = program.FindWindowOfProgram("#32770", "Setting")) && ::IsWindowVisible(sheet);
            },
            5000);
        PumpFor(200);
        return sheet;
    }
    // "CustomNumber", or -1 when it is missing or no 4-byte value.
    long CustomNumber() const
    {
        DWORD type = 0;
        std::string data;
        if (!ReadValue(HKEY_CURRENT_USER, kSettingKey, "CustomNumber", &type, &data) || type != REG_DWORD ||
            data.size() != 4)
            return -1;
        return *reinterpret_cast<const long*>(data.data());
    }
    bool SheetGone() const { return !::IsWindow(sheet) || !::IsWindowVisible(sheet); }
    HWND Page() const { return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    std::string PageName() const { return WindowText(Page()); }
    // Selects the page at index by clicking the first tab and then Right on
    // the tab control. (Wine's sheet does not take Ctrl+Tab.)
    void GoToPage(int index)
    {
        HWND tabs = ::FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr);
        RECT rc;
        ::GetWindowRect(tabs, &rc);
        CProgram::ClickScreen(POINT{rc.left + 15, rc.top + 9});
        PumpFor(200);
        for (int i = 0; i < index; ++i)
            CProgram::Key(VK_RIGHT);
        PumpFor(200);
    }
    void ClickControl(HWND hCtl) const
    {
        RECT rc;
        ::GetWindowRect(hCtl, &rc);
        CProgram::ClickScreen(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
        PumpFor(150);
    }
    void ClickItem(int id) const { ClickControl(::GetDlgItem(Page(), id)); }
    void ClickSheetButton(int id) const { ClickControl(::GetDlgItem(sheet, id)); }
    bool Checked(int id) const { return ::SendDlgItemMessageA(Page(), id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Replaces an edit control's text by typing.
    void TypeInto(int id, const std::string& text) const
    {
        ClickItem(id);
        CProgram::Key(VK_END);
        for (int i = 0; i < 40; ++i)
            CProgram::Key(VK_BACK);
        for (char c : text) {
            SHORT vk = ::VkKeyScanA(c);
            if (vk & 0x100)
                KeyWith(VK_SHIFT, LOBYTE(vk));
            else
                CProgram::Key(LOBYTE(vk));
        }
    }
    std::string ItemText(int id) const
    {
        char text[512] = "";
        ::GetDlgItemTextA(Page(), id, text, sizeof(text));
        return text;
    }
    // A message box of the program, or null once timeoutMs passed.
    HWND WaitBox(DWORD timeoutMs = 5000) const
    {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindMessageBox(program.ProcessId())) != nullptr; }, timeoutMs);
        return box;
    }
    // The text of the box that shows now; the box is closed with Enter.
    std::string DismissBox()
    {
        HWND box = WaitBox();
        if (!box)
            return "<no box>";
        std::string text = MessageBoxText(box);
        ::SetForegroundWindow(box);
        CProgram::Key(VK_RETURN);
        WaitFor([&] { return !::IsWindow(box); }, 3000);
        PumpFor(200);
        return text;
    }
    void Close(int button)
    {
        ClickSheetButton(button);
        EXPECT_TRUE(WaitFor([&] { return SheetGone(); }, 5000));
        PumpFor(300);
    }

    HWND sheet = nullptr;
};

TEST_F(SettingsSheet, SetOpensTheFourPagesOverADisabledMainWindow)
{
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_FALSE(::IsWindowEnabled(program.MainWindow()));
    // Centred over the main window, and the active window.
    RECT rcSheet, rcMain;
    ::GetWindowRect(sheet, &rcSheet);
    ::GetWindowRect(program.MainWindow(), &rcMain);
    EXPECT_LE(std::abs((rcSheet.left + rcSheet.right) - (rcMain.left + rcMain.right)), 2);
    EXPECT_LE(std::abs((rcSheet.top + rcSheet.bottom) - (rcMain.top + rcMain.bottom)), 2);
    EXPECT_EQ(::GetForegroundWindow(), sheet);
    HWND tabs = ::FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, 0x3021))) << "no Apply button";
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, IDHELP)));

    // A box per category, named as its row and set as at first start (every
    // category but Favorites and Folder You Defined); Tab takes them in the
    // order of their ids.
    EXPECT_EQ(PageName(), "Content");
    std::vector<int> ids;
    for (const CategoryRow& row : kCategories) {
        EXPECT_EQ(ItemText(row.box), row.name);
        EXPECT_EQ(Checked(row.box), row.byDefault == 1) << row.name;
        ids.push_back(row.box);
    }
    std::sort(ids.begin(), ids.end());
    for (size_t i = 1; i < ids.size(); ++i)
        EXPECT_EQ(::GetDlgCtrlID(::GetNextDlgTabItem(Page(), ::GetDlgItem(Page(), ids[i - 1]), FALSE)), ids[i]);
    GoToPage(1);
    EXPECT_EQ(PageName(), "Mode");
    EXPECT_EQ(ItemText(kInterval), "1");
    EXPECT_FALSE(Checked(kAuto));
    GoToPage(2);
    EXPECT_EQ(PageName(), "HotKey");
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kHotKeyControl, HKM_GETHOTKEY, 0, 0), VK_ESCAPE);
    EXPECT_TRUE(Checked(kEnableHotKey));
    GoToPage(3);
    EXPECT_EQ(PageName(), "Custom");

    // The Set button takes no click while the sheet is open.
    Close(IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; }, 3000));
    EXPECT_NE(OpenSheet(), nullptr) << "a second sheet after the first closed";
    Close(IDCANCEL);
}

TEST_F(SettingsSheet, OkAtOnceKeepsStatesToggledFromTheTray)
{
    ASSERT_TRUE(program.Start());
    ChooseFromTray(2); // "Auto ON"
    ChooseFromTray(5); // "HotKey OFF"
    ASSERT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: Off\r\n"; }));

    ASSERT_NE(OpenSheet(), nullptr);
    Close(IDOK);
    EXPECT_EQ(Setting("Content"), "11111100");
    EXPECT_EQ(Setting("Mode"), "10001");
    EXPECT_EQ(Setting("HotKey"), "02700");
    EXPECT_EQ(CustomNumber(), 0);
    EXPECT_EQ(Status(), "OS: Windows 2000\r\nMode: Auto   HotKey: Off\r\n");
    EXPECT_TRUE(::IsWindowEnabled(program.MainWindow()));
}

TEST_F(SettingsSheet, TrayChangesMadeWhileTheSheetIsOpenOutliveOkAndCancel)
{
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1); // the Mode page shows auto mode off
    ChooseFromTray(2); // "Auto ON"
    ASSERT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }));
    Close(IDOK);
    EXPECT_EQ(Setting("Mode"), "10001");
    EXPECT_EQ(Status(), "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n");

    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(2);
    ChooseFromTray(5); // "HotKey OFF"
    ASSERT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: Off\r\n"; }));
    Close(IDCANCEL);
    EXPECT_EQ(Setting("HotKey"), "02700");
    EXPECT_EQ(Setting("Mode"), "10001");
}

TEST_F(SettingsSheet, ExitFromTheTrayEndsTheOpenSheetAndThenTheProgram)
{
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    ClickItem(kAuto); // a change that the sheet's end discards
    HWND menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    CProgram::Key(VK_UP); // "Exit"
    CProgram::Key(VK_RETURN);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u) << "ended through exit, not by a fault";
    EXPECT_EQ(Setting("Mode"), "00001");
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
}

TEST_F(SettingsSheet, CancelKeepsAnUncheckedCategoryOn)
{
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    ClickItem(kCache);
    ASSERT_FALSE(Checked(kCache));
    Close(IDCANCEL);
    EXPECT_EQ(Setting("Content"), "11111100");

    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_TRUE(Checked(kCache)) << "the applied flag is still on";
    ClickItem(kCache);
    ClickItem(1029); // Favorites
    Close(IDOK);
    EXPECT_EQ(Setting("Content"), "01111110");
}

TEST_F(SettingsSheet, IntervalAndAutoAreCommittedByOk)
{
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    ClickItem(kAuto);
    TypeInto(kInterval, "30");
    Close(IDOK);
    EXPECT_EQ(Setting("Mode"), "10030");
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }));
}

TEST_F(SettingsSheet, StartWithWindowsWritesAndRemovesTheRunEntryAndShowsIt)
{
    const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const int kStartWithWindows = 1070;
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string exe = self;
    exe = exe.substr(0, exe.rfind('\\') + 1) + "Brightsweep.exe";
    // Another program's entry of that name is not this program's.
    SetString(HKEY_CURRENT_USER, kRun, "Brightsweep", "\"C:\\Other\\Brightsweep.exe\" /tray");
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    EXPECT_FALSE(Checked(kStartWithWindows));
    ClickItem(kStartWithWindows);
    Close(IDOK);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRun, "Brightsweep"), "\"" + exe + "\" /tray");
    EXPECT_EQ(Setting("StartWithWindows"), "<missing>");
    EXPECT_EQ(Setting("Mode"), "00001");

    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    EXPECT_TRUE(Checked(kStartWithWindows));
    ClickItem(kStartWithWindows);
    Close(IDOK);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRun, "Brightsweep"), "<missing>");
}

TEST_F(SettingsSheet, AnInvalidIntervalKeepsTheSheetOnTheModePageUntilCancel)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "Mode", "00045");
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    EXPECT_EQ(ItemText(kInterval), "45");
    TypeInto(kInterval, "0");
    GoToPage(0); // leaving the page for Content
    EXPECT_EQ(DismissBox(), "Please enter an integer between 1 and 2880.");
    EXPECT_EQ(PageName(), "Mode");
    TypeInto(kInterval, "12x");
    ClickSheetButton(IDOK);
    EXPECT_EQ(DismissBox(), "Please enter a positive integer.");
    EXPECT_FALSE(SheetGone());
    EXPECT_EQ(PageName(), "Mode");
    Close(IDCANCEL); // no refusal holds the sheet
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; }, 3000));
    EXPECT_EQ(FindMessageBox(program.ProcessId()), nullptr);
    EXPECT_EQ(Setting("Mode"), "00045");
}

TEST_F(SettingsSheet, ClearingEnableHotKeyRemovesTheHook)
{
    ScreenSaverListener listener;
    ASSERT_TRUE(program.Start());
    listener.Focus();
    CProgram::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return listener.Count() > 0; }, 3000)) << "the hook fires while on";

    ::SetForegroundWindow(program.MainWindow());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(2);
    ClickItem(kEnableHotKey);
    Close(IDOK);
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Normal   HotKey: Off\r\n"; }));
    EXPECT_EQ(Setting("HotKey"), "02700");
    int before = listener.Count(), escapes = listener.Escapes();
    listener.Focus();
    CProgram::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return listener.Escapes() > escapes; }, 3000)) << "the key went through";
    PumpFor(300);
    EXPECT_EQ(listener.Count(), before) << "the hook is gone";

    // Back on through the sheet: the hook is the main window's again, alive
    // after the sheet's thread ended.
    ::SetForegroundWindow(program.MainWindow());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(2);
    ClickItem(kEnableHotKey);
    Close(IDOK);
    PumpFor(500);
    listener.Focus();
    CProgram::Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return listener.Count() > before; }, 3000));
}

TEST_F(SettingsSheet, HotKeyPageShowsTheStoredKeyRefusesF5AndRestoresEsc)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "HotKey", "18117"); // Ctrl+Q
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(2);
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kHotKeyControl, HKM_GETHOTKEY, 0, 0),
              MAKEWORD('Q', HOTKEYF_CONTROL));

    ClickItem(kHotKeyControl);
    CProgram::Key(VK_F5);
    ASSERT_EQ(LOBYTE(::SendDlgItemMessageA(Page(), kHotKeyControl, HKM_GETHOTKEY, 0, 0)), VK_F5);
    ClickSheetButton(IDOK);
    EXPECT_EQ(DismissBox(), "Please choose another key: this key cannot be used as the hot key.");
    EXPECT_FALSE(SheetGone());
    EXPECT_EQ(PageName(), "HotKey");

    ClickItem(kSetToDefault);
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kHotKeyControl, HKM_GETHOTKEY, 0, 0), VK_ESCAPE);
    Close(IDOK);
    EXPECT_EQ(Setting("HotKey"), "12700");
}

TEST_F(SettingsSheet, CustomFolderChangesStayAfterCancel)
{
    MakeDir(Folder("Mine"));
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(3);
    ASSERT_EQ(PageName(), "Custom");
    TypeInto(kFolderBox, Folder("Mine"));
    ClickItem(kAdd);
    EXPECT_EQ(ItemText(kFolderBox), "");
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kFolderList, LB_GETCOUNT, 0, 0), 1);
    ClickItem(kAdd);
    EXPECT_EQ(DismissBox(), "You have added the folder.");
    Close(IDCANCEL);
    EXPECT_EQ(CustomNumber(), 1);
    EXPECT_EQ(Setting("Custom1"), Folder("Mine"));

    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(3);
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kFolderList, LB_GETCOUNT, 0, 0), 1);
    ClickItem(kRemoveAll);
    EXPECT_EQ(::SendDlgItemMessageA(Page(), kFolderList, LB_GETCOUNT, 0, 0), 0);
    Close(IDCANCEL);
    EXPECT_EQ(CustomNumber(), 0);
    EXPECT_EQ(Setting("Custom1"), "<missing>");
}

TEST_F(SettingsSheet, AutoCleanTimerStartedByOkRunsAfterTheSheetIsGone)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "Mode", "00005");
    ASSERT_TRUE(program.Start());
    ASSERT_NE(OpenSheet(), nullptr);
    GoToPage(1);
    ClickItem(kAuto);
    TypeInto(kInterval, "1");
    Close(IDOK);
    ASSERT_EQ(Setting("Mode"), "10001");
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }, 80000));
    EXPECT_GT(::GetTickCount() - start, 45000u);
    EXPECT_TRUE(Emptied("Temp"));
}

} // namespace
