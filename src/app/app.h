// Start-up, shut-down, the settings file and the main window's own controls.
#pragma once

#include <cstddef>

inline constexpr const char* SETTINGS_FILE = "rivizuzi.cfg";

extern const char* const kDisclaimerTitle;
extern const char* const kDisclaimerText;
extern const char* const kFirstRunText;

// Handle of the main window.
extern int mainPanel;

// Restores the settings of the last run; -1 when the user declined to choose
// a spell file on the first run.
int LoadInitFile(const char* fileName);

// Writes the settings (nothing while no spell file is chosen).
void SaveInitFile(const char* fileName);

// Says why a spell file path is refused: `problem` is what
// SettingsPathProblem gives for it.
void ShowPathRefusal(const char* problem);

// Loads the main window with its class and effect selectors filled;
// negative on failure.
int LoadMainPanel();

// Reads the spell file into the table with the wait panel and busy cursor
// shown, offers the file's values in the filter selectors, refills the list
// from the search controls for the new table, and reports the result on the
// main window's status line (a message of the read waits until the wait
// panel is gone).
void ParseSpells(int panel, const char* path);

int ExitCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int BrowseFilesCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int EnableLevelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int DisplayAsLevelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
// The main window's close box ends the program like the quit button; the
// down arrow in the search text moves the focus into the spell list.
int MainPanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2);
