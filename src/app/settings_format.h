// Reading the settings file's lines (no window involved).
#pragma once

#include <array>
#include <cstdio>

#include "data/spell.h"

// Reads one line of at most 259 characters into `line` (the rest of a longer
// line is skipped). Removes the line's end: a line feed and a carriage return
// before it; never any other character. False at the end of the file.
bool ReadSettingsLine(std::FILE* file, TextField& line);

// Takes four integers separated by white space, like "%d %d %d %d", with
// numbers beyond the int range saturated. False unless all four are there.
bool ParseFourInts(const char* text, std::array<int, 4>& values);

// Why a spell file path cannot be line 1 of the settings file, or nullptr
// when it can: a line feed would split the file, a carriage return at its
// end would be read back as the line's end, and line 1 holds 259 bytes.
const char* SettingsPathProblem(const char* path);

inline constexpr const char* kPathTooLong = "it is longer than 259 bytes";
