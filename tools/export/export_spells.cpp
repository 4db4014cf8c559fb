// The exporter's base mode: each loaded spell with the sentences of the
// effect slots its detail window shows.
#include <nlohmann/json.hpp>
#include <ostream>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "effects/effects.h"
#include "export_modes.h"
#include "export_panel.h"

namespace {

using Json = nlohmann::ordered_json;

// The shown slots, numbered 1 to 12, each with its sentence and link.
Json BuildEffects(int index)
{
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    Json effects = Json::array();
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (!IsSlotShown(spell, slot)) continue;
        const auto k = static_cast<std::size_t>(slot);
        TextField text{};
        int link = -1;
        GenerateEffectString(index, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k],
                             spell.duration, g_levelEnable, slot, text, &link);
        Json effect;
        effect["slot"] = slot + 1;
        effect["text"] = TextToUtf8(text.data());
        effect["link"] = link;
        effects.push_back(std::move(effect));
    }
    return effects;
}

// One spell's object.
Json BuildSpellObject(int index)
{
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    Json object;
    object["index"] = index;
    object["id"] = spell.id;
    object["name"] = TextToUtf8(spell.name.data());
    object["effects"] = BuildEffects(index);
    object["panel"] = BuildPanelJson(index);
    return object;
}

}  // namespace

int ExportSpells(std::ostream& out)
{
    const int count = g_numSpells < MAX_SPELLS ? g_numSpells : MAX_SPELLS;
    for (int index = 0; index < count; ++index) {
        out << BuildSpellObject(index).dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    }
    out.flush();
    return out ? 0 : 1;
}
