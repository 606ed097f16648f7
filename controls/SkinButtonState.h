// What a skin button does on each mouse event: plain state and decisions, kept
// apart from the window so that the state table can be checked directly.
#pragma once

struct SkinButtonState {
    int hover = 0;   // the cursor is over the button and the button holds the capture
    int pressed = 0; // the left button went down on the button and is not released yet
};

// What the window has to do after an event; the state is already updated.
struct SkinButtonAction {
    bool repaint = false;
    bool takeCapture = false;
    bool releaseCapture = false;
    bool postClick = false;
};

// What the window knows at a mouse move.
struct SkinMouseMove {
    bool leftDown = false;      // MK_LBUTTON in the key flags
    bool captured = false;      // the button holds the mouse capture
    bool programActive = false; // the thread has an active window
    bool hasOwner = false;      // the button has an owner or a parent
    bool overButton = false;    // the window under the cursor is the button
};

SkinButtonAction SkinLButtonDown(SkinButtonState& s);
SkinButtonAction SkinMouseMoved(SkinButtonState& s, const SkinMouseMove& in);
SkinButtonAction SkinLButtonUp(SkinButtonState& s);
// captured: the button still holds the capture (it never does once another
// window has taken it).
SkinButtonAction SkinCaptureChanged(const SkinButtonState& s, bool captured);
SkinButtonAction SkinFocusLost(SkinButtonState& s);

// The face to show: normal unless hovering; pressed only while hovering.
unsigned SkinFace(const SkinButtonState& s, unsigned normalId, unsigned hoverId, unsigned pressedId);
