// What a skin button does on each mouse event: plain state and decisions, kept
// apart from the window so that the state table can be checked directly.
#pragma once

struct SkinButtonState {
    int hover = 0;   // the face is lit: the cursor is over the button, or a press on it goes on
    int pressed = 0; // the left button went down on the button and is not released yet
};

// What the window has to do after an event; the state is already updated.
// The capture is held only from a press to its release; while the face is lit
// the window checks the cursor on a timer, which sees a leave that no mouse
// message reports.
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
    bool programActive = false; // the foreground window is one of the program's
    bool hasOwner = false;      // the button has an owner or a parent
    bool overButton = false;    // the window under the cursor is the button
};

// A press reaches the button only over it: it lights the face and takes the
// capture whatever came before.
SkinButtonAction SkinLButtonDown(SkinButtonState& s);
SkinButtonAction SkinMouseMoved(SkinButtonState& s, const SkinMouseMove& in);
SkinButtonAction SkinLButtonUp(SkinButtonState& s);
// The capture went to another window: a press under way is dropped.
SkinButtonAction SkinCaptureChanged(SkinButtonState& s);
SkinButtonAction SkinFocusLost(SkinButtonState& s);
// The timer's look at the cursor while the face is lit and no press holds the
// capture.
SkinButtonAction SkinCursorChecked(SkinButtonState& s, bool overButton);

// The face to show: normal unless hovering; pressed only while hovering.
unsigned SkinFace(const SkinButtonState& s, unsigned normalId, unsigned hoverId, unsigned pressedId);
