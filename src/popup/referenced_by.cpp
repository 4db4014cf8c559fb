#include "popup/referenced_by.h"

#include <algorithm>
#include <vector>

#include "data/spell_index.h"
#include "effects/effect_catalogue.h"
#include "effects/effects.h"
#include "popup/spell_panel.h"

ReferencedByIndex g_referencedBy;

void BuildReferencedBy(ReferencedByIndex& index)
{
    const SpellTable table = LoadedTable();
    const int count = table.count;
    // Pairs (target, referrer), collected in referrer order.
    std::vector<std::pair<int16_t, int16_t>> pairs;
    pairs.reserve(static_cast<std::size_t>(count) * 2);
    TextField name{};
    TextField text{};
    for (int i = 0; i < count; ++i) {
        const SpellStruct& spell = table[i];
        std::array<int, NUM_EFFECT_SLOTS + 1> targets{};
        std::size_t n = 0;
        auto add = [&](int target) {
            const auto end = targets.begin() + static_cast<std::ptrdiff_t>(n);
            if (!table.Contains(target) || std::find(targets.begin(), end, target) != end) return;
            targets[n++] = target;
            pairs.emplace_back(static_cast<int16_t>(target), static_cast<int16_t>(i));
        };
        add(LinkedSpellIndex(table, spell, name));
        // Only a sentence that names a spell links: the others need not be written.
        for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
            const auto k = static_cast<std::size_t>(slot);
            if (!IsSlotShown(spell, slot) ||
                !effects::LinksToSpell(effects::LookUpEffect(spell.attrib[k]).kind))
                continue;
            int link = -1;
            DescribeEffect(table, spell, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k],
                           spell.duration, slot, LevelSetting{}, text, &link);
            add(link);
        }
    }
    // A counting sort by target keeps each target's referrers in table order.
    index.starts.fill(0);
    for (const auto& [target, referrer] : pairs) ++index.starts[static_cast<std::size_t>(target) + 1];
    for (std::size_t j = 1; j < index.starts.size(); ++j) index.starts[j] += index.starts[j - 1];
    std::array<int32_t, MAX_SPELLS> next{};
    std::copy_n(index.starts.begin(), MAX_SPELLS, next.begin());
    for (const auto& [target, referrer] : pairs)
        index.refs[static_cast<std::size_t>(next[static_cast<std::size_t>(target)]++)] = referrer;
    index.count = count;
    index.generation = g_spellIdIndex.builtFor == g_numSpells ? g_spellIdIndex.generation : -1;
}

void UpdateReferencedBy()
{
    // The id index is built once per load: its build number names the load.
    const bool loadIndexed = g_spellIdIndex.builtFor == g_numSpells;
    if (loadIndexed && g_referencedBy.generation == g_spellIdIndex.generation &&
        g_referencedBy.count == LoadedSpellCount())
        return;
    BuildReferencedBy(g_referencedBy);
}

ReferencedByPlace PlaceReferencedBy(int panelHeight, int count)
{
    constexpr int kRowPixels = 20;
    constexpr int kVisibleRows = 5;
    constexpr int kListFrame = 6;
    constexpr int kGapAbove = 5;
    constexpr int kGapBelow = 10;
    if (count <= 0) return {0, 0, panelHeight};
    ReferencedByPlace place;
    place.top = panelHeight - kGapAbove;
    place.listHeight = kListFrame + kRowPixels * std::min(count, kVisibleRows);
    place.panelHeight = place.top + place.listHeight + kGapBelow;
    return place;
}

std::span<const int16_t> ReferencedBy(const ReferencedByIndex& index, int spell)
{
    if (spell < 0 || spell >= index.count) return {};
    const auto begin = static_cast<std::size_t>(index.starts[static_cast<std::size_t>(spell)]);
    const auto end = static_cast<std::size_t>(index.starts[static_cast<std::size_t>(spell) + 1]);
    return std::span<const int16_t>(index.refs).subspan(begin, end - begin);
}
