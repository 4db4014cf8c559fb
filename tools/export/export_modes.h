// The exporter's modes. Each writes JSON lines to `out` from the loaded
// table and returns the process exit status.
#pragma once

#include <cstring>
#include <iosfwd>
#include <string>

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

class FilterQuery;

// One object per row of the spell list a search would show (effectId
// ANY_EFFECT: no effect filter) that the filter query also keeps, its text
// field seeing the sentences at the level setting in force.
int ExportSearch(std::ostream& out, const std::string& searchText, int classValue, int effectId,
                 const FilterQuery& where);

// The stacking check of one spell. Errors go to `err` with status 1.
int ExportStacking(std::ostream& out, std::ostream& err, int index);

// The spells that differ between two spell files (FILE arguments: "-" is the
// standard input), at the level (0: ranges). Status 1 when either file does
// not open (after its "Error" message).
int ExportDiff(std::ostream& out, std::ostream& err, const char* oldPath, const char* newPath, int level);
