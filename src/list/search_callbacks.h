// The main window's spell search.
#pragma once

// Commit: reads the search text and class selector and refills the list.
int SearchStringCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

// Builds, sorts and appends the rows of one search to the list control.
void PopulateSpellList(int panel, int list, char* searchText, int classValue);
