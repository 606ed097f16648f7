#include "hook/KeyState.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const unsigned kEsc = 27, kCtrl = 17, kX = 'X';
// Keystroke flags: repeat count 1; bit 30 = was down before; bit 31 = released.
const unsigned kFirstPress = 0x00000001, kAutoRepeat = 0x40000001, kRelease = 0xC0000001;
const int kHcNoRemove = 3;

// A process's key state fed keystroke by keystroke, counting the firings.
struct Keyboard {
    KeyState state = {};
    int fired = 0;

    explicit Keyboard(const char* hotKey = nullptr)
    {
        if (hotKey) {
            EXPECT_TRUE(ConfigureHotKey(&state, hotKey)) << hotKey;
        }
    }
    void Down(unsigned vk, int code = kHcAction) { fired += StepKey(&state, code, vk, kFirstPress); }
    void Repeat(unsigned vk) { fired += StepKey(&state, kHcAction, vk, kAutoRepeat); }
    void Up(unsigned vk, int code = kHcAction) { fired += StepKey(&state, code, vk, kRelease); }
    void Tap(unsigned vk)
    {
        Down(vk);
        Up(vk);
    }
};

bool SameState(const KeyState& a, const KeyState& b)
{
    return std::memcmp(&a, &b, sizeof(KeyState)) == 0;
}

TEST(KeyState, EscFiresOnceOnReleaseHoweverLongItRepeats)
{
    Keyboard kb("12700");
    EXPECT_EQ(kb.state.count, 1);
    EXPECT_EQ(kb.state.firstkey, 27);
    kb.Down(kEsc);
    for (int i = 0; i < 200; ++i)
        kb.Repeat(kEsc);
    EXPECT_EQ(kb.fired, 0);
    kb.Up(kEsc);
    EXPECT_EQ(kb.fired, 1);
    kb.Tap(kEsc);
    EXPECT_EQ(kb.fired, 2);
    // Other keys, and a release of a key whose low byte alone is 27, do nothing.
    kb.Tap(kX);
    kb.Tap(kCtrl);
    kb.Up(0x100 + kEsc);
    EXPECT_EQ(kb.fired, 2);
}

TEST(KeyState, CtrlXFiresWhenXGoesDownOncePerPressOfCtrl)
{
    Keyboard kb("18817");
    EXPECT_EQ(kb.state.count, 2);
    EXPECT_EQ(kb.state.firstkey, 17);
    EXPECT_EQ(kb.state.secondkey, 88);

    kb.Down(kCtrl);
    kb.Repeat(kCtrl);
    EXPECT_EQ(kb.fired, 0);
    kb.Down(kX);
    EXPECT_EQ(kb.fired, 1) << "fires as X goes down, not on its release";
    EXPECT_EQ(kb.state.firstkeydown, 0);

    // X again, held or pressed anew, while Ctrl stays down: nothing.
    kb.Repeat(kX);
    kb.Up(kX);
    kb.Tap(kX);
    EXPECT_EQ(kb.fired, 1);

    // Release Ctrl, press it again, then X: fires again.
    kb.Up(kCtrl);
    kb.Down(kCtrl);
    kb.Down(kX);
    EXPECT_EQ(kb.fired, 2);
    kb.Up(kX);
    kb.Up(kCtrl);
    EXPECT_EQ(kb.state.newone, 17);
}

TEST(KeyState, CtrlXDoesNotFireInTheWrongOrderOrAfterCtrlWasReleased)
{
    Keyboard kb("18817");
    kb.Down(kX);
    kb.Down(kCtrl);
    kb.Repeat(kCtrl);
    kb.Up(kCtrl);
    kb.Up(kX);
    EXPECT_EQ(kb.fired, 0);

    kb.Tap(kCtrl);
    kb.Tap(kX);
    EXPECT_EQ(kb.fired, 0);
    EXPECT_EQ(kb.state.firstkeydown, 0);
}

TEST(KeyState, ModifierCodeWithoutMainKeyMakesThatKeyAlone)
{
    Keyboard kb("11700");
    EXPECT_EQ(kb.state.count, 1);
    kb.Down(kCtrl);
    kb.Repeat(kCtrl);
    EXPECT_EQ(kb.fired, 0);
    kb.Up(kCtrl);
    EXPECT_EQ(kb.fired, 1);
}

TEST(KeyState, MainKeyCodeZeroIsEscWhateverTheModifier)
{
    for (const char* value : {"10000", "10017"}) {
        Keyboard kb(value);
        EXPECT_EQ(kb.state.count, 1) << value;
        EXPECT_EQ(kb.state.firstkey, 27) << value;
        EXPECT_EQ(kb.state.secondkey, 0) << value;
        kb.Down(kCtrl);
        kb.Tap(kEsc);
        kb.Up(kCtrl);
        EXPECT_EQ(kb.fired, 1) << value;
    }
}

TEST(KeyState, DisabledOrMisSizedValuesKeepThePreviousConfiguration)
{
    const char* refused[] = {"02700", "01700", "1270", "127000", "", "111200", nullptr};

    // A fresh process that never read a valid value never fires.
    Keyboard fresh;
    for (const char* value : refused)
        EXPECT_FALSE(ConfigureHotKey(&fresh.state, value)) << (value ? value : "null");
    EXPECT_TRUE(SameState(fresh.state, KeyState{}));
    for (unsigned vk = 1; vk < 256; ++vk) {
        fresh.Down(vk);
        fresh.Up(vk);
    }
    EXPECT_EQ(fresh.fired, 0);

    // An armed Ctrl+X keeps both its configuration and its held modifier.
    Keyboard kb("18817");
    kb.Down(kCtrl);
    KeyState armed = kb.state;
    for (const char* value : refused)
        ConfigureHotKey(&kb.state, value);
    EXPECT_TRUE(SameState(kb.state, armed));
    kb.Down(kX);
    EXPECT_EQ(kb.fired, 1);
}

TEST(KeyState, CodesOtherThanActionChangeNothing)
{
    for (int code : {kHcNoRemove, 1, -1}) {
        Keyboard kb("18817");
        kb.Down(kCtrl, code);
        kb.Down(kX, code);
        EXPECT_EQ(kb.fired, 0);
        EXPECT_EQ(kb.state.firstkeydown, 0);

        // Armed for real; a peeked release of Ctrl must not disarm it.
        kb.Down(kCtrl);
        KeyState armed = kb.state;
        kb.Up(kCtrl, code);
        kb.Up(0xBE, code);
        EXPECT_TRUE(SameState(kb.state, armed)) << code;
        kb.Down(kX);
        EXPECT_EQ(kb.fired, 1) << code;

        Keyboard esc("12700");
        esc.Down(kEsc, code);
        esc.Up(kEsc, code);
        EXPECT_EQ(esc.fired, 0) << code;
    }
}

} // namespace
