// Counts and sizes as the user's locale writes them: "1 file", "1,234 files",
// "512 bytes", "5.6 MB".
#pragma once
#include <windows.h>

#include <string>

// The digits of value, without the runtime's 64-bit division.
std::string DecimalDigits(ULONGLONG value);

// count, grouped as the locale groups numbers, then one or many.
std::string CountText(LCID locale, ULONGLONG count, const char* one, const char* many);

// The space in bytes, KB, MB, GB or TB (of 1024), with one decimal above bytes.
std::string SizeText(LCID locale, ULONGLONG bytes);
