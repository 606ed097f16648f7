// The command line of a run without a window, and its exit code.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ArgumentsSplitAsTheRuntimeSplitsThem)
{
    EXPECT_EQ(SplitArguments("  /clean\t/log  \"C:\\My Logs\\a b.log\" "),
              (std::vector<std::string>{"/clean", "/log", "C:\\My Logs\\a b.log"}));
    EXPECT_EQ(SplitArguments("a\\\\\"b c\" d\\\"e f\\g"), (std::vector<std::string>{"a\\b c", "d\"e", "f\\g"}));
    EXPECT_TRUE(SplitArguments("").empty());
}

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDash)
{
    LaunchRequest r = ParseCommandLine("-CLEAN /Log \"S:\\x y\\clean.log\"");
    EXPECT_EQ(r.mode, LaunchMode::Clean);
    EXPECT_EQ(r.logFile, "S:\\x y\\clean.log");
    EXPECT_EQ(ParseCommandLine("/clean").logFile, "");
    EXPECT_EQ(ParseCommandLine("/preview /log p.log").logFile, "p.log");
    EXPECT_EQ(ParseCommandLine("").mode, LaunchMode::Window);

    struct Case {
        const char* line;
        LaunchMode mode;
        int exitCode;
    };
    for (Case c : {Case{"/?", LaunchMode::Usage, 0}, Case{"/clean -?", LaunchMode::Usage, 0},
                   Case{"/bogus", LaunchMode::Usage, 3}, Case{"word", LaunchMode::Usage, 3},
                   Case{"/log a.log", LaunchMode::Usage, 3}, Case{"/clean /bogus", LaunchMode::Refuse, 3},
                   Case{"/clean /log", LaunchMode::Refuse, 3}, Case{"/clean /log a /log b", LaunchMode::Refuse, 3},
                   Case{"/clean extra", LaunchMode::Refuse, 3}, Case{"/", LaunchMode::Usage, 3},
                   Case{"/preview /clean", LaunchMode::Refuse, 3}, Case{"-Preview /bogus", LaunchMode::Refuse, 3},
                   Case{"/tray /preview", LaunchMode::Preview, 0}}) {
        LaunchRequest r = ParseCommandLine(c.line);
        EXPECT_EQ(r.mode, c.mode) << c.line;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.line;
    }
}

TEST(CommandLine, TrayHidesTheWindowAndGivesWayToClean)
{
    LaunchRequest r = ParseCommandLine("-Tray");
    EXPECT_EQ(r.mode, LaunchMode::Window);
    EXPECT_TRUE(r.tray);
    EXPECT_FALSE(ParseCommandLine("").tray);
    r = ParseCommandLine("/tray /clean /log a.log");
    EXPECT_EQ(r.mode, LaunchMode::Clean);
    EXPECT_EQ(r.logFile, "a.log");
    EXPECT_FALSE(r.tray);
    EXPECT_EQ(ParseCommandLine("/tray /log a.log").mode, LaunchMode::Usage);
    EXPECT_EQ(ParseCommandLine("/trayx").mode, LaunchMode::Usage);
}

TEST(CommandLine, ExitCodeIsZeroOnlyWhenEveryLineEndedInOk)
{
    EXPECT_EQ(CleanExitCode("Begin cleaning...\r\nCleaning Temp...OK\r\nEnd cleaning...OK\r\n"), 0);
    EXPECT_EQ(CleanExitCode("Begin cleaning...\r\nEnd cleaning...OK\r\n"), 0);
    EXPECT_EQ(CleanExitCode("Begin cleaning...\r\nCleaning Temp...1 left: 1 read-only\r\n"
                            "Cleaning Cache...OK\r\nEnd cleaning...OK\r\n"),
              1);
    EXPECT_EQ(CleanExitCode("Begin cleaning...\r\nCleaning Temp...OK\r\n"), 1); // stopped
    EXPECT_EQ(CleanExitCode(""), 1);
}

} // namespace
