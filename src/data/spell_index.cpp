#include "data/spell_index.h"

#include <algorithm>

SpellIdIndex g_spellIdIndex;

void BuildSpellIdIndex()
{
    auto& entries = g_spellIdIndex.entries;
    const int count = LoadedSpellCount();
    for (int i = 0; i < count; ++i) {
        entries[static_cast<std::size_t>(i)] = {g_spellArray[static_cast<std::size_t>(i)].id, i};
    }
    const auto end = entries.begin() + count;
    // By id, then by table index, so that the first of equal ids is the
    // lowest index: the record a scan would find.
    std::sort(entries.begin(), end,
              [](const auto& a, const auto& b) { return a.id != b.id ? a.id < b.id : a.index < b.index; });
    const auto last =
        std::unique(entries.begin(), end, [](const auto& a, const auto& b) { return a.id == b.id; });
    g_spellIdIndex.size = static_cast<int>(last - entries.begin());
    g_spellIdIndex.builtFor = g_numSpells;
    ++g_spellIdIndex.generation;
}

void ClearSpellIdIndex()
{
    g_spellIdIndex.size = 0;
    g_spellIdIndex.builtFor = -1;
}

bool LookUpSpellId(int spellId, int& index)
{
    if (g_spellIdIndex.builtFor < 0 || g_spellIdIndex.builtFor != g_numSpells) return false;
    const auto begin = g_spellIdIndex.entries.begin();
    const auto end = begin + g_spellIdIndex.size;
    const auto it = std::lower_bound(begin, end, spellId, [](const auto& e, int id) { return e.id < id; });
    if (it == end || it->id != spellId) {
        index = -1;
        return true;
    }
    // A record changed since the build: the index no longer answers.
    if (g_spellArray[static_cast<std::size_t>(it->index)].id != spellId) return false;
    index = it->index;
    return true;
}
