#include "popup/panel_snapshot.h"

#include "effects/effects.h"

int DescribeSpellSnapshot(int index, int level, SpellPanelContent& content)
{
    if (!IsLoadedIndex(index)) return -1;
    SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    const int levelEnable = g_levelEnable;
    const int displayLevel = g_displayLevel;
    const int32_t isInstant = spell.isInstant;
    const auto effectText = spell.effectText;
    g_levelEnable = level > 0 ? 1 : 0;
    if (level > 0) g_displayLevel = level;
    // The instant flag as a fresh description sees it: set only by this one.
    spell.isInstant = 0;
    const int result = BuildSpellPanelContent(index, content);
    spell.isInstant = isInstant;
    spell.effectText = effectText;
    g_levelEnable = levelEnable;
    g_displayLevel = displayLevel;
    return result;
}

int DescribeSlotLink(int index, int slot)
{
    if (!IsLoadedIndex(index) || slot < 0 || slot >= NUM_EFFECT_SLOTS) return -1;
    SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    const auto k = static_cast<std::size_t>(slot);
    const TextField cached = spell.effectText[k];
    const int32_t isInstant = spell.isInstant;
    TextField text{};
    int link = -1;
    GenerateEffectString(index, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k], spell.duration,
                         g_levelEnable, slot, text, &link);
    spell.effectText[k] = cached;
    spell.isInstant = isInstant;
    return link;
}
