// Reading the auto-clean interval that the Mode page's box holds.
#pragma once
#include <string>

const unsigned kMinIntervalMinutes = 1;
const unsigned kMaxIntervalMinutes = 2880;

enum class IntervalCheck { Ok, NotANumber, OutOfRange };

// Reads the first 31 characters of text as an unsigned decimal number: blanks
// and tabs around it, one leading '+'; a '-', other characters or no digits
// give NotANumber. A number that reads is stored in *minutes (UINT_MAX when
// too large) also when it is out of range.
IntervalCheck ReadInterval(const char* text, unsigned* minutes);

// The range message: each "%1" and "%2" of pattern replaced by the lower and
// the upper bound ("Please enter an integer between 1 and 2880.").
std::string IntervalRangeText(const std::string& pattern);
