// Windows ending the session, as `wineboot --end-session` plays it: the
// program cleans and ends when asked to, and is left alone otherwise.
#include "tests/e2e/E2EFixture.h"

namespace {

// Sends WM_QUERYENDSESSION and WM_ENDSESSION to every top-level window.
bool EndSession()
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    char command[] = "wineboot.exe --end-session";
    if (!::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    bool ended = WaitFor([&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return ended;
}

using SessionEnd = E2ETest;

TEST_F(SessionEnd, WithTheBoxSetTempIsEmptiedAndTheProgramEndsWithoutItsIcon)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "Content", "00000100"); // Temp alone
    SetString(HKEY_CURRENT_USER, kSettingKey, "EndSessionClean", "1");
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return TrayIconShown(); }, 3000));
    ASSERT_TRUE(EndSession());
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(Emptied("Temp"));
    EXPECT_FALSE(Emptied("Cache"));
    EXPECT_TRUE(WaitFor([&] { return !TrayIconShown(); }, 5000));
    EXPECT_EQ(Setting("EndSessionClean"), "1");
}

TEST_F(SessionEnd, WithTheBoxOffTempKeepsItsFiles)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "EndSessionClean", "0");
    // Wine then ends the process without its way out: no hook may be left
    // behind for the tests that follow.
    SetString(HKEY_CURRENT_USER, kSettingKey, "HotKey", "02700");
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(EndSession());
    PumpFor(1000);
    EXPECT_FALSE(Emptied("Temp"));
}

} // namespace
