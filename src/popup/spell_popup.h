// The spell detail window: filling its panel, and the callbacks that open it
// from the spell list and from links.
#pragma once

// Fills a spell panel just loaded from "spell.uir" for g_spellArray[index]:
// the fixed texts, one row per shown effect slot with its "Link" button, the
// "Stacking" button and the heights. Returns 0, or -1 (panel untouched) when
// the index is not that of a loaded spell.
int PopulateSpellPopup(int panel, int index);

// Takes a popup slot, loads a spell panel into it, places it, fills it for
// g_spellArray[index] and shows it. Returns 0, or -1 when no slot is free
// (after the "Error" message), when the panel cannot be loaded or when the
// index is refused; in the last two cases the slot is free again.
int OpenSpellPopup(int index);

// Commit on a list of spells (the main window's spell list, a spell window's
// "Referenced by:"): opens the spell of the list's current row, whose value
// is the spell's table index.
int SpellRingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Commit on a spell panel's linked spell button: opens the linked spell (the
// panel's linked index, or the number callbackData points at minus 1).
int GoToLinkCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Commit on a run-time "Link" button: callbackData points at the target's
// table index plus 1 (an element of g_intArray).
int GoToLink2Callback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
