// The session's verbs against a view that records what it is told; the log is
// a real pane on this thread, so a run waits for this thread to pump.
#include "app/SweepSession.h"
#include "tests/engine/EngineFixture.h"

#include <vector>

namespace {

const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";
int g_installs = 0, g_removals = 0;
void Install()
{
    ++g_installs;
}
void Remove()
{
    ++g_removals;
}

struct FakeView : CSessionView {
    explicit FakeView(CLogEdit& pane) : pane(pane) {}
    CLogSink* RunLog() override { return &pane; }
    HWND RunDoneWindow() override { return nullptr; }
    void ClearLog() override
    {
        ++clears;
        ::SetWindowTextA(pane.m_hWnd, "");
    }
    void StatusChanged() override { ++statuses; }
    void TipChanged() override {}
    void SetAutoTimer(UINT periodMs) override { timers.push_back(periodMs); }

    CLogEdit& pane;
    int clears = 0, statuses = 0;
    std::vector<UINT> timers;
};

class SweepSessionTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0");
        g_installs = g_removals = 0;
        session.Load();
        session.Activate();
    }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0"); }
    bool RunToEnd() { return PumpUntil([&] { return !session.IsRunning(); }, 30000); }
    // The Mode page's "Clean when Windows shuts down or logs off", checked.
    void CleanAtSessionEnd()
    {
        CleanSettings sheet = session.Settings();
        sheet.StartSheet();
        sheet.pending.endSessionClean = 1;
        session.CommitSheet(true, sheet);
    }
    std::string Setting(const char* value) const { return ReadString(HKEY_CURRENT_USER, kSettingKey, value); }

    FakeView view{pane};
    CSweepSession session{view, Install, Remove};
};

TEST_F(SweepSessionTest, AStartWhileARunWorksIsIgnored)
{
    EXPECT_EQ(view.statuses, 1);
    EXPECT_EQ(g_installs, 1); // the hot key is on by default
    ASSERT_TRUE(session.StartClean());
    // The worker waits for this thread to take its first line.
    EXPECT_TRUE(session.IsRunning());
    EXPECT_FALSE(session.StartClean());
    EXPECT_EQ(view.clears, 1);
    ASSERT_TRUE(RunToEnd());
    std::string log = Log();
    EXPECT_EQ(log.rfind("Begin cleaning..."), 0u) << log; // one run only
    EXPECT_EQ(log.substr(log.size() - 19), "End cleaning...OK\r\n");
    EXPECT_TRUE(Emptied("Temp"));
    EXPECT_TRUE(session.StartClean()); // once it ended, a start is taken
    ASSERT_TRUE(RunToEnd());
}

TEST_F(SweepSessionTest, AutoSavesShowsAndSchedulesAndItsTickStartsARun)
{
    EXPECT_TRUE(view.timers.empty());
    session.SetAuto(1);
    EXPECT_EQ(Setting("Mode"), "10001");
    EXPECT_EQ(session.ModeText(), "Mode: Auto");
    EXPECT_EQ(view.statuses, 2);
    EXPECT_EQ(view.timers, std::vector<UINT>{60000});

    session.OnAutoTick();
    EXPECT_TRUE(session.IsRunning());
    ASSERT_TRUE(RunToEnd());
    EXPECT_TRUE(Emptied("Temp"));

    session.SetAuto(0);
    session.SetAuto(0); // no timer to stop
    EXPECT_EQ(Setting("Mode"), "00001");
    EXPECT_EQ(view.timers, (std::vector<UINT>{60000, 0}));
}

TEST_F(SweepSessionTest, TheSheetsOkPutsItsChangesInForceAndCancelKeepsOnlyTheFolders)
{
    CleanSettings sheet = session.Settings();
    sheet.StartSheet();
    sheet.pending.cleanCache = 0;
    sheet.pending.cleanCustomFolders = 1;
    sheet.pending.hotKeyEnabled = 0;
    sheet.customFolders.Append(Folder("Custom1"));
    session.SetAuto(1); // from the tray while the sheet is open
    session.CommitSheet(true, sheet);
    EXPECT_EQ(Setting("Content"), "01111101");
    EXPECT_EQ(Setting("Mode"), "10001");
    EXPECT_EQ(Setting("HotKey"), "02700");
    EXPECT_EQ(g_removals, 1);
    EXPECT_EQ(view.timers, (std::vector<UINT>{60000, 60000}));
    ASSERT_TRUE(session.StartClean());
    ASSERT_TRUE(RunToEnd());
    EXPECT_TRUE(Untouched("Cache"));
    EXPECT_TRUE(Emptied("Custom1"));

    CleanSettings cancelled = session.Settings();
    cancelled.StartSheet();
    cancelled.pending.cleanCache = 1;
    cancelled.customFolders.Append(Folder("Custom2"));
    session.CommitSheet(false, cancelled);
    EXPECT_EQ(Setting("Content"), "01111101");
    EXPECT_EQ(Setting("Custom2"), Folder("Custom2"));
}

TEST_F(SweepSessionTest, ShutdownDuringARunStopsItRemovesTheHookAndRefusesLaterStarts)
{
    ASSERT_TRUE(session.StartClean());
    session.Shutdown(); // pumps: the run goes on to its first stop check
    EXPECT_FALSE(session.IsRunning());
    EXPECT_EQ(g_removals, 1);
    EXPECT_EQ(Log().find("End cleaning"), std::string::npos) << Log();
    EXPECT_TRUE(Untouched("Recent"));
    EXPECT_FALSE(session.StartClean());
    session.SetHotKey(1); // the switch is saved, the hook stays out
    EXPECT_EQ(g_installs, 1);
}

TEST_F(SweepSessionTest, TheWayOutBeginsOnceAndThenNothingStartsNotEvenTheSessionEndsClean)
{
    EXPECT_FALSE(session.CleanForSessionEnd()); // the box is off
    CleanAtSessionEnd();
    EXPECT_TRUE(session.CleansAtSessionEnd());

    EXPECT_TRUE(session.BeginShutdown());
    EXPECT_FALSE(session.BeginShutdown());
    EXPECT_FALSE(session.StartClean());
    EXPECT_FALSE(session.CleanForSessionEnd());
    EXPECT_EQ(view.clears, 0);
    EXPECT_TRUE(Untouched("Temp"));
}

// Windows ends the session during a preview: the preview stops and the
// clean still runs.
TEST_F(SweepSessionTest, ThePreviewGivesWayToTheCleanAtTheSessionsEnd)
{
    for (int i = 0; i < 1500; ++i)
        WriteFile(Folder("Temp") + "\\f" + std::to_string(i));
    CleanAtSessionEnd();
    ASSERT_TRUE(session.StartPreview());
    EXPECT_FALSE(session.StartClean());
    EXPECT_TRUE(session.CleanForSessionEnd());
    EXPECT_EQ(Log().rfind("Begin cleaning...\r\n", 0), 0u) << Log();
    EXPECT_TRUE(Emptied("Temp"));
}

} // namespace
