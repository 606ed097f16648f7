// Text forms of the stored settings values "Content", "Mode" and "HotKey",
// shared by the settings store and the hot-key hook library. Plain functions:
// no state, no allocation in the parsers. ParseDecimal and ParseHotKey
// (ValueParse.cpp) call no runtime, as the hook library links none.
#pragma once
#include <string>

#include "engine/Categories.h"

// The settings key under HKEY_CURRENT_USER.
extern const char kSettingsKey[];

// Decimal conversion of text[0..len) as the C runtime's atoi reads it: leading
// blanks, one optional sign, digits up to the first non-digit; 0 without digits.
int ParseDecimal(const char* text, int len);

// "Content": one character per category, '0' = off, anything else = on. Flags
// in the stored order (each category's content column in Categories.def).
bool ParseContent(const char* text, int (&flags)[kCategoryCount]);
std::string FormatContent(const int (&flags)[kCategoryCount]);

// "Mode": exactly 5 characters, the auto-clean flag then the interval in
// minutes (characters 2 to 5, decimal).
struct ModeValue {
    int autoClean;
    int minutes;
};
bool ParseMode(const char* text, ModeValue* out);
// The flag digit and the interval padded to four digits ("%u" beyond 9999).
std::string FormatMode(int autoClean, unsigned minutes);

// "HotKey": exactly 5 characters, the enabled flag, the main key's virtual-key
// code (characters 2-3) and the modifier's (characters 4-5), both decimal.
struct HotKeyValue {
    int enabled;
    int keyCode;
    int modifier;
};
bool ParseHotKey(const char* text, HotKeyValue* out);
// Codes of 9 or less get a leading zero, larger ones are written as they are.
std::string FormatHotKey(int enabled, int keyCode, int modifier);

// The keys a "HotKey" value stands for: a main-key code of 0 means Esc alone,
// whatever the modifier; otherwise a non-zero modifier makes a two-key hot key.
struct HotKeyKeys {
    int keyCode;
    int modifier;
    int keyCount;
};
HotKeyKeys ResolveHotKey(int keyCode, int modifier);
