#include "app/SkinButtons.h"

#include "controls/SkinButton.h"

void CSkinButtons::Create(CWnd* pParent)
{
    for (int i = 0; i < kSkinButtonCount; ++i) {
        const SkinButtonLayout& row = kSkinButtons[i];
        auto* button = new CSkinButton;
        button->CreateButton(row.caption, RECT{0, 0, row.width, row.height}, row.shape, row.overlay, row.normal,
                             row.hover, row.pressed, pParent);
        m_buttons[i] = button;
        button->MoveWindow(row.x, row.y, row.width, row.height, TRUE);
        button->ShowWindow(SW_SHOW);
        ::UpdateWindow(button->m_hWnd);
    }
}

void CSkinButtons::Free()
{
    static const SkinButtonId order[] = {kButtonAbout, kButtonClear, kButtonHotKey, kButtonMin, kButtonHelp,
                                         kButtonSet,   kButtonAuto,  kButtonStart,  kButtonBye};
    static_assert(sizeof(order) / sizeof(order[0]) == kSkinButtonCount, "every button");
    for (SkinButtonId id : order) {
        delete m_buttons[id];
        m_buttons[id] = nullptr;
    }
}

bool CSkinButtons::Find(WPARAM sender, SkinButtonId* id) const
{
    for (int i = 0; i < kSkinButtonCount; ++i) {
        if (sender && reinterpret_cast<WPARAM>(m_buttons[i]) == sender) {
            *id = static_cast<SkinButtonId>(i);
            return true;
        }
    }
    return false;
}

HWND CSkinButtons::Window(SkinButtonId id) const
{
    return m_buttons[id] ? m_buttons[id]->m_hWnd : nullptr;
}
