// The main window's nine skin buttons, made from the layout table that
// tools/make-art writes (res/SkinLayout.h) and indexed by SkinButtonId.
#pragma once
#include "res/SkinLayout.h"

#include <windows.h>

class CSkinButton;
class CWnd;

class CSkinButtons {
public:
    CSkinButtons() = default;
    ~CSkinButtons() { Free(); }
    CSkinButtons(const CSkinButtons&) = delete;
    CSkinButtons& operator=(const CSkinButtons&) = delete;

    // Makes and shows every button on pParent at its place in the table.
    void Create(CWnd* pParent);
    // Destroys them: "About" first, then the others from "Clear" back to
    // "Start"; "Bye" last. Again: nothing.
    void Free();
    // The button that sent WM_SKINBUTTON_CLICKED (its wParam); false when it
    // is none of them, or gone.
    bool Find(WPARAM sender, SkinButtonId* id) const;
    HWND Window(SkinButtonId id) const;

private:
    CSkinButton* m_buttons[kSkinButtonCount] = {};
};
