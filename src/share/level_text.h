// The level setting that the numbers of a description are for, in words.
#pragma once

#include "data/spell.h"

// Writes "values over levels" for level 0 (values as ranges over the
// character levels), "values at level %d" for a level from 1 to 65.
void FormatLevelSetting(int level, TextField& text);
