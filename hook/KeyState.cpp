#include "hook/KeyState.h"

#include "settings/ValueFormats.h"

const int kVkEscape = 27;

bool ConfigureHotKey(KeyState* state, const char* text)
{
    HotKeyValue value;
    if (!ParseHotKey(text, &value) || !value.enabled)
        return false;
    if (value.keyCode == 0) {
        state->count = 1;
        state->firstkey = kVkEscape;
        state->secondkey = 0;
    } else if (value.modifier != 0) {
        state->count = 2;
        state->firstkey = value.modifier;
        state->secondkey = value.keyCode;
    } else {
        state->count = 1;
        state->firstkey = value.keyCode;
        state->secondkey = 0;
    }
    return true;
}

static bool Fire(KeyState* state)
{
    state->firstkeydown = 0;
    state->secondkeydown = 0;
    return true;
}

bool StepKey(KeyState* state, int code, unsigned key, unsigned flags)
{
    if (code != kHcAction)
        return false;
    const bool released = (flags & kKeyReleased) != 0;
    const int vk = static_cast<int>(key);
    if (state->count == 1) {
        if (released && vk == state->firstkey)
            return Fire(state);
    } else if (state->count == 2) {
        if (!released) {
            if (vk == state->firstkey)
                state->firstkeydown = 1;
            if (vk == state->secondkey && state->firstkeydown == 1)
                return Fire(state);
        } else {
            state->newone = static_cast<signed char>(key & 0xFF);
            if (state->newone == state->firstkey)
                state->firstkeydown = 0;
            if (state->newone == state->secondkey)
                state->secondkeydown = 0;
        }
    }
    return false;
}
