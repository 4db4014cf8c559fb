// The filter the main window's list applies together with the name, class
// and effect: the last good expression of the filter box.
#pragma once

#include <string_view>

#include "find/filter_query.h"
#include "list/search.h"

// Parses the expression; a good one (an empty one filters nothing) becomes
// the list's filter. A bad one leaves the filter as it was and `error` says
// why. Returns whether it was good.
bool SetListFilter(std::string_view expression, FilterError& error);
// Forgets the filter and the texts it described.
void ClearListFilter();

// The list's filter, its texts described for the loaded table at the level
// in force; nullptr while there is none.
const SpellCondition* ListFilter();
// True when the list has a filter.
bool HasListFilter();
// True when the filter reads the effect sentences, which change with the
// level setting.
bool ListFilterReadsSentences();
