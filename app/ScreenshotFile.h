#pragma once

#include <string>

// Where the screenshot key puts its pictures: the first of "shot-0001.png" to
// "shot-9999.png" not taken yet in ScreenshotFolder(); the folder is made
// when missing. Empty, with the reason in `error`, when there is
// no room or the folder cannot be made.
std::string NextScreenshotPath(std::string& error);
