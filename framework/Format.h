// snprintf through the C runtime DLL's own _vsnprintf: the runtime library's
// formatting is built for the Pentium Pro and newer. The text is always
// terminated, cut to the buffer when too long.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdio>

inline void FormatText(char* buffer, std::size_t size, const char* format, ...)
{
    if (size == 0)
        return;
    va_list args;
    va_start(args, format);
    ::_vsnprintf(buffer, size - 1, format, args);
    va_end(args);
    buffer[size - 1] = '\0';
}
