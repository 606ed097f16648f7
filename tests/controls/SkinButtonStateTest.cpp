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
    int Face() const { return static_cast<int>(SkinFace(s, Normal, Hover, Pressed)); }
};

TEST(SkinButtonState, OnlyAPressAndReleaseWithoutLeavingClicks)
{
    Button b;
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Hover);
    b.Do(SkinLButtonDown(b.s));
    EXPECT_EQ(b.Face(), Pressed);
    b.Move(true, true);
    b.Do(SkinLButtonUp(b.s));
    EXPECT_EQ(b.clicks, 1);
    EXPECT_EQ(b.Face(), Hover); // lit, with the capture, until the cursor leaves
    EXPECT_TRUE(b.captured);
    b.Move(false, false);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);

    // Dragged out, back in, released inside: dark, no click, capture kept
    // until the cursor has left once.
    b.Move(true, false);
    b.Do(SkinLButtonDown(b.s));
    b.Move(false, true);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_TRUE(b.captured);
    b.Move(true, true);
    b.Do(SkinLButtonUp(b.s));
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_TRUE(b.captured);
    b.Move(false, false);
    EXPECT_FALSE(b.captured);
    EXPECT_EQ(b.s.pressed, 0);

    // Pressed elsewhere, moved in with the button held, released there.
    b.Move(true, true);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);
    b.Do(SkinLButtonUp(b.s));
    EXPECT_EQ(b.clicks, 1);
}

TEST(SkinButtonState, NoHoverWhileAnotherApplicationIsActiveOrWithoutOwner)
{
    Button b;
    b.active = false;
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);
    b.Do(SkinLButtonDown(b.s));
    b.Do(SkinLButtonUp(b.s));
    EXPECT_EQ(b.clicks, 0);

    SkinButtonState s;
    EXPECT_FALSE(SkinMouseMoved(s, SkinMouseMove{false, false, true, false, true}).takeCapture);
    EXPECT_EQ(s.hover, 0);
}

TEST(SkinButtonState, LosingTheCaptureOrTheFocus)
{
    // The capture has gone to another window: it is not taken back from it,
    // the state stays.
    SkinButtonState s{1, 1};
    SkinButtonAction a = SkinCaptureChanged(s, false);
    EXPECT_FALSE(a.releaseCapture);
    EXPECT_TRUE(a.repaint);
    EXPECT_EQ(s.hover + s.pressed, 2);
    // Leaving releases only a capture the button holds.
    SkinButtonState t;
    EXPECT_FALSE(SkinMouseMoved(t, SkinMouseMove{false, false, false, true, false}).releaseCapture);

    EXPECT_TRUE(SkinFocusLost(s).repaint);
    EXPECT_EQ(s.hover, 0);
    EXPECT_EQ(SkinFace(s, Normal, Hover, Pressed), Normal); // pressed without hover
}

} // namespace
