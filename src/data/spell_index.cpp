#include "data/spell_index.h"

#include <algorithm>

#include "data/spell_table.h"

SpellIdIndex g_spellIdIndex;

void BuildSpellIdIndex(const SpellStruct* records, int count, SpellIdIndex& index)
{
    count = records ? std::clamp(count, 0, MAX_SPELLS) : 0;
    auto& entries = index.entries;
    for (int i = 0; i < count; ++i) entries[static_cast<std::size_t>(i)] = {records[i].id, i};
    const auto end = entries.begin() + count;
    // By id, then by table index, so that the first of equal ids is the
    // lowest index: the record a scan would find.
    std::sort(entries.begin(), end,
              [](const auto& a, const auto& b) { return a.id != b.id ? a.id < b.id : a.index < b.index; });
    const auto last =
        std::unique(entries.begin(), end, [](const auto& a, const auto& b) { return a.id == b.id; });
    index.size = static_cast<int>(last - entries.begin());
    index.builtFor = count;
    ++index.generation;
}

void BuildSpellIdIndex()
{
    BuildSpellIdIndex(g_spellArray.data(), LoadedSpellCount(), g_spellIdIndex);
    // A failed load (-1) leaves no index to answer.
    g_spellIdIndex.builtFor = g_numSpells;
}

void ClearSpellIdIndex()
{
    g_spellIdIndex.size = 0;
    g_spellIdIndex.builtFor = -1;
}

int SpellTable::Find(int spellId) const
{
    if (ids && ids->builtFor >= 0 && ids->builtFor == count) {
        const auto begin = ids->entries.begin();
        const auto end = begin + ids->size;
        const auto it =
            std::lower_bound(begin, end, spellId, [](const auto& e, int id) { return e.id < id; });
        if (it == end || it->id != spellId) return -1;
        // A record changed since the build: the index no longer answers.
        if (Contains(it->index) && records[it->index].id == spellId) return it->index;
    }
    for (int index = 0; index < count; ++index) {
        if (records[index].id == spellId) return index;
    }
    return -1;
}

SpellTable LoadedTable()
{
    const bool indexed = g_spellIdIndex.builtFor >= 0 && g_spellIdIndex.builtFor == g_numSpells;
    return {g_spellArray.data(), LoadedSpellCount(), indexed ? &g_spellIdIndex : nullptr};
}
