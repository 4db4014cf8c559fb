// Conditions a player can pick instead of typing them: a field of the detail
// window and one of the texts the loaded file holds for it, written into the
// filter expression as `targetType = "Single"`.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/spell.h"

struct FilterPicker {
    const char* label;           // what the field selector shows
    const char* field;           // the expression's field name
    bool contains;               // the condition is "~" (else "=")
    int32_t SpellStruct::*code;  // the coded record field, or nullptr for the effect names
    const char* (*text)(int code);
};

inline constexpr int NUM_FILTER_PICKERS = 7;

// Target type, resist type, skill, kind, time of day and environment by
// their texts; "Effect text" by the names of the effects the sentences show.
const std::array<FilterPicker, NUM_FILTER_PICKERS>& FilterPickers();

// The texts the field shows for the loaded spells, each once, sorted; for
// "Effect text" the labels of the effects in the slots the windows show.
// As UTF-8.
std::vector<std::string> FilterPickerValues(int picker);

// The condition, as `field = "value"` or `text ~ "value"`.
std::string FilterPickerCondition(int picker, std::string_view value);

// The expression with the condition joined by "and": the condition alone
// when the expression is blank, and an expression whose top level is an
// "or" in parentheses first.
std::string AddFilterCondition(std::string_view expression, std::string_view condition);
