// The comparison window: the loaded spell file compared with another one the
// user chooses. One comparison window at a time; a new comparison replaces it.
#pragma once

// Commit on the main window's "Compare with another spell file..." button:
// asks for the other file, compares and shows the comparison window.
int CompareFilesCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
// Commit on the kind selector, the name filter or its button: refills the list.
int CompareFilterCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
// The list: a new current row shows its fields; a commit (Return, double
// click) opens the loaded file's spell window for it.
int CompareListCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
// Commit: opens the loaded file's spell window of the selected spell.
int CompareOpenCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
// Commit: closes the comparison window.
int CompareCloseCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
// Commit on "Save report...": asks for a file name and writes the report of
// what the list shows there (HTML for a name ending in .html or .htm, else
// Markdown), or says why it could not.
int CompareSaveReportCallback(int panel, int control, int event, void* callbackData, int eventData1,
                              int eventData2);
// Escape and the close box close the comparison window.
int ComparePanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2);

// The open comparison window's panel, or -1.
int ComparePanel();
