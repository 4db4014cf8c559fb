// Writing a whole file at once, so that it is never left half written.
#pragma once

#include <string>
#include <string_view>

// Writes `bytes` to a new file beside `path` and renames it over `path`.
// Returns 0, or -1 with `problem` saying what went wrong ("Cannot write
// PATH: REASON."); `path` is then as it was and no new file remains.
int WriteWholeFile(const char* path, std::string_view bytes, std::string& problem);
