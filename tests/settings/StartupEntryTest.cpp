// Which Run key commands start this program.
#include "settings/StartupEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupEntry, TheCommandNamesTheProgramInQuotesAndOnlyThatFileCounts)
{
    const std::string exe = "C:\\Program Files\\Bright Sweep\\Brightsweep.exe";
    EXPECT_EQ(StartupCommand(exe), "\"C:\\Program Files\\Bright Sweep\\Brightsweep.exe\" /tray");
    EXPECT_TRUE(CommandStartsProgram(StartupCommand(exe), exe));
    EXPECT_TRUE(CommandStartsProgram("  \"c:\\program files\\bright sweep\\BRIGHTSWEEP.EXE\"", exe));
    EXPECT_TRUE(CommandStartsProgram("C:\\Tools\\Brightsweep.exe /tray", "C:\\Tools\\Brightsweep.exe"));
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Other\\Brightsweep.exe\" /tray", exe));
    EXPECT_FALSE(CommandStartsProgram("C:\\Program Files\\Bright Sweep\\Brightsweep.exe /tray", exe));
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Program Files\\Bright Sweep\\Brightsweep.exe", exe));
    EXPECT_FALSE(CommandStartsProgram("", exe));
    EXPECT_FALSE(CommandStartsProgram("\"\" /tray", ""));
}

} // namespace
