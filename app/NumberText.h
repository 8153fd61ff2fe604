#pragma once

#include <string_view>

// Numbers written by people (map properties, hand-edited XML), read the way
// the C library reads them in the "C" locale whatever the user's locale is:
// leading white space and a '+' or '-' are accepted, the number is taken
// from the start of the text and anything after it is ignored.

// The leading decimal floating-point number; false when there is none or it
// is not finite ("inf", "nan", or out of range).
bool ParseLeadingDouble(std::string_view text, double& value);

// The leading decimal integer, as a stream extraction reads it ("0.5" gives
// 0, "12px" gives 12); false when there is none. Values beyond the range of
// int are clamped to it.
bool ParseLeadingInt(std::string_view text, int& value);

// The whole text as one finite number (white space around it allowed);
// false for "12px", "", "nan" or a number out of range.
bool ParseWholeDouble(std::string_view text, double& value);
