#include "engine/CountText.h"

namespace {

std::string LocaleText(LCID locale, LCTYPE type, const char* fallback)
{
    char text[16];
    return ::GetLocaleInfoA(locale, type, text, sizeof(text)) > 0 ? text : fallback;
}

// digits (and one decimal, when given) as the locale groups numbers.
std::string LocaleNumber(LCID locale, const std::string& digits, UINT decimals)
{
    std::string decimal = LocaleText(locale, LOCALE_SDECIMAL, ".");
    std::string thousand = LocaleText(locale, LOCALE_STHOUSAND, ",");
    std::string grouping = LocaleText(locale, LOCALE_SGROUPING, "3;0");
    NUMBERFMTA format = {};
    format.NumDigits = decimals;
    format.LeadingZero = 1;
    // "3;0" groups by 3, "3;2;0" as 3 then 2 (written 32), "0;0" not at all.
    UINT group = 0;
    for (char c : grouping)
        if (c >= '1' && c <= '9')
            group = group * 10 + static_cast<UINT>(c - '0');
    format.Grouping = group;
    format.lpDecimalSep = &decimal[0];
    format.lpThousandSep = &thousand[0];
    format.NegativeOrder = 1;
    char out[64];
    if (::GetNumberFormatA(locale, 0, digits.c_str(), &format, out, sizeof(out)) > 0)
        return out;
    return digits;
}

} // namespace

std::string DecimalDigits(ULONGLONG value)
{
    // Four 16-bit limbs divided by 10 with 32-bit arithmetic.
    ULONG limbs[4] = {static_cast<ULONG>(value >> 48) & 0xFFFF, static_cast<ULONG>(value >> 32) & 0xFFFF,
                      static_cast<ULONG>(value >> 16) & 0xFFFF, static_cast<ULONG>(value) & 0xFFFF};
    std::string digits;
    for (;;) {
        ULONG rest = 0;
        bool zero = true;
        for (ULONG& limb : limbs) {
            ULONG part = (rest << 16) | limb;
            limb = part / 10;
            rest = part % 10;
            zero = zero && limb == 0;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + rest));
        if (zero)
            return digits;
    }
}

std::string CountText(LCID locale, ULONGLONG count, const char* one, const char* many)
{
    return LocaleNumber(locale, DecimalDigits(count), 0) + " " + (count == 1 ? one : many);
}

std::string SizeText(LCID locale, ULONGLONG bytes)
{
    if (bytes < 1024)
        return CountText(locale, bytes, "byte", "bytes");
    static const char* const units[] = {" KB", " MB", " GB", " TB"};
    unsigned unit = 0;
    while (unit < 3 && (bytes >> (10 * (unit + 2))) != 0)
        ++unit;
    // Tenths of the unit, rounded, by shifts alone: below 2^28 for every size.
    ULONGLONG fine = bytes >> (10 * unit); // 1/1024 of the unit
    ULONG tenths = static_cast<ULONG>((fine * 10 + 512) >> 10);
    std::string digits = DecimalDigits(tenths);
    if (digits.size() < 2)
        digits.insert(0, "0");
    digits.insert(digits.size() - 1, ".");
    return LocaleNumber(locale, digits, 1) + units[unit];
}
