// The exporter's modes. Each writes JSON lines to `out` from the loaded
// table and returns the process exit status.
#pragma once

#include <iosfwd>
#include <string>

// One object per loaded record: index, id, name, the shown effect slots.
int ExportSpells(std::ostream& out);

// One object per row of the spell list a search would show (effectId
// ANY_EFFECT: no effect filter).
int ExportSearch(std::ostream& out, const std::string& searchText, int classValue, int effectId);

// The stacking check of one spell. Errors go to `err` with status 1.
int ExportStacking(std::ostream& out, std::ostream& err, int index);
