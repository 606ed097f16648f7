#include "settings/ValueFormats.h"

#include "framework/Format.h"

#include <cstring>

const char kSettingsKey[] = "Software\\Brightsweep1.0\\Setting";

bool ParseContent(const char* text, int (&flags)[kCategoryCount])
{
    if (!text || std::strlen(text) != kCategoryCount)
        return false;
    for (int i = 0; i < kCategoryCount; ++i)
        flags[i] = text[i] != '0' ? 1 : 0;
    return true;
}

std::string FormatContent(const int (&flags)[kCategoryCount])
{
    std::string text(kCategoryCount, '0');
    for (int i = 0; i < kCategoryCount; ++i)
        if (flags[i])
            text[i] = '1';
    return text;
}

bool ParseMode(const char* text, ModeValue* out)
{
    if (!text || std::strlen(text) != 5)
        return false;
    out->autoClean = text[0] != '0' ? 1 : 0;
    out->minutes = ParseDecimal(text + 1, 4);
    return true;
}

std::string FormatMode(int autoClean, unsigned minutes)
{
    char text[16];
    FormatText(text, sizeof(text), "%c%04u", autoClean ? '1' : '0', minutes);
    return text;
}

std::string FormatHotKey(int enabled, int keyCode, int modifier)
{
    char text[32];
    FormatText(text, sizeof(text), "%c%02d%02d", enabled ? '1' : '0', keyCode, modifier);
    return text;
}

HotKeyKeys ResolveHotKey(int keyCode, int modifier)
{
    if (keyCode == 0)
        return {27, 0, 1};
    return {keyCode, modifier, modifier != 0 ? 2 : 1};
}
