// The exporter's modes. Each writes JSON lines to `out` from the loaded
// table and returns the process exit status.
#pragma once

#include <cstring>
#include <iosfwd>
#include <string>

#include "share/text_formats.h"

// A FILE argument of "-" names the standard input.
inline bool IsStandardInput(const char* argument)
{
    return std::strcmp(argument, "-") == 0;
}

// The path that opens a FILE argument.
inline const char* SpellFilePath(const char* argument)
{
    return IsStandardInput(argument) ? "/dev/stdin" : argument;
}

// One object per loaded record: index, id, name, the shown effect slots.
int ExportSpells(std::ostream& out);

// One object per row of the spell list a search would show (effectId
// ANY_EFFECT: no effect filter).
int ExportSearch(std::ostream& out, const std::string& searchText, int classValue, int effectId);

// The stacking check of one spell. Errors go to `err` with status 1.
int ExportStacking(std::ostream& out, std::ostream& err, int index);

// The spells that differ between two spell files (FILE arguments: "-" is the
// standard input), at the level (0: ranges): JSON lines, or with `report` the
// comparison's report in that format. Status 1 when either file does not open
// (after its "Error" message).
int ExportDiff(std::ostream& out, std::ostream& err, const char* oldPath, const char* newPath, int level,
               const TextFormat* report = nullptr);

// One loaded spell as its window's "Copy" gives it. Status 1 with a message
// on `err` when the index is not that of a loaded spell.
int ExportDescription(std::ostream& out, std::ostream& err, int index, TextFormat format);
