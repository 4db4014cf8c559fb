// The comparison of two spell files by what the detail window shows: spells
// matched by id (the k-th record holding an id in one file with the k-th in
// the other), each difference one removed, added or changed spell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "compare/spell_texts.h"

enum class SpellChange : uint8_t { Removed, Added, Changed };

struct SpellDifference {
    SpellChange change = SpellChange::Changed;
    int32_t id = 0;
    int occurrence = 0;   // 0 for the first record with this id in its file
    int oldIndex = -1;    // table index in the old file, -1 for an added spell
    int newIndex = -1;    // table index in the new file, -1 for a removed spell
    uint64_t fields = 0;  // changed spells: bit f set when field f differs
};
static_assert(SPELL_TEXT_FIELDS <= 64, "a difference keeps its changed fields in 64 bits");

// Every spell that differs, sorted by id, then by occurrence. A field differs
// when its text does; an effect slot shown in one file only compares with "".
std::vector<SpellDifference> CompareSpellTexts(const SpellTexts& oldTexts, const SpellTexts& newTexts);

// The spell's name as the newer file shows it (the old one for a removed spell).
std::string_view DifferenceName(const SpellDifference& difference, const SpellTexts& oldTexts,
                                const SpellTexts& newTexts);

struct ChangeCounts {
    int removed = 0;
    int added = 0;
    int changed = 0;
};
ChangeCounts CountChanges(const std::vector<SpellDifference>& differences);

// The words of two texts that differ: the words both begin and end with are
// left out; each text's differing part is [begin, end) in bytes. Words are
// runs of characters other than white space. Texts that differ only in their
// white space are different as a whole.
struct ChangedWords {
    std::size_t oldBegin = 0;
    std::size_t oldEnd = 0;
    std::size_t newBegin = 0;
    std::size_t newEnd = 0;
};
ChangedWords FindChangedWords(std::string_view oldText, std::string_view newText);

// True when `name` holds `part`, ignoring the case of the letters of Latin-1
// (NameSearchText). An empty part is in every name.
bool NameContains(std::string_view name, std::string_view part);
