#include "settings/ValueFormats.h"

#include <gtest/gtest.h>

TEST(ValueFormats, DecimalReadsLikeAtoiWithinItsSlice)
{
    EXPECT_EQ(ParseDecimal("0030", 4), 30);
    EXPECT_EQ(ParseDecimal("2880", 4), 2880);
    EXPECT_EQ(ParseDecimal(" 7ab", 4), 7);
    EXPECT_EQ(ParseDecimal("-012", 4), -12);
    EXPECT_EQ(ParseDecimal("+9", 2), 9);
    EXPECT_EQ(ParseDecimal("x1", 2), 0);
    EXPECT_EQ(ParseDecimal("  ", 2), 0);
    EXPECT_EQ(ParseDecimal("12345", 2), 12); // stops at the slice's end
}

TEST(ValueFormats, ContentIsEightFlagsWhereOnlyZeroIsOff)
{
    int flags[kCategoryCount];
    ASSERT_TRUE(ParseContent("x0000000", flags));
    EXPECT_EQ(flags[0], 1);
    for (int i = 1; i < kCategoryCount; ++i)
        EXPECT_EQ(flags[i], 0);
    EXPECT_FALSE(ParseContent("1111110", flags));
    EXPECT_FALSE(ParseContent("111111000", flags));
    EXPECT_FALSE(ParseContent("", flags));
    ASSERT_TRUE(ParseContent("11111100", flags));
    EXPECT_EQ(FormatContent(flags), "11111100");
    int odd[kCategoryCount] = {5, 0, -1, 0, 1, 0, 0, 2};
    EXPECT_EQ(FormatContent(odd), "10101001");
}

TEST(ValueFormats, ModeRoundTripsTheFlagAndAFourDigitInterval)
{
    ModeValue mode;
    ASSERT_TRUE(ParseMode("00090", &mode));
    EXPECT_EQ(mode.autoClean, 0);
    EXPECT_EQ(mode.minutes, 90);
    EXPECT_EQ(FormatMode(mode.autoClean, mode.minutes), "00090");
    ASSERT_TRUE(ParseMode("10030", &mode));
    EXPECT_EQ(mode.autoClean, 1);
    EXPECT_EQ(mode.minutes, 30);
    EXPECT_EQ(FormatMode(1, 7), "10007");
    EXPECT_EQ(FormatMode(0, 2880), "02880");
    EXPECT_EQ(FormatMode(5, 1), "10001");
    ASSERT_TRUE(ParseMode("1abcd", &mode));
    EXPECT_EQ(mode.minutes, 0);
    EXPECT_FALSE(ParseMode("1003", &mode));
    EXPECT_FALSE(ParseMode("100300", &mode));
}

TEST(ValueFormats, HotKeyRoundTripsTwoDigitCodes)
{
    HotKeyValue key;
    ASSERT_TRUE(ParseHotKey("11816", &key));
    EXPECT_EQ(key.enabled, 1);
    EXPECT_EQ(key.keyCode, 18);
    EXPECT_EQ(key.modifier, 16);
    EXPECT_EQ(FormatHotKey(key.enabled, key.keyCode, key.modifier), "11816");
    ASSERT_TRUE(ParseHotKey("08818", &key));
    EXPECT_EQ(key.enabled, 0);
    EXPECT_EQ(key.keyCode, 88);
    EXPECT_EQ(FormatHotKey(1, 27, 0), "12700");
    EXPECT_EQ(FormatHotKey(1, 9, 0), "10900");
    // A three-digit code makes six characters, which the parser refuses.
    EXPECT_EQ(FormatHotKey(1, 112, 0), "111200");
    EXPECT_FALSE(ParseHotKey("111200", &key));
    EXPECT_FALSE(ParseHotKey("1270", &key));
}

TEST(ValueFormats, HotKeyWithoutMainKeyIsEscAlone)
{
    auto same = [](HotKeyKeys a, HotKeyKeys b) {
        return a.keyCode == b.keyCode && a.modifier == b.modifier && a.keyCount == b.keyCount;
    };
    EXPECT_TRUE(same(ResolveHotKey(0, 16), {27, 0, 1}));
    EXPECT_TRUE(same(ResolveHotKey(0, 0), {27, 0, 1}));
    EXPECT_TRUE(same(ResolveHotKey(17, 0), {17, 0, 1})); // Ctrl alone
    EXPECT_TRUE(same(ResolveHotKey(88, 17), {88, 17, 2}));
}
