// Brightsweep.exe /clean [/log FILE] as a scheduler or a batch file starts it:
// its exit codes, its log file, nothing on screen, and its turn after another
// process's run.
#include "app/CleanRunner.h"
#include "tests/e2e/E2EFixture.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace {

const char kDefaultRun[] = "Begin cleaning...\r\nCleaning Temp...OK\r\nCleaning Cache...OK\r\nCleaning Cookies...OK\r\n"
                           "Cleaning History...OK\r\nCleaning TypedURLs...OK\r\nCleaning Recent...OK\r\n"
                           "End cleaning...OK\r\n";

BOOL CALLBACK FindShown(HWND hWnd, LPARAM lp)
{
    auto* pidAndFound = reinterpret_cast<DWORD*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != pidAndFound[0] || !::IsWindowVisible(hWnd))
        return TRUE;
    pidAndFound[1] = 1;
    return FALSE;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CleanSwitch : public E2ETest {
protected:
    void Launch(const std::string& args)
    {
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
        m_hProcess = StartSibling("Brightsweep.exe", args, &m_pid);
    }
    void TearDown() override
    {
        if (m_hProcess && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_hProcess, 99);
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
        E2ETest::TearDown();
    }
    bool Running() const { return ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code; 999 when it did not end in time. Notes meanwhile whether
    // the process showed a window or the tray icon.
    DWORD Finish(DWORD timeoutMs = 60000)
    {
        bool ended = WaitFor(
            [&] {
                DWORD pidAndFound[2] = {m_pid, 0};
                ::EnumWindows(FindShown, reinterpret_cast<LPARAM>(pidAndFound));
                m_bShown = m_bShown || pidAndFound[1] || TrayIconShown();
                return !Running();
            },
            timeoutMs);
        DWORD code = 999;
        if (ended)
            ::GetExitCodeProcess(m_hProcess, &code);
        return code;
    }
    std::string CurrentDir() const
    {
        char dir[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, dir);
        return dir;
    }

    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
    bool m_bShown = false;
};

TEST_F(CleanSwitch, AllRemovedIsZeroWithNothingOnScreenAndTheRunAppendedToTheLog)
{
    ASSERT_NE(CurrentDir().size(), 3u) << "not a drive root";
    const std::string log = CurrentDir() + "\\clean e2e.log";
    WriteFile(log, "an earlier line\r\n");
    Launch("/CLEAN -log \"clean e2e.log\"");
    ASSERT_NE(m_hProcess, nullptr);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_FALSE(m_bShown);
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_TRUE(Emptied(f)) << f;
    EXPECT_FALSE(Emptied("Favorites"));
    std::string text = ReadAll(log);
    EXPECT_TRUE(std::regex_match(text, std::regex("an earlier line\r\n"
                                                  "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n" +
                                                  std::string(kDefaultRun))))
        << text;
    ::DeleteFileA(log.c_str());
}

TEST_F(CleanSwitch, PreviewIsZeroLogsWhatTheRunWouldRemoveAndRemovesNothing)
{
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs");
    const std::string log = root + "\\preview.log";
    Launch("/preview /log \"" + log + "\"");
    EXPECT_EQ(Finish(), 0u);
    EXPECT_FALSE(m_bShown);
    EXPECT_TRUE(std::regex_match(ReadAll(log), std::regex("[-0-9]+ [:0-9]+\r\nBegin preview...\r\n"
                                                          "Temp...2 files, 2 bytes\r\nCache...2 files, 2 bytes\r\n"
                                                          "Cookies...2 files, 2 bytes\r\nHistory...2 files, 2 "
                                                          "bytes and the browser's history list\r\n"
                                                          "TypedURLs...0 addresses\r\nRecent...2 files, 2 bytes\r\n"
                                                          "End preview...10 files, 10 bytes in all\r\n")))
        << ReadAll(log);
    Launch("/preview /clean");
    EXPECT_EQ(Finish(), 3u);
    EXPECT_FALSE(m_bShown);
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_FALSE(Emptied(f)) << f;
}

TEST_F(CleanSwitch, SomethingThatStaysIsOne)
{
    const std::string stays = Folder("Temp") + "\\stays.txt";
    WriteFile(stays);
    ::SetFileAttributesA(stays.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string log = root + "\\run.log";
    Launch("/clean /log " + log);
    EXPECT_EQ(Finish(), 1u);
    EXPECT_NE(ReadAll(log).find("Cleaning Temp...1 left: 1 read-only\r\nCleaning Cache...OK"), std::string::npos)
        << ReadAll(log);
    EXPECT_TRUE(Emptied("Cache"));
    ::SetFileAttributesA(stays.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CleanSwitch, NoRunIsTwoAndRemovesNothing)
{
    Launch("/clean /log \"" + root + "\\no such folder\\run.log\"");
    EXPECT_EQ(Finish(), 2u);
    // Systems the run refuses, as Wine reports them to the program: the
    // refusal's text goes to the log, not to a box.
    const char kAppKey[] = "Software\\Wine\\AppDefaults\\Brightsweep.exe";
    const std::string log = root + "\\run.log";
    for (const char* version : {"win31", "win7"}) {
        SetString(HKEY_CURRENT_USER, kAppKey, "Version", version);
        Launch("/clean /log " + log);
        EXPECT_EQ(Finish(), 2u) << version;
    }
    DeleteKeyTree(HKEY_CURRENT_USER, kAppKey);
    EXPECT_TRUE(std::regex_match(ReadAll(log), std::regex("[-0-9]+ [:0-9]+\r\n"
                                                          "I'am sorry, Current windows3.1 can't be supported!\r\n")))
        << ReadAll(log);
    EXPECT_FALSE(m_bShown);
    EXPECT_FALSE(Emptied("Temp"));
}

TEST_F(CleanSwitch, AnUnknownSwitchIsThreeAndOnlyWithoutCleanShowsTheUsage)
{
    Launch("/clean /bogus");
    EXPECT_EQ(Finish(), 3u);
    EXPECT_FALSE(m_bShown);
    for (const char* args : {"/bogus", "-?"}) {
        Launch(args);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(m_pid)) != nullptr; })) << args;
        EXPECT_EQ(MessageBoxText(box).rfind("Usage: Brightsweep [/tray] [/clean [/log FILE]]", 0), 0u) << args;
        ::SetForegroundWindow(box);
        PumpFor(200);
        CProgram::Key(VK_RETURN);
        EXPECT_EQ(Finish(10000), args[1] == '?' ? 0u : 3u) << args;
    }
    EXPECT_FALSE(Emptied("Temp"));
}

// The test holds the clean-run mutex as another copy's run would: /clean
// and the window's Start both wait for it, and the window goes on answering.
TEST_F(CleanSwitch, ARunWaitsForAnotherProcesssRun)
{
    HANDLE other = ::CreateMutexA(nullptr, TRUE, kCleanRunMutex);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    Launch("/clean");
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    PumpFor(1500);
    EXPECT_TRUE(Running());
    EXPECT_FALSE(Emptied("Temp"));
    EXPECT_EQ(Log(), "");
    ClickButton("Auto");
    EXPECT_TRUE(WaitFor([&] { return Status() == "OS: Windows 2000\r\nMode: Auto   HotKey: On\r\n"; }, 3000));

    ::ReleaseMutex(other);
    ::CloseHandle(other);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(Emptied("Temp"));
    EXPECT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK\r\n") != std::string::npos; }, 60000)) << Log();
}

} // namespace
