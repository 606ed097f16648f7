// The parsers that the hot-key hook library shares with the settings store.
// They call nothing, not even the C runtime: the library links none.
#include "settings/ValueFormats.h"

int ParseDecimal(const char* text, int len)
{
    int i = 0;
    while (i < len && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                       text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < len && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < len && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

bool ParseHotKey(const char* text, HotKeyValue* out)
{
    // Exactly five characters.
    if (!text || !text[0] || !text[1] || !text[2] || !text[3] || !text[4] || text[5])
        return false;
    out->enabled = text[0] != '0' ? 1 : 0;
    out->keyCode = ParseDecimal(text + 1, 2);
    out->modifier = ParseDecimal(text + 3, 2);
    return true;
}
