#include "app/RunTip.h"

const char kIdleTip[] = "Brightsweep";

namespace {

const size_t kTipChars = 63;

std::string LocaleTime(LCID locale, const SYSTEMTIME& time)
{
    char out[32];
    if (::GetTimeFormatA(locale, TIME_NOSECONDS, &time, nullptr, out, sizeof(out)) > 0)
        return out;
    return DecimalDigits(time.wHour) + ":" + (time.wMinute < 10 ? "0" : "") + DecimalDigits(time.wMinute);
}

} // namespace

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
    const std::string counts = CountText(locale, files, "file", "files") + ", " + SizeText(locale, bytes);
    const std::string later = next ? "; next " + LocaleTime(locale, *next) : std::string();
    // The longest form that fits: the words go first, the next time last.
    for (const std::string& tip :
         {"Cleaned " + at + ": " + counts + later, at + ": " + counts + later, at + ": " + counts}) {
        if (tip.size() <= kTipChars)
            return tip;
    }
    return (at + ": " + counts).substr(0, kTipChars);
}
