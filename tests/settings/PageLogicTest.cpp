// The settings pages' logic without the sheet: the interval box's reading, the
// hot-key translation and the duplicate check of Add.
#include "settings/FolderList.h"
#include "settings/pages/Custom.h"
#include "settings/pages/HotKeyChoice.h"
#include "settings/pages/IntervalInput.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>

namespace
{

TEST(IntervalInput, AcceptsOneToTwoDaysWithBlanksAround)
{
    unsigned minutes = 0;
    EXPECT_EQ(ReadInterval("2880", &minutes), IntervalCheck::Ok);
    EXPECT_EQ(minutes, 2880u);
    EXPECT_EQ(ReadInterval("  45  ", &minutes), IntervalCheck::Ok);
    EXPECT_EQ(minutes, 45u);
    EXPECT_EQ(ReadInterval("\t1\t", &minutes), IntervalCheck::Ok);
    EXPECT_EQ(minutes, 1u);
}

TEST(IntervalInput, NumbersOutOfRangeAreKeptForTheRangeMessage)
{
    unsigned minutes = 7;
    EXPECT_EQ(ReadInterval("0", &minutes), IntervalCheck::OutOfRange);
    EXPECT_EQ(minutes, 0u);
    EXPECT_EQ(ReadInterval("2881", &minutes), IntervalCheck::OutOfRange);
    EXPECT_EQ(minutes, 2881u);
    // Too large for 32 bits: out of range, never wrapped into a valid number.
    EXPECT_EQ(ReadInterval("4294967297", &minutes), IntervalCheck::OutOfRange);
    EXPECT_EQ(minutes, UINT_MAX);
    EXPECT_EQ(IntervalRangeText("Please enter an integer between %1 and %2."),
              "Please enter an integer between 1 and 2880.");
    EXPECT_EQ(IntervalRangeText("%2-%1 %3 100%"), "2880-1 %3 100%");
}

TEST(IntervalInput, TextThatIsNoUnsignedNumberIsRefusedAndLeavesTheValue)
{
    for (const char* text : {"abc", "-5", "12x", "", "   ", "1 2", "- 5", "+"}) {
        unsigned minutes = 33;
        EXPECT_EQ(ReadInterval(text, &minutes), IntervalCheck::NotANumber) << '"' << text << '"';
        EXPECT_EQ(minutes, 33u) << text;
    }
}

TEST(IntervalInput, ReadsOnlyTheFirst31Characters)
{
    unsigned minutes = 0;
    std::string text = std::string(29, ' ') + "12" + "x";
    EXPECT_EQ(ReadInterval(text.c_str(), &minutes), IntervalCheck::Ok);
    EXPECT_EQ(minutes, 12u);
}

TEST(HotKeyChoice, ModifierFlagsTranslateBothWays)
{
    const struct {
        BYTE flags;
        int modifier;
    } pairs[] = {{0, 0}, {HOTKEYF_SHIFT, VK_SHIFT}, {HOTKEYF_CONTROL, VK_CONTROL}, {HOTKEYF_ALT, VK_MENU}};
    for (const auto& p : pairs) {
        EXPECT_EQ(ModifierFromHotKeyFlags(p.flags), p.modifier);
        EXPECT_EQ(HotKeyFlagsFromModifier(p.modifier), p.flags);
        // The extended-key flag of arrows and the like never reaches the store.
        EXPECT_EQ(ModifierFromHotKeyFlags(p.flags | HOTKEYF_EXT), p.modifier);
    }
    EXPECT_EQ(ModifierFromHotKeyFlags(HOTKEYF_EXT), 0);
    EXPECT_EQ(ModifierFromHotKeyFlags(HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0);
    EXPECT_EQ(HotKeyFlagsFromModifier(20), 0);
    EXPECT_EQ(HotKeyFlagsFromModifier(27), 0);
}

TEST(HotKeyChoice, ControlWordBecomesKeyModifierAndCount)
{
    HotKeyChoice ctrlRight = HotKeyFromControl(MAKEWORD(VK_RIGHT, HOTKEYF_CONTROL | HOTKEYF_EXT));
    EXPECT_EQ(ctrlRight.keyCode, VK_RIGHT);
    EXPECT_EQ(ctrlRight.modifier, VK_CONTROL);
    EXPECT_EQ(ctrlRight.keyCount, 2);
    HotKeyChoice home = HotKeyFromControl(MAKEWORD(VK_HOME, HOTKEYF_EXT));
    EXPECT_EQ(home.modifier, 0);
    EXPECT_EQ(home.keyCount, 1);
    HotKeyChoice empty = HotKeyFromControl(0);
    EXPECT_EQ(empty.keyCode, 0);
    EXPECT_EQ(empty.keyCount, 1);
    // A modifier without a key is still one key.
    EXPECT_EQ(HotKeyFromControl(MAKEWORD(0, HOTKEYF_ALT)).keyCount, 1);
}

TEST(HotKeyChoice, AppliedValuesSetTheControl)
{
    SettingValues v;
    v.hotKeyCode = 'Q';
    v.hotKeyModifier = VK_CONTROL;
    v.hotKeyKeyCount = 2;
    EXPECT_EQ(HotKeyForControl(v), MAKEWORD('Q', HOTKEYF_CONTROL));
    v.hotKeyModifier = 20; // no modifier key: the key alone
    EXPECT_EQ(HotKeyForControl(v), 'Q');
    v.hotKeyModifier = VK_SHIFT;
    v.hotKeyKeyCount = 1;
    EXPECT_EQ(HotKeyForControl(v), 'Q');
}

TEST(HotKeyChoice, KeysWithThreeDigitCodesCannotBeStored)
{
    EXPECT_TRUE(IsStorableHotKey(0));
    EXPECT_TRUE(IsStorableHotKey(VK_ESCAPE));
    EXPECT_TRUE(IsStorableHotKey(99)); // numeric keypad 3
    EXPECT_FALSE(IsStorableHotKey(100));
    EXPECT_FALSE(IsStorableHotKey(VK_F1));
    EXPECT_FALSE(IsStorableHotKey(VK_F5));
}

TEST(CustomAdd, DuplicatesAreExactAndCaseSensitive)
{
    CFolderList list;
    EXPECT_EQ(AddFolderTo(list, ""), AddOutcome::Nothing);
    EXPECT_EQ(AddFolderTo(list, "S:\\Data"), AddOutcome::Added);
    EXPECT_EQ(AddFolderTo(list, "S:\\Data"), AddOutcome::Duplicate);
    EXPECT_EQ(AddFolderTo(list, "S:\\data"), AddOutcome::Added);
    EXPECT_EQ(AddFolderTo(list, "S:\\Data\\"), AddOutcome::Added);
    EXPECT_EQ(list.Snapshot(), (std::vector<std::string>{"S:\\Data", "S:\\data", "S:\\Data\\"}));
}

} // namespace
