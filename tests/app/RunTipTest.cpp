#include "app/RunTip.h"

#include <gtest/gtest.h>

namespace {

const LCID kEnglishUk = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), SORT_DEFAULT);
const LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

SYSTEMTIME At(WORD hour, WORD minute)
{
    SYSTEMTIME t = {};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;
    t.wHour = hour;
    t.wMinute = minute;
    return t;
}

TEST(RunTipTest, TheRunInTheUsersLocaleWithTheNextCleanWhileAutoIsOn)
{
    const SYSTEMTIME at = At(14, 2);
    const SYSTEMTIME next = AddMinutes(At(23, 50), 42); // past midnight
    EXPECT_EQ(next.wDay, 10);
    EXPECT_EQ(FormatRunTip(kEnglishUk, at, 1234, 5872026, nullptr), "Cleaned 14:02: 1,234 files, 5.6 MB");
    EXPECT_EQ(FormatRunTip(kEnglishUk, at, 1234, 5872026, &next), "Cleaned 14:02: 1,234 files, 5.6 MB; next 00:32");
    EXPECT_EQ(FormatRunTip(kEnglishUk, at, 1, 1, nullptr), "Cleaned 14:02: 1 file, 1 byte");
    EXPECT_EQ(FormatRunTip(kEnglishUk, at, 0, 1023, nullptr), "Cleaned 14:02: 0 files, 1,023 bytes");
    EXPECT_EQ(FormatRunTip(kGerman, at, 1234567, 1536, nullptr), "Cleaned 14:02: 1.234.567 files, 1,5 KB");
}

TEST(RunTipTest, LongNumbersKeepTheTipWithinSixtyThreeCharacters)
{
    const SYSTEMTIME at = At(14, 2);
    const ULONGLONG most = ~0ull;
    EXPECT_EQ(DecimalDigits(most), "18446744073709551615");
    const std::string tip = FormatRunTip(kEnglishUk, at, most, most, &at);
    EXPECT_EQ(tip, "14:02: 18,446,744,073,709,551,615 files, 16,777,216.0 TB");
    EXPECT_LE(FormatRunTip(kEnglishUk, at, 123456789012ull, 1ull << 50, &at).size(), 63u);
    EXPECT_EQ(FormatRunTip(kEnglishUk, at, 12345678, 3ull << 40, &at),
              "Cleaned 14:02: 12,345,678 files, 3.0 TB; next 14:02");
}

} // namespace
