// A comparison of another spell file with the loaded one, as the comparison
// window shows it: the differences, a summary, one list row per difference
// and the fields of the selected one.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "compare/compare.h"
#include "compare/spell_texts.h"

struct SpellComparison {
    SpellTexts oldTexts;  // the other file's spells
    SpellTexts newTexts;  // the loaded spells
    std::vector<SpellDifference> differences;
    ChangeCounts counts;
    bool oldMoreLines = false;  // the other file held more lines than the table
    CompareLevel level = 0;
};

// Compares the spell file at `oldPath` with the loaded table at the level.
// The loaded table is left exactly as it was. Returns 0, or -1 when the file
// does not open (after its "Error" message; `comparison` is then empty).
int CompareWithLoadedSpells(const char* oldPath, CompareLevel level, SpellComparison& comparison);

// Which differences a list shows.
enum class ChangeFilter : int { All, Removed, Added, Changed };

// The differences of that kind whose name holds `namePart` (ignoring the
// case of the letters of Latin-1, as the main search does), as indexes into
// comparison.differences, sorted by id.
std::vector<int> FilterDifferences(const SpellComparison& comparison, ChangeFilter filter,
                                   std::string_view namePart);

// The id of a difference as the list shows it: "77", or "77#2" for the
// second record of the same id.
std::string DifferenceId(const SpellDifference& difference);

// The list row of a difference: its change, id (with "#2" and on for a later
// record of the same id, as in "77#2"), name, and for a changed spell how
// many fields differ.
std::string DifferenceRow(const SpellComparison& comparison, const SpellDifference& difference);

// What the comparison found, in a few sentences: the file compared, the
// counts, the level setting, and any reason the result needs a second look
// (a file cut at 4000 lines, an empty file, files sharing no id).
std::string ComparisonSummary(const SpellComparison& comparison, const char* oldPath);

// One field of the selected difference, old and new side by side with the
// words that differ marked. A removed spell shows its old texts only, an
// added one its new texts only; a changed one the fields that differ.
struct DetailField {
    int field = 0;
    std::string_view oldText;
    std::string_view newText;
    ChangedWords marks;
};
// Fills `fields` in the detail window's order; returns how many.
int DetailFields(const SpellComparison& comparison, const SpellDifference& difference,
                 std::array<DetailField, SPELL_TEXT_FIELDS>& fields);
