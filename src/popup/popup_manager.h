// The table of open popups (spell and stacking panels): slots, the cascade of
// positions, opening a popup, closing one popup or all of them.
#pragma once

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

// Fills a popup panel that OpenPopup has just loaded and placed; returns 0,
// or non-zero when the panel cannot be filled.
using PopupFillPtr = int (*)(int panel, void* fillData);
// Opens one popup: takes a slot (after the "Error" message when none is
// free: -1), loads the panel from its resource file into the slot, places it
// at the cascade's position, has it filled and shows it. Returns 0; -1 when
// no slot is free, the panel cannot be loaded or it cannot be filled, in the
// last two cases with the panel discarded and the popup state as it was.
int OpenPopup(const char* resourceFile, int panelNumber, PopupFillPtr fill, void* fillData);

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
