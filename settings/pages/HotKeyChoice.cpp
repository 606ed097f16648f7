#include "settings/pages/HotKeyChoice.h"

#include <commctrl.h>

const char kUnusableHotKeyText[] = "Please choose another key: this key cannot be used as the hot key.";

int ModifierFromHotKeyFlags(BYTE flags)
{
    switch (flags & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT)) {
    case HOTKEYF_SHIFT:
        return VK_SHIFT;
    case HOTKEYF_CONTROL:
        return VK_CONTROL;
    case HOTKEYF_ALT:
        return VK_MENU;
    default:
        return 0;
    }
}

BYTE HotKeyFlagsFromModifier(int modifier)
{
    switch (modifier) {
    case VK_SHIFT:
        return HOTKEYF_SHIFT;
    case VK_CONTROL:
        return HOTKEYF_CONTROL;
    case VK_MENU:
        return HOTKEYF_ALT;
    default:
        return 0;
    }
}

HotKeyChoice HotKeyFromControl(WORD hotKey)
{
    int code = LOBYTE(hotKey);
    int modifier = ModifierFromHotKeyFlags(HIBYTE(hotKey));
    return HotKeyChoice{code, modifier, code && modifier ? 2 : 1};
}

WORD HotKeyForControl(const SettingValues& values)
{
    BYTE code = static_cast<BYTE>(values.hotKeyCode & 0xFF);
    if (values.hotKeyKeyCount == 2)
        return MAKEWORD(code, HotKeyFlagsFromModifier(values.hotKeyModifier));
    return code;
}

bool IsStorableHotKey(int keyCode)
{
    return keyCode >= 0 && keyCode <= 99;
}
