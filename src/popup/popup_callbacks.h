// Popup windows: the slot table and cascade, the spell detail panel and the
// callbacks that open panels from the list and from links.
#pragma once

// ---- Popup manager ----------------------------------------------------------

// Reserves the next free slot of g_popupHandles and advances the cascade
// (g_popupX, g_popupY) for one new popup. Returns the slot, or -1 when all
// slots are in use (nothing changes then).
int GetPopupIndex();
// Frees a slot that GetPopupIndex reserved when no panel could be stored in
// it (the panel failed to load). Does nothing to a slot that holds a panel.
// For the slot of the most recent reservation it also restores what that
// reservation moved: the next-slot search, the cascade and the most recent
// popup.
void ReleaseReservedPopupSlot(int slot);
// Discards the panel and frees its slot, if it has one. Returns 0.
int ExitPopupFunction(int panel);
// Commit: closes the popup that holds the control.
int ExitPopupCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Panel callback of every popup: Escape and the window frame's close box
// close it; every other event does nothing.
int SpellPanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2);
// Commit: discards every popup. The slot order and cascade go on from where
// they stood.
int CloseAllCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Discards every popup, as CloseAllCallback does on commit.
void CloseAllPopups();
// Commit: restarts the cascade and moves the most recent popup, if still
// open, to the origin.
int ResetPositionCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);

// The message shown when every popup slot is taken.
inline constexpr const char* kTooManyPopupsTitle = "Error";
inline constexpr const char* kTooManyPopupsText =
    "Too many spell popups are already open - you must close one before opening another";

// ---- Spell detail panel -----------------------------------------------------

// Fills a spell panel just loaded from "spell.uir" for g_spellArray[index]:
// the fixed texts, one row per shown effect slot with its "Link" button, the
// "Stacking" button and the heights. Returns 0, or -1 (panel untouched) when
// the index is not that of a loaded spell.
int PopulateSpellPopup(int panel, int index);

// Adds a read-only text field at (top, left) with the given width, its label
// 50 pixels to its left and centred on it vertically: label yellow, text
// white, both 12-point bold, on a transparent background. Shows `value`.
// Returns the new control's id (negative on failure).
int CreateStringControl(int panel, int left, int top, int width, const char* label, const char* value);

// ---- Opening popups ---------------------------------------------------------

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
