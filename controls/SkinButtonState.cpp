#include "controls/SkinButtonState.h"

namespace {
// Clears one flag of the state; the face changes only if it was set.
SkinButtonAction Clear(int& flag)
{
    SkinButtonAction a;
    a.repaint = flag != 0;
    flag = 0;
    return a;
}

SkinButtonAction GoDark(SkinButtonState& s)
{
    return Clear(s.hover);
}
} // namespace

SkinButtonAction SkinLButtonDown(SkinButtonState& s)
{
    SkinButtonAction a;
    s.pressed = 1;
    s.hover = 1;
    a.takeCapture = true;
    a.repaint = true;
    return a;
}

SkinButtonAction SkinMouseMoved(SkinButtonState& s, const SkinMouseMove& in)
{
    // During a press: leaving darkens the face for good, so that a release
    // after the cursor came back posts nothing.
    if (in.captured)
        return in.overButton ? SkinButtonAction{} : GoDark(s);
    SkinButtonAction a;
    // A drag that started elsewhere never lights a button up.
    if (in.leftDown || s.hover || !in.overButton)
        return a;
    // Hovering starts only while the program is the active application.
    if (in.programActive && in.hasOwner) {
        s.hover = 1;
        a.repaint = true;
    }
    return a;
}

SkinButtonAction SkinLButtonUp(SkinButtonState& s)
{
    SkinButtonAction a;
    // Only a press and release without leaving the button in between.
    a.postClick = s.pressed && s.hover;
    s.pressed = 0;
    a.releaseCapture = true;
    a.repaint = true;
    return a;
}

SkinButtonAction SkinCaptureChanged(SkinButtonState& s)
{
    return Clear(s.pressed);
}

SkinButtonAction SkinFocusLost(SkinButtonState& s)
{
    return GoDark(s);
}

SkinButtonAction SkinCursorChecked(SkinButtonState& s, bool overButton)
{
    if (s.pressed || overButton)
        return SkinButtonAction{};
    return GoDark(s);
}

unsigned SkinFace(const SkinButtonState& s, unsigned normalId, unsigned hoverId, unsigned pressedId)
{
    if (!s.hover)
        return normalId;
    return s.pressed ? pressedId : hoverId;
}
