// The about box and the help page, opened from the real program.
#include "tests/controls/OpenFixture.h"
#include "tests/e2e/E2EFixture.h"

namespace {

using AboutHelp = E2ETest;

POINT Centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

std::string OwnFolder()
{
    char self[MAX_PATH];
    std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of('\\'));
}

TEST_F(AboutHelp, AboutOpensTheBoxOverTheMainWindowAndEscapeOrOkCloseIt)
{
    ASSERT_TRUE(program.Start());
    for (WORD closeKey : {WORD(VK_ESCAPE), WORD(VK_RETURN)}) {
        ClickButton("About");
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            box = program.FindWindowOfProgram("#32770", "About Brightsweep");
            return box && ::IsWindowVisible(box);
        }));
        RECT rcBox, rcMain;
        ::GetWindowRect(box, &rcBox);
        ::GetWindowRect(program.MainWindow(), &rcMain);
        POINT b = Centre(rcBox), m = Centre(rcMain);
        EXPECT_LE(std::abs(b.x - m.x), 1);
        EXPECT_LE(std::abs(b.y - m.y), 1);
        EXPECT_FALSE(::IsWindowEnabled(program.MainWindow())); // modal over it
        bool version = false;
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            version = version || WindowText(c) == "Brightsweep Version 1.0";
        EXPECT_TRUE(version);
        EXPECT_EQ(WindowText(::GetDlgItem(box, 1059)), "http://www.brightsweep.example/");
        EXPECT_EQ(WindowText(::GetDlgItem(box, IDOK)), "OK");
        CProgram::Key(closeKey);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); })) << closeKey;
        EXPECT_TRUE(::IsWindowEnabled(program.MainWindow()));
    }
}

TEST_F(AboutHelp, TheAboutSystemCommandOpensTheBoxToo)
{
    ASSERT_TRUE(program.Start());
    ::PostMessageA(program.MainWindow(), WM_SYSCOMMAND, 0x0010, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = program.FindWindowOfProgram("#32770", "About Brightsweep")) != nullptr; }));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    // Other system commands (the hot key's screen saver among them) take the
    // default handling: the window stays as it is. The tray's "Auto ON" posted
    // after it shows when it was handled.
    ::PostMessageA(program.MainWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    ::PostMessageA(program.MainWindow(), WM_COMMAND, 32778, 0);
    EXPECT_TRUE(WaitFor([&] { return Status().find("Mode: Auto") != std::string::npos; }));
    EXPECT_TRUE(::IsWindowVisible(program.MainWindow()));
    EXPECT_EQ(program.FindWindowOfProgram("#32770", "About Brightsweep"), nullptr);
}

TEST_F(AboutHelp, HelpHandsTheHelpPageBelowTheCurrentDirectoryToTheShell)
{
    OpenRecord record("e2e-help");
    HtmClass htm(QuotedRecorderPath() + " \"%1\"");
    ASSERT_TRUE(program.Start());
    ClickButton("Help");
    std::string line = record.Wait();
    // The program runs in its own folder, P:\bin, where the build put the page.
    EXPECT_NE(line.find("P:\\bin\\help\\help.htm"), std::string::npos) << line;
}

TEST_F(AboutHelp, HelpStartedFromAnotherFolderOpensThePageBesideTheProgram)
{
    OpenRecord record("e2e-help-beside");
    HtmClass htm(QuotedRecorderPath() + " \"%1\"");
    ASSERT_TRUE(program.Start(20000, OwnFolder() + "\\Brightsweep.exe")); // from S:\current
    ClickButton("Help");
    EXPECT_EQ(record.Wait(), QuotedRecorderPath() + " \"" + OwnFolder() + "\\help\\help.htm\"");
}

TEST_F(AboutHelp, HelpWithoutAPageSaysWhyAndWhereItLooked)
{
    // The program alone in a folder of its own, started from another.
    const std::string alone = Folder("alone");
    MakeDir(alone);
    for (const char* file : {"Brightsweep.exe", "Keywatch.dll"})
        ASSERT_TRUE(::CopyFileA((OwnFolder() + "\\" + file).c_str(), (alone + "\\" + file).c_str(), FALSE));
    char cwd[MAX_PATH];
    const std::string here(cwd, ::GetCurrentDirectoryA(MAX_PATH, cwd));
    ASSERT_TRUE(program.Start(20000, alone + "\\Brightsweep.exe"));
    ClickButton("Help");
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId())) != nullptr; }));
    EXPECT_EQ(WindowText(box), "Brightsweep");
    EXPECT_EQ(MessageBoxText(box), "Unable to open hyperlink:\n\nThe specified file was not found.\n\n" + here +
                        "\\help\\help.htm\n" + alone + "\\help\\help.htm");
    CProgram::Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(program.Running());
}

} // namespace
