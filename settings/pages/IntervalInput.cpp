#include "settings/pages/IntervalInput.h"

#include "framework/Format.h"

#include <climits>

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

IntervalCheck ReadInterval(const char* text, unsigned* minutes)
{
    std::string s(text);
    if (s.size() > 31)
        s.resize(31);
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    if (i < s.size() && s[i] == '+')
        ++i;
    size_t first = i;
    unsigned long long value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + static_cast<unsigned>(s[i] - '0');
        if (value > UINT_MAX)
            value = static_cast<unsigned long long>(UINT_MAX) + 1;
        ++i;
    }
    if (i == first)
        return IntervalCheck::NotANumber;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    if (i != s.size())
        return IntervalCheck::NotANumber;
    *minutes = value > UINT_MAX ? UINT_MAX : static_cast<unsigned>(value);
    if (*minutes < kMinIntervalMinutes || *minutes > kMaxIntervalMinutes)
        return IntervalCheck::OutOfRange;
    return IntervalCheck::Ok;
}

std::string IntervalRangeText(const std::string& pattern)
{
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char mark = i + 1 < pattern.size() && pattern[i] == '%' ? pattern[i + 1] : 0;
        if (mark != '1' && mark != '2') {
            text += pattern[i];
            continue;
        }
        char bound[16];
        FormatText(bound, sizeof(bound), "%lu",
                   static_cast<unsigned long>(mark == '1' ? kMinIntervalMinutes : kMaxIntervalMinutes));
        text += bound;
        ++i;
    }
    return text;
}
