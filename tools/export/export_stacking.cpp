// The exporter's stacking mode: what the stacking window of one spell shows,
// as one JSON object.
#include <nlohmann/json.hpp>
#include <ostream>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "effects/effects.h"
#include "export_modes.h"
#include "stacking/stacking.h"

namespace {

using Json = nlohmann::ordered_json;

// Generates the sentences of the slots the spell's detail window shows, in
// slot order, as filling that window does: the stacking headers are these
// cached sentences, and a spell without a duration becomes instant here.
void CacheDetailSentences(int index)
{
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (!IsSlotShown(spell, slot)) continue;
        const auto k = static_cast<std::size_t>(slot);
        TextField text{};
        int link = -1;
        GenerateEffectString(index, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k],
                             spell.duration, g_levelEnable, slot, text, &link);
    }
}

}  // namespace

int ExportStacking(std::ostream& out, std::ostream& err, int index)
{
    const int numSpells = LoadedSpellCount();
    if (index < 0 || index >= numSpells) {
        err << "rivizuzi-export: " << index << " is not the table index of a loaded spell (0 to "
            << numSpells - 1 << ")\n";
        return 1;
    }
    CacheDetailSentences(index);
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    if (spell.isInstant != 0) {
        err << "rivizuzi-export: spell " << index << " is instant: its window has no stacking check\n";
        return 1;
    }
    if (spell.id < 0) {
        err << "rivizuzi-export: spell " << index << " has a negative id: its stacking check shows nothing\n";
        return 1;
    }

    Json object;
    object["index"] = index;
    Json& slots = object["slots"] = Json::array();
    ForEachStackingSlot(
        index,
        [&slots](const StackingSlot& s) {
            Json slot;
            slot["slot"] = s.slot + 1;
            slot["header"] = TextToUtf8(s.header);
            slot["rows"] = Json::array();
            slots.push_back(std::move(slot));
        },
        [&slots](const StackingSlot&, const StackingLine& line) {
            Json row;
            row["value"] = line.value;
            row["index"] = line.index;
            row["name"] = TextToUtf8(line.name);
            row["text"] = TextToUtf8(line.text);
            slots.back()["rows"].push_back(std::move(row));
        });
    out << object.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    out.flush();
    return out ? 0 : 1;
}
