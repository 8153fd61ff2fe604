#pragma once

#include <string>

// Run times as the save profile stores them: general notation with six
// significant digits (as a standard stream writes a float by default),
// read back as a double narrowed to float. Neither depends on the user's
// locale, so a desktop with a decimal comma reads and writes the same file.
std::string FormatSaveTime(float seconds);
// False when the text holds no finite number.
bool ReadSaveTime(const std::string& text, float& seconds);
// What a time becomes once stored and read back.
float StoredSaveTime(float seconds);
