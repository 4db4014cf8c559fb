// The program's start-up and shut-down, the steps that the command line asks
// for, and the check that the resource files are there.
#pragma once

// The program: start-up, event loop, shut-down. Returns main's result.
int RivizuziMain(int argc, char* argv[]);

// Reports, on standard error and in a message box, the first resource file
// that is missing, naming both folders searched. False when one is missing.
bool CheckResourceFiles();

// Start-up with a FILE from the command line, in place of reading the
// settings' spell file: restores the settings of the last run when there are
// any (there is no first-run chooser, FILE names the spell file), shows the
// main window and reads FILE. FILE becomes the settings' spell file only when
// it was read; otherwise the settings keep theirs.
void OpenCommandLineFile(const char* path);

// Ends the event loop as soon as it has drawn what is waiting, with status 0
// when a spell file was read and 1 when not.
void QuitWhenReady();
