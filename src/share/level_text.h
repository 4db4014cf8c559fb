// The level setting that the numbers of a description are for, in words.
#pragma once

#include "data/text_field.h"
#include "effects/effects.h"

// Writes "values over levels" for values as ranges over the character
// levels, "values at level %d" for values at one level.
void FormatLevelSetting(LevelSetting level, TextField& text);
