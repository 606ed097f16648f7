#include "controls/SkinButtonState.h"

SkinButtonAction SkinLButtonDown(SkinButtonState& s)
{
    SkinButtonAction a;
    s.pressed = 1;
    a.repaint = true;
    return a;
}

SkinButtonAction SkinMouseMoved(SkinButtonState& s, const SkinMouseMove& in)
{
    SkinButtonAction a;
    // A drag that started elsewhere never lights a button up.
    if (in.leftDown && !s.hover)
        return a;
    // Hovering starts only while the program is the active application.
    if (!in.captured && in.programActive && in.hasOwner) {
        s.hover = 1;
        a.takeCapture = true;
        a.repaint = true;
        return a;
    }
    if (in.overButton)
        return a;
    // The cursor has left the button.
    if (s.hover) {
        s.hover = 0;
        a.repaint = true;
    }
    // Dragging outside with the left button held keeps the capture, so that
    // the release is still seen.
    if (in.leftDown)
        return a;
    a.releaseCapture = in.captured;
    s.pressed = 0;
    return a;
}

SkinButtonAction SkinLButtonUp(SkinButtonState& s)
{
    SkinButtonAction a;
    s.pressed = 0;
    // Only a press and release without leaving the button in between.
    a.postClick = s.hover != 0;
    a.repaint = true;
    return a;
}

SkinButtonAction SkinCaptureChanged(const SkinButtonState& s, bool captured)
{
    SkinButtonAction a;
    if (s.hover) {
        a.releaseCapture = captured;
        a.repaint = true;
    }
    return a;
}

SkinButtonAction SkinFocusLost(SkinButtonState& s)
{
    SkinButtonAction a;
    if (s.hover) {
        s.hover = 0;
        a.repaint = true;
    }
    return a;
}

unsigned SkinFace(const SkinButtonState& s, unsigned normalId, unsigned hoverId, unsigned pressedId)
{
    if (!s.hover)
        return normalId;
    return s.pressed ? pressedId : hoverId;
}
