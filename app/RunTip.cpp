#include "app/RunTip.h"

const char kIdleTip[] = "Brightsweep";

namespace {

const size_t kTipChars = 63;

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

std::string LocaleTime(LCID locale, const SYSTEMTIME& time)
{
    char out[32];
    if (::GetTimeFormatA(locale, TIME_NOSECONDS, &time, nullptr, out, sizeof(out)) > 0)
        return out;
    return DecimalDigits(time.wHour) + ":" + (time.wMinute < 10 ? "0" : "") + DecimalDigits(time.wMinute);
}

// The space in bytes, KB, MB, GB or TB (of 1024), with one decimal above bytes.
std::string LocaleSize(LCID locale, ULONGLONG bytes)
{
    if (bytes < 1024)
        return LocaleNumber(locale, DecimalDigits(bytes), 0) + (bytes == 1 ? " byte" : " bytes");
    static const char* const units[] = {" KB", " MB", " GB", " TB"};
    unsigned unit = 0;
    while (unit < 3 && (bytes >> (10 * (unit + 2))) != 0)
        ++unit;
    // Tenths of the unit, rounded, by shifts alone: below 2^28 for every size.
    ULONGLONG fine = bytes >> (10 * unit);         // 1/1024 of the unit
    ULONG tenths = static_cast<ULONG>((fine * 10 + 512) >> 10);
    std::string digits = DecimalDigits(tenths);
    if (digits.size() < 2)
        digits.insert(0, "0");
    digits.insert(digits.size() - 1, ".");
    return LocaleNumber(locale, digits, 1) + units[unit];
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

SYSTEMTIME AddMinutes(const SYSTEMTIME& now, UINT minutes)
{
    FILETIME ft;
    SYSTEMTIME later = now;
    if (!::SystemTimeToFileTime(&now, &ft))
        return later;
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(minutes) * 600000000u;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    ::FileTimeToSystemTime(&ft, &later);
    return later;
}

std::string FormatRunTip(LCID locale, const SYSTEMTIME& cleanedAt, ULONGLONG files, ULONGLONG bytes,
                         const SYSTEMTIME* next)
{
    const std::string at = LocaleTime(locale, cleanedAt);
    const std::string counts = LocaleNumber(locale, DecimalDigits(files), 0) + (files == 1 ? " file, " : " files, ") +
                               LocaleSize(locale, bytes);
    const std::string later = next ? "; next " + LocaleTime(locale, *next) : std::string();
    // The longest form that fits: the words go first, the next time last.
    for (const std::string& tip : {"Cleaned " + at + ": " + counts + later, at + ": " + counts + later,
                                   at + ": " + counts}) {
        if (tip.size() <= kTipChars)
            return tip;
    }
    return (at + ": " + counts).substr(0, kTipChars);
}
