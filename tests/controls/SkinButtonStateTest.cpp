#include "controls/SkinButtonState.h"

#include <gtest/gtest.h>

namespace {

// Plays mouse events on the decision functions, with the capture following
// what they ask for, as the window does.
struct Button {
    SkinButtonState s;
    bool captured = false;
    bool active = true;
    int clicks = 0;
    int repaints = 0;

    void Do(const SkinButtonAction& a)
    {
        if (a.takeCapture)
            captured = true;
        if (a.releaseCapture)
            captured = false;
        clicks += a.postClick ? 1 : 0;
        repaints += a.repaint ? 1 : 0;
    }
    // A mouse move reaches the button when the cursor is over it or the
    // button holds the capture.
    void Move(bool over, bool leftDown)
    {
        if (!over && !captured)
            return;
        SkinMouseMove in;
        in.leftDown = leftDown;
        in.captured = captured;
        in.programActive = active;
        in.hasOwner = true;
        in.overButton = over;
        Do(SkinMouseMoved(s, in));
    }
    void Down() { Do(SkinLButtonDown(s)); }
    void Up() { Do(SkinLButtonUp(s)); }
    int Face() const { return static_cast<int>(SkinFace(s, 1, 2, 3)); }
};

enum { Normal = 1, Hover = 2, Pressed = 3 };

TEST(SkinButtonState, AClickPostsOnceAtTheReleaseAndLeavesTheButtonLit)
{
    Button b;
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Hover);
    EXPECT_TRUE(b.captured);
    b.Move(true, false); // further moves inside change nothing
    EXPECT_EQ(b.Face(), Hover);
    b.Down();
    EXPECT_EQ(b.Face(), Pressed);
    b.Move(true, true);
    EXPECT_EQ(b.clicks, 0);
    b.Up();
    EXPECT_EQ(b.clicks, 1);
    EXPECT_EQ(b.Face(), Hover);
    EXPECT_TRUE(b.captured);

    b.Move(false, false);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);
    EXPECT_EQ(b.s.pressed, 0);
}

TEST(SkinButtonState, DraggingOutWithTheButtonHeldNeverClicks)
{
    // Released outside.
    Button b;
    b.Move(true, false);
    b.Down();
    b.Move(false, true);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_EQ(b.s.pressed, 1);
    EXPECT_TRUE(b.captured); // the release is still seen
    b.Up();
    EXPECT_EQ(b.clicks, 0);
    EXPECT_EQ(b.s.pressed, 0);
    EXPECT_TRUE(b.captured);
    b.Move(false, false);
    EXPECT_FALSE(b.captured);

    // Dragged back in and released there: the button stays dark until the
    // cursor has left it once.
    Button c;
    c.Move(true, false);
    c.Down();
    c.Move(false, true);
    c.Move(true, true);
    EXPECT_EQ(c.Face(), Normal);
    c.Up();
    EXPECT_EQ(c.clicks, 0);
    c.Move(true, false);
    EXPECT_EQ(c.Face(), Normal);
    EXPECT_TRUE(c.captured);
    c.Move(false, false);
    EXPECT_FALSE(c.captured);
    c.Move(true, false);
    EXPECT_EQ(c.Face(), Hover);
}

TEST(SkinButtonState, APressThatStartedElsewhereNeitherLightsNorClicks)
{
    Button b;
    b.Move(true, true);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);
    b.Up();
    EXPECT_EQ(b.clicks, 0);
}

TEST(SkinButtonState, NoHoverWhileAnotherApplicationIsActiveOrWithoutOwner)
{
    Button b;
    b.active = false;
    b.Move(true, false);
    EXPECT_EQ(b.Face(), Normal);
    EXPECT_FALSE(b.captured);
    // A click that activates the program from there posts nothing.
    b.Down();
    b.Up();
    EXPECT_EQ(b.clicks, 0);

    SkinButtonState s;
    SkinMouseMove in;
    in.programActive = true;
    in.overButton = true;
    SkinButtonAction a = SkinMouseMoved(s, in);
    EXPECT_EQ(s.hover, 0);
    EXPECT_FALSE(a.takeCapture);
}

TEST(SkinButtonState, LosingTheCaptureOrTheFocus)
{
    // Another window took the capture: the state stays, the capture is not
    // taken back from it, the face is redrawn.
    SkinButtonState s;
    s.hover = 1;
    s.pressed = 1;
    SkinButtonAction a = SkinCaptureChanged(s, false);
    EXPECT_FALSE(a.releaseCapture);
    EXPECT_TRUE(a.repaint);
    EXPECT_EQ(s.hover, 1);
    EXPECT_EQ(s.pressed, 1);
    EXPECT_TRUE(SkinCaptureChanged(s, true).releaseCapture);
    s.hover = 0;
    a = SkinCaptureChanged(s, true);
    EXPECT_FALSE(a.releaseCapture || a.repaint);

    // Leaving the button releases only a capture the button holds.
    SkinButtonState t;
    SkinMouseMove away;
    away.captured = false;
    away.programActive = false;
    away.hasOwner = true;
    EXPECT_FALSE(SkinMouseMoved(t, away).releaseCapture);

    SkinButtonState f;
    f.hover = 1;
    f.pressed = 1;
    EXPECT_TRUE(SkinFocusLost(f).repaint);
    EXPECT_EQ(f.hover, 0);
    EXPECT_EQ(SkinFace(f, 1, 2, 3), 1u); // pressed without hover shows the normal face
    EXPECT_FALSE(SkinFocusLost(f).repaint);
}

} // namespace
