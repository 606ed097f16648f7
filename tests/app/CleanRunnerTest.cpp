#include "app/CleanRunner.h"
#include "tests/engine/EngineFixture.h"

namespace {

using CleanRunnerTest = EngineTest;

TEST_F(CleanRunnerTest, ARunOnAWorkerWritesThroughThisThreadAndASecondStartIsIgnored)
{
    auto t = MakeTable();
    EnableDefaults(*t);
    CCleanRunner runner;
    ASSERT_TRUE(runner.Start(*t, &pane));
    // The worker now waits for this thread to take its first line.
    EXPECT_TRUE(runner.IsRunning());
    EXPECT_FALSE(runner.Start(*t, &pane));
    ASSERT_TRUE(PumpUntil([&] { return !runner.IsRunning(); }));
    std::string log = Log();
    EXPECT_EQ(log.rfind("Begin cleaning..."), 0u); // one run only
    EXPECT_EQ(log.substr(log.size() - 19), "End cleaning...OK\r\n");
    EXPECT_TRUE(Emptied("Temp"));

    // Once it ended, a new start is accepted.
    ASSERT_TRUE(runner.Start(*t, &pane));
    ASSERT_TRUE(PumpUntil([&] { return !runner.IsRunning(); }));
}

// The end of a run reaches the window named with its counts, by message.
TEST_F(CleanRunnerTest, TheRunsCountsArriveByMessage)
{
    WriteFile(Folder("Temp") + "\\big.dat", std::string(5000, 'z'));
    auto t = MakeTable();
    t->SetEnabled(Category::Temp, TRUE);
    t->SetEnabled(Category::Recent, TRUE);
    CCleanRunner runner;
    ASSERT_TRUE(runner.Start(*t, &pane, host.hWnd));
    WalkTally* tally = nullptr;
    const DWORD end = ::GetTickCount() + 10000;
    MSG msg;
    while (!tally && ::GetTickCount() < end) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        } else if (msg.message == WM_CLEAN_RUN_DONE) {
            EXPECT_EQ(msg.hwnd, host.hWnd);
            tally = reinterpret_cast<WalkTally*>(msg.lParam);
        } else {
            ::DispatchMessageA(&msg);
        }
    }
    ASSERT_NE(tally, nullptr);
    EXPECT_EQ(tally->files, 5u); // Temp's three, Recent's two
    EXPECT_EQ(tally->folders, 2u);
    EXPECT_EQ(tally->bytes, 5004u);
    EXPECT_EQ(tally->Left(), 0u);
    delete tally;
}

// What the owner changes after the start (a settings commit, a folder added)
// reaches the next run, never the running one.
TEST_F(CleanRunnerTest, ARunWorksOnTheTableAsItWasAtItsStart)
{
    auto t = MakeTable();
    t->SetEnabled(Category::Temp, TRUE);
    PaneSpy spy;
    pane.UnsubclassWindow();
    ASSERT_TRUE(spy.SubclassWindow(host.hEdit));
    spy.onText = [&](const std::string& text) {
        if (text.find("Cleaning Temp...") == std::string::npos || t->Enabled(Category::Favorites))
            return;
        t->SetEnabled(Category::Temp, FALSE);
        t->SetEnabled(Category::Favorites, TRUE);
        t->SetEnabled(Category::Custom, TRUE);
        t->SetCustomFolders({Folder("Custom1")});
    };
    CCleanRunner runner;
    ASSERT_TRUE(runner.Start(*t, &spy));
    ASSERT_TRUE(PumpUntil([&] { return !runner.IsRunning(); }));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...OK\r\nEnd cleaning...OK\r\n");
    EXPECT_TRUE(Emptied("Temp"));
    EXPECT_TRUE(Untouched("Favorites"));
    EXPECT_TRUE(Untouched("Custom1"));

    ::SetWindowTextA(host.hEdit, "");
    ASSERT_TRUE(runner.Start(*t, &spy));
    ASSERT_TRUE(PumpUntil([&] { return !runner.IsRunning(); }));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Favorites...OK\r\nCleaning Custom...OK\r\nEnd cleaning...OK\r\n");
    EXPECT_TRUE(Emptied("Favorites"));
    EXPECT_TRUE(Emptied("Custom1"));
}

TEST_F(CleanRunnerTest, StoppingWaitsForTheWorkerWhilePumpingAndRefusesLaterRuns)
{
    std::string big = Folder("Temp") + "\\big";
    MakeDir(big);
    for (int i = 0; i < 300; ++i)
        WriteFile(big + "\\f" + std::to_string(i));
    auto t = MakeTable();
    EnableDefaults(*t);
    PaneSpy spy;
    pane.UnsubclassWindow();
    ASSERT_TRUE(spy.SubclassWindow(host.hEdit));
    auto runner = std::make_unique<CCleanRunner>();
    bool reached = false;
    spy.onText = [&](const std::string& text) {
        // The worker waits for this append: nothing of Temp is deleted yet.
        if (!reached && text.find("Cleaning Temp...") != std::string::npos) {
            reached = true;
            runner->RequestStop();
        }
    };
    ASSERT_TRUE(runner->Start(*t, &spy));
    ASSERT_TRUE(PumpUntil([&] { return reached; }));
    runner->StopAndWait();
    EXPECT_FALSE(runner->IsRunning());
    EXPECT_FALSE(runner->Start(*t, &spy));
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...OK\r\n");
    EXPECT_EQ(ListDir(big).size(), 300u);
    t.reset();
    runner.reset();
}

} // namespace
