// The skinned window's push button: a child window cut to the outline of a
// shape bitmap, showing one of three bitmap faces with an overlay OR-ed on.
// It tracks the mouse itself and posts WM_SKINBUTTON_CLICKED to its parent
// for a press and release without the cursor leaving it in between; a lit
// face watches the cursor on a timer of the button. It is a tab stop: with
// the keyboard focus it shows a dotted rectangle inside its outline, and the
// space bar clicks it. It never draws its caption.
#pragma once
#include "controls/SkinButtonState.h"
#include "framework/CustomWnd.h"

class CSkinButton : public CCustomWnd {
public:
    CSkinButton() = default;
    ~CSkinButton() override = default;

    // Creates the button hidden (WS_CHILD only) and cuts it to the shape; the
    // caller moves and shows it. Bitmaps are resources of the program file.
    bool CreateButton(const char* caption, const RECT& rect, UINT shapeId, UINT overlayId, UINT normalId,
                      UINT hoverId, UINT pressedId, CWnd* pParent);

    // Every pixel of the shape except exact black belongs to the button; the
    // window keeps the region. False (the window stays as it was) when the
    // bitmap or the region cannot be made.
    bool ShapeFromBitmap(HDC hdc, UINT shapeId);

    const SkinButtonState& State() const { return m_state; }
    // Where the focus rectangle goes, in client coordinates.
    const RECT& FocusRect() const { return m_rcFocus; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC hdc);
    void OnMouseMove(WPARAM keys, LPARAM point);
    void Apply(const SkinButtonAction& action, LPARAM point);
    bool CursorOver() const;
    SIZE WindowSize() const;

    SkinButtonState m_state;
    CWnd* m_pNotifyParent = nullptr;
    HWND m_hWndOwner = nullptr;
    bool m_bLeaveTimer = false;
    bool m_bSpaceDown = false;
    RECT m_rcFocus = {0, 0, 0, 0};
    WORD m_nHoverBitmap = 0;
    WORD m_nNormalBitmap = 0;
    WORD m_nPressedBitmap = 0;
    WORD m_nOverlayBitmap = 0;
};
