// The detail window's content on arbitrary records: every text within its
// buffer, rows only for shown slots, links to loaded spells only.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstring>
#include <string>

#include "effects/effects.h"
#include "fuzz_support.h"
#include "popup/spell_panel.h"

namespace {

constexpr int kFilledRecords = 8;

constexpr std::array<int, 12> kEdgeInts = {INT_MIN, INT_MIN + 1, -1000000, -1,  0,      1,
                                           85,      232,         254,      255, 100000, INT_MAX};

int PickInt(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.PickValueInArray(kEdgeInts) : input.ConsumeIntegral<int>();
}

void FillText(FuzzedDataProvider& input, TextField& field)
{
    CopyText(field, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 10).c_str());
}

// Every field the panel shows, from the input.
void FillRecord(FuzzedDataProvider& input, SpellStruct& s)
{
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    if (input.remaining_bytes() == 0) return;
    s.id = input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 6) : PickInt(input);
    for (TextField* text : {&s.name, &s.teleportZone, &s.message1, &s.message2, &s.message3})
        FillText(input, *text);
    for (int* value :
         {&s.col19, &s.duration, &s.col9, &s.col10, &s.col11, &s.col18, &s.beneficial, &s.resistType,
          &s.targetType, &s.skill, &s.environment, &s.timeOfDay, &s.col147, &s.linkedSpell}) {
        *value = PickInt(input);
    }
    s.seconds13 = PickInt(input) / 1000.0;
    s.seconds14 = PickInt(input) / 1000.0;
    s.seconds15 = PickInt(input) / 1000.0;
    for (int& level : s.classLevel) level = PickInt(input);
    for (std::size_t i = 0; i < NUM_REAGENTS; ++i) {
        s.reagentId[i] = PickInt(input);
        s.reagentCount[i] = PickInt(input);
    }
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        s.attrib[k] = input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 255) : PickInt(input);
        s.base[k] = input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 6) : PickInt(input);
        s.max[k] = PickInt(input);
        s.calc[k] = PickInt(input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, kFilledRecords);
    g_levelEnable = PickInt(input);
    g_displayLevel = PickInt(input);
    const int index = input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, kFilledRecords) : PickInt(input);
    // The records take whatever the input has left.
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[static_cast<std::size_t>(i)]);

    static SpellPanelContent content;
    content = SpellPanelContent{};
    const int result = BuildSpellPanelContent(index, content);
    if (index < 0 || index >= g_numSpells) {
        FUZZ_CHECK(result == -1);
        return 0;
    }
    FUZZ_CHECK(result == 0);
    for (const TextField& text : content.texts) FUZZ_CHECK(IsTerminated(text));
    FUZZ_CHECK(content.linkedSpellIndex == -1 ||
               (content.linkedSpellIndex >= 0 && content.linkedSpellIndex < g_numSpells));
    FUZZ_CHECK(content.linkedSpellButton == (content.linkedSpellIndex >= 0));

    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    FUZZ_CHECK(content.rowCount >= 0 && content.rowCount <= NUM_EFFECT_SLOTS);
    int shown = 0;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) shown += IsSlotShown(spell, k);
    FUZZ_CHECK(content.rowCount == shown);
    int lastSlot = -1;
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        FUZZ_CHECK(row.slot > lastSlot && row.slot < NUM_EFFECT_SLOTS && IsSlotShown(spell, row.slot));
        lastSlot = row.slot;
        FUZZ_CHECK(IsTerminated(row.label) && IsTerminated(row.text));
        FUZZ_CHECK(
            std::strcmp(row.text.data(), spell.effectText[static_cast<std::size_t>(row.slot)].data()) == 0);
        FUZZ_CHECK(row.linkIndex == -1 || (row.linkIndex >= 0 && row.linkIndex < g_numSpells));
    }
    // The stacking check is offered exactly for spells that are not instant.
    FUZZ_CHECK(content.stackingButton == (spell.isInstant == 0));
    return 0;
}
