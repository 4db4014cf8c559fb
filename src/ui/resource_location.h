// Where the resource files are: beside the executable in a build tree, in
// the data folder (../share/rivizuzi) in an installed tree. No window involved.
#pragma once

#include <string>

// The path of `fileName` in the first of the two folders that holds it, for
// an executable in `programDir`. Empty when neither does; `problem` then
// names the file and both folders.
std::string LocateResourceFile(const std::string& programDir, const char* fileName, std::string& problem);
