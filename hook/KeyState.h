// Hot-key state of one process: the configuration taken from the "HotKey"
// value and the key flags, with the per-keystroke step. Plain data, no Win32.
#pragma once

struct KeyState {
    int count;         // keys in the hot key: 1 or 2; 0 until a valid value was read
    int firstkey;      // the only key, or the modifier of a two-key hot key
    int firstkeydown;  // 1 while the modifier of a two-key hot key is held
    int newone;        // last key released with a two-key hot key (signed low byte)
    int secondkey;     // main key of a two-key hot key, else 0
    int secondkeydown; // cleared on firing and on release of the main key
};

// Takes the configuration from a "HotKey" text. An unparsable or disabled
// value leaves the state untouched and returns false. A main-key code of 0
// means Esc alone whatever the modifier.
bool ConfigureHotKey(KeyState* state, const char* text);

const int kHcAction = 0;                  // HC_ACTION
const unsigned kKeyReleased = 0x80000000; // transition bit of the keystroke flags

// One keystroke as the keyboard hook reports it. Returns true when the hot key
// is completed and the screen saver is to start. Codes other than kHcAction
// change nothing.
bool StepKey(KeyState* state, int code, unsigned key, unsigned flags);
