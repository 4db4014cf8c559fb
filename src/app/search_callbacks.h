// The main window's spell search.
#pragma once

#include "list/effect_filter.h"

// Commit, and each edit of the search text: reads the search text, the class
// and effect selectors, refills the list and shows on the status line how
// many spells it lists.
int SearchStringCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

// Refills the list with what the search text, the class and the effect
// select (every spell for an empty text, no class and any effect), leaving
// the status line alone. Returns the number of rows, or -1 when the window's
// controls cannot be read.
int RefillSpellList(int panel);

// Builds, sorts and appends the rows of one search to the list control.
// Returns the number of rows.
int PopulateSpellList(int panel, int list, char* searchText, int classValue, int effectId = ANY_EFFECT);
