// The stacking check window.
#pragma once

// Commit: callbackData points at the spell's record in g_spellArray.
int StackingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
