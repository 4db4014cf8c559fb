#include "list/effect_filter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "effects/effects.h"

bool IsSelectableEffect(int effectId)
{
    return effects::LookUpEffect(effectId).label[0] != '\0';
}

const std::array<EffectSelectorEntry, NUM_EFFECT_SELECTOR_VALUES>& EffectSelector()
{
    static const auto table = [] {
        std::array<EffectSelectorEntry, NUM_EFFECT_SELECTOR_VALUES> entries{};
        entries[0].value = ANY_EFFECT;
        CopyText(entries[0].label, "Any effect");
        std::size_t count = 1;
        for (int id = 0; id <= effects::kHighestEffectId && count < entries.size(); ++id) {
            if (!IsSelectableEffect(id)) continue;
            EffectSelectorEntry& entry = entries[count++];
            entry.value = id;
            std::snprintf(entry.label.data(), entry.label.size(), "%s (%d)", effects::LookUpEffect(id).label,
                          id);
        }
        std::sort(entries.begin() + 1, entries.begin() + static_cast<std::ptrdiff_t>(count),
                  [](const EffectSelectorEntry& a, const EffectSelectorEntry& b) {
                      const int order = std::strcmp(effects::LookUpEffect(a.value).label,
                                                    effects::LookUpEffect(b.value).label);
                      return order != 0 ? order < 0 : a.value < b.value;
                  });
        return entries;
    }();
    return table;
}

bool SpellHasShownEffect(const SpellStruct& spell, int effectId)
{
    if (effectId == ANY_EFFECT) return true;
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (spell.attrib[static_cast<std::size_t>(slot)] == effectId && IsSlotShown(spell, slot)) return true;
    }
    return false;
}
