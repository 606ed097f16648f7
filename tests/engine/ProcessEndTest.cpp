// The engine's fatal paths end the whole process after a message box; these
// run them in a child program and answer its box.
#include "tests/engine/EngineFixture.h"

#include <fstream>
#include <sstream>

namespace {

struct Outcome {
    bool boxShown = false;
    std::string text;
    std::string caption;
    DWORD exitCode = 12345;
};

Outcome RunProbe(const std::string& args)
{
    Outcome out;
    DWORD pid = 0;
    HANDLE process = StartSibling("engine_probe.exe", args, &pid);
    if (!process)
        return out;
    HWND box = nullptr;
    PumpUntil([&] { return (box = FindMessageBox(pid)) != nullptr || ::WaitForSingleObject(process, 0) == 0; },
              20000);
    if (box) {
        out.boxShown = true;
        out.text = MessageBoxText(box);
        out.caption = WindowText(box);
        // The process waits for the answer: a while later it still runs, and
        // its box still answers.
        EXPECT_EQ(::WaitForSingleObject(process, 300), static_cast<DWORD>(WAIT_TIMEOUT));
        DWORD_PTR result = 0;
        EXPECT_TRUE(::SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    ::WaitForSingleObject(process, 20000);
    ::GetExitCodeProcess(process, &out.exitCode);
    ::CloseHandle(process);
    return out;
}

using ProcessEndTest = EngineTest;

TEST_F(ProcessEndTest, EachFatalCaseShowsItsTextThenEndsWithExitCodeZero)
{
    struct Case {
        const char* mode;
        const char* text;
    } cases[] = {
        {"kernel", "I'm sorry, A Kernal Error!"},
        {"win32s", "I'am sorry, Current windows3.1 can't be supported!"},
        {"platform3", "I'm sorry, Current your OS version can't be supported."},
        {"noshell", "I'am sorry, Can't Find Right Registry"},
    };
    for (const Case& c : cases) {
        Outcome out = RunProbe(c.mode);
        EXPECT_TRUE(out.boxShown) << c.mode;
        EXPECT_EQ(out.text, c.text) << c.mode;
        EXPECT_EQ(out.caption, "engine_probe") << c.mode;
        EXPECT_EQ(out.exitCode, 0u) << c.mode;
    }
}

// The real version query, under the Windows version Wine reports for the probe.
class ReportedVersionTest : public EngineTest {
protected:
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kAppKey); }
    std::string RunAs(const std::string& version, Outcome* outcome = nullptr)
    {
        SetString(HKEY_CURRENT_USER, kAppKey, "Version", version);
        std::string logFile = root + "\\probe-log.txt";
        ::DeleteFileA(logFile.c_str());
        Outcome out = RunProbe("run " + logFile);
        if (outcome)
            *outcome = out;
        std::ifstream in(logFile, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return in ? text.str() : "<no log>";
    }
    static constexpr const char* kAppKey = "Software\\Wine\\AppDefaults\\engine_probe.exe";
};

TEST_F(ReportedVersionTest, SupportedSystemsRunAndNtSixOrLaterDoesNothing)
{
    for (const char* version : {"win95", "win98", "winme", "nt40", "win2k"}) {
        WriteFile(Folder("Temp") + "\\again.txt");
        EXPECT_EQ(RunAs(version), "Begin cleaning...\r\nCleaning Temp...OK\r\nEnd cleaning...OK\r\n") << version;
        EXPECT_TRUE(Emptied("Temp")) << version;
    }
    WriteFile(Folder("Temp") + "\\stays.txt");
    for (const char* version : {"vista", "win7", "win10"}) {
        Outcome out;
        EXPECT_EQ(RunAs(version, &out), "") << version;
        EXPECT_FALSE(out.boxShown) << version;
        EXPECT_EQ(out.exitCode, 0u) << version;
        EXPECT_TRUE(Exists(Folder("Temp") + "\\stays.txt")) << version;
    }
}

// There GetTempPathA answers with the current directory when neither TMP nor
// TEMP is set.
TEST_F(ReportedVersionTest, WithoutTmpAndTempTheWindows95FamilyHasNoTemp)
{
    ::SetEnvironmentVariableA("TEMP", nullptr);
    ::SetEnvironmentVariableA("TMP", nullptr);
    EXPECT_EQ(RunAs("win98"), "Begin cleaning...\r\nEnd cleaning...OK\r\n");
    EXPECT_TRUE(Untouched("Temp"));
}

TEST_F(ReportedVersionTest, Windows31IsRefusedWithItsMessage)
{
    Outcome out;
    RunAs("win31", &out);
    EXPECT_TRUE(out.boxShown);
    EXPECT_EQ(out.text, "I'am sorry, Current windows3.1 can't be supported!");
    EXPECT_EQ(out.exitCode, 0u);
    EXPECT_TRUE(Untouched("Temp"));
}

} // namespace
