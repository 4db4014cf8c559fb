// The viewer's command line and the folder it works in. No window involved:
// --help and --version answer without a display.
#pragma once

#include <cstdio>
#include <string>

inline constexpr const char* kViewerUsage =
    "usage: rivizuzi [--user-folder] [--quit-when-ready] [FILE]\n"
    "  FILE               read this spell file instead of the one the settings file names\n"
    "  --user-folder      keep the settings file and the dumps in $XDG_DATA_HOME/rivizuzi\n"
    "                     (~/.local/share/rivizuzi) instead of the current folder\n"
    "  --quit-when-ready  quit as soon as the main window is up, showing no dialogs (their\n"
    "                     texts go to standard error); exit status 1 when no spell file was read\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n";

struct StartOptions {
    std::string file;  // absolute, empty when none was given
    bool userFolder = false;
    bool quitWhenReady = false;
};

// Reads the arguments. Returns -1 when the program is to start; otherwise the
// exit status, after printing the help or the version to `out` (0) or a
// problem and the usage to `err` (2). FILE is made absolute against the
// current directory, so that it stays valid after --user-folder moves it.
int ParseStartOptions(int argc, char* argv[], StartOptions& options, std::FILE* out, std::FILE* err);

// The per-user folder: $XDG_DATA_HOME/rivizuzi, or ~/.local/share/rivizuzi
// when XDG_DATA_HOME is unset, empty or not absolute. Empty when neither
// variable gives an absolute path.
std::string UserFolder(const char* xdgDataHome, const char* home);

// Makes the user folder the working directory, creating it (and missing
// parents, mode 0700) first. On failure says why on `err` and keeps the
// current directory, so the program still starts. True on success.
bool EnterUserFolder(std::FILE* err);
