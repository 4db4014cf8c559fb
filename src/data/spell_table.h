// A read-only view of one spell table: its records, how many of them count,
// and the id index built for them, if any. The description engine reads
// every record, name and id through such a view, so that the loaded table
// and a table read from another file are described alike.
#pragma once

#include "data/spell.h"

struct SpellIdIndex;

struct SpellTable {
    const SpellStruct* records = nullptr;
    int count = 0;                      // records [0, count)
    const SpellIdIndex* ids = nullptr;  // an index built for these records, or null: scan

    bool Contains(int index) const { return index >= 0 && index < count; }
    const SpellStruct& operator[](int index) const { return records[index]; }
    // Table index of the first record with the id, or -1.
    int Find(int spellId) const;
};

// The loaded table: g_spellArray with LoadedSpellCount() records, and
// g_spellIdIndex when it answers for that table.
SpellTable LoadedTable();
