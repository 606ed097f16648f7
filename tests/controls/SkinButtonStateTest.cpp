#include "controls/SkinButtonState.h"

#include <gtest/gtest.h>

namespace {

enum { Normal = 1, Hover = 2, Pressed = 3 };

// Plays mouse events on the decision functions, the capture following what
// they ask for, as the window does.
struct Button {
    SkinButtonState s;
    bool captured = false, active = true;
    int clicks = 0;

    void Do(const SkinButtonAction& a)
    {
        captured = (captured || a.takeCapture) && !a.releaseCapture;
        clicks += a.postClick;
    }
    // A move reaches the button over it or while it holds the capture.
    void Move(bool over, bool leftDown)
    {
        if (over || captured)
            Do(SkinMouseMoved(s, SkinMouseMove{leftDown, captured, active, true, over}));
    }
    void Down() { Do(SkinLButtonDown(s)); }
    void Up() { Do(SkinLButtonUp(s)); }
    int Face() const { return static_cast<int>(SkinFace(s, Normal, Hover, Pressed)); }
};

TEST(SkinButtonState, APressAndReleaseOnTheButtonClicksWhateverCameBefore)
{
    // No move before, or a move that arrived with the button already down,
    // or while another application was active.
    for (int before = 0; before < 3; ++before) {
        Button b;
        b.active = before != 2;
        if (before)
            b.Move(true, before == 1);
        b.Down();
        EXPECT_EQ(b.Face(), Pressed);
        EXPECT_TRUE(b.captured);
        b.Up();
        EXPECT_EQ(b.clicks, 1) << before;
        EXPECT_FALSE(b.captured) << "the capture lasts only for the press";
        EXPECT_EQ(b.Face(), Hover);
        // The timer finds the cursor elsewhere.
        b.Do(SkinCursorChecked(b.s, true));
        EXPECT_EQ(b.Face(), Hover);
        b.Do(SkinCursorChecked(b.s, false));
        EXPECT_EQ(b.Face(), Normal);
    }
}

TEST(SkinButtonState, NoClickWhenTheCursorLeftInBetweenOrThePressStartedElsewhere)
{
    Button b;
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Hover);
    b.Down();
    b.Do(SkinCursorChecked(b.s, false)); // the capture sees the moves meanwhile
    EXPECT_EQ(b.Face(), Pressed);
    b.Move(false, true);
    EXPECT_EQ(b.Face(), Normal);
    b.Move(true, true); // back in: stays dark
    EXPECT_EQ(b.Face(), Normal);
    b.Up();
    EXPECT_EQ(b.clicks, 0);
    EXPECT_FALSE(b.captured);

    // Pressed on the parent, moved in with the button held, released there.
    Button c;
    c.Move(true, true);
    EXPECT_EQ(c.Face(), Normal);
    c.Up();
    EXPECT_EQ(c.clicks, 0);

    // Moving over while another application is active lights nothing.
    Button d;
    d.active = false;
    d.Move(true, false);
    EXPECT_EQ(d.Face(), Normal);
}

TEST(SkinButtonState, LosingTheCaptureOrTheFocus)
{
    Button b;
    b.Down();
    b.Do(SkinCaptureChanged(b.s));
    b.captured = false;
    EXPECT_EQ(b.Face(), Hover);
    b.Up();
    EXPECT_EQ(b.clicks, 0) << "the press went with the capture";

    EXPECT_TRUE(SkinFocusLost(b.s).repaint);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(SkinFocusLost(b.s).repaint);
}

} // namespace
