// Translation between the hot-key control's word (virtual-key code in the low
// byte, HOTKEYF_* flags in the high byte) and the stored hot key (main key
// code, modifier as the modifier key's virtual-key code 16, 17 or 18).
#pragma once
#include <windows.h>

#include "settings/CleanSettings.h"

extern const char kUnusableHotKeyText[];

// HOTKEYF_SHIFT, _CONTROL, _ALT alone to 16, 17, 18; the extended-key flag is
// dropped; none or a pair of modifiers gives 0.
int ModifierFromHotKeyFlags(BYTE flags);
// 16, 17, 18 to their flag; anything else 0.
BYTE HotKeyFlagsFromModifier(int modifier);

struct HotKeyChoice {
    int keyCode;
    int modifier;
    int keyCount;
};
// What the control shows becomes: two keys when both the key and a modifier
// are set, else one.
HotKeyChoice HotKeyFromControl(WORD hotKey);
// The control's word for the applied hot key: the key alone for one key, with
// its modifier's flag for two keys when that modifier is 16, 17 or 18.
WORD HotKeyForControl(const SettingValues& values);

// The stored form has two digits per code: a key code above 99 cannot be kept.
bool IsStorableHotKey(int keyCode);
