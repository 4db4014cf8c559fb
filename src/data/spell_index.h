// An index from spell id to the table index of the first record with that
// id, so that turning an id into a record does not scan the table.
//
// Every load of g_spellArray builds g_spellIdIndex once (BuildSpellIdIndex).
// It answers only for the table it was built for: when g_numSpells no longer
// matches, or a record no longer holds the id the index found for it, the
// lookup falls back to scanning (SpellTable::Find). Code that writes ids into
// the table other than through a load clears it (InitGlobals does).
#pragma once

#include <array>
#include <cstdint>

#include "data/spell.h"

struct SpellIdIndex {
    struct Entry {
        int32_t id;
        int32_t index;  // the lowest table index holding this id
    };
    std::array<Entry, MAX_SPELLS> entries;  // sorted by id, each id once
    int size = 0;
    int builtFor = -1;   // the record count it was built for; -1: no index
    int generation = 0;  // counts the builds: each load of the table gets its own number
};

// The index of the loaded table. A plain value: saving and restoring it is a copy.
extern SpellIdIndex g_spellIdIndex;

// Builds `index` over records [0, count) (count is kept within 0..MAX_SPELLS).
void BuildSpellIdIndex(const SpellStruct* records, int count, SpellIdIndex& index);

// Builds g_spellIdIndex over g_spellArray[0 .. g_numSpells).
void BuildSpellIdIndex();

// Forgets the index of the loaded table; lookups scan until the next build.
void ClearSpellIdIndex();
