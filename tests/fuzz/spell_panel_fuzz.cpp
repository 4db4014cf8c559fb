// The detail window's content on arbitrary records (every text within its
// buffer, rows only for shown slots, links to loaded spells only), and
// GenerateEffectString called with arbitrary slot values, indexes and slots,
// out-of-range ones included.
#include <climits>
#include <cstring>
#include <vector>

#include "effects/effects.h"
#include "fuzz_support.h"
#include "popup/spell_panel.h"

namespace {

constexpr int kFilledRecords = 8;

struct Call {
    int spellIndex, attrib, base, max, calc, duration, slot;
};

void CheckContent(int index)
{
    static SpellPanelContent content;
    content = SpellPanelContent{};
    const int result = BuildSpellPanelContent(index, content);
    if (index < 0 || index >= g_numSpells) {
        FUZZ_CHECK(result == -1);
        return;
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
}

void CheckCall(const Call& c)
{
    TextField text;
    text.fill('X');
    int link = INT_MIN;
    const int result = GenerateEffectString(c.spellIndex, c.attrib, c.base, c.max, c.calc, c.duration,
                                            g_levelEnable, c.slot, text, &link);
    FUZZ_CHECK(result == 0);
    FUZZ_CHECK(IsTerminated(text));
    FUZZ_CHECK(text[0] != '\0');
    FUZZ_CHECK(link == -1 || (link >= 0 && link < g_numSpells));
    if (c.spellIndex >= 0 && c.spellIndex < MAX_SPELLS && c.slot >= 0 && c.slot < NUM_EFFECT_SLOTS) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(c.spellIndex)];
        FUZZ_CHECK(std::strcmp(spell.effectText[static_cast<std::size_t>(c.slot)].data(), text.data()) == 0);
        if (c.duration == 0) FUZZ_CHECK(spell.isInstant == 1);
    }
    // Without a link pointer the sentence is the same.
    TextField again;
    GenerateEffectString(c.spellIndex, c.attrib, c.base, c.max, c.calc, c.duration, g_levelEnable, c.slot,
                         again, nullptr);
    FUZZ_CHECK(std::strcmp(again.data(), text.data()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // Settings and calls first: the records take whatever the input has left.
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, kFilledRecords);
    g_levelEnable = PickInt(input);
    g_displayLevel = PickInt(input);
    const int index = PickSmallOrAny(input, -1, kFilledRecords);
    std::vector<Call> calls(input.ConsumeIntegralInRange<std::size_t>(0, 12));
    for (Call& c : calls) {
        c = {PickSmallOrAny(input, -2, kFilledRecords),
             PickSmallOrAny(input, -1, 160),
             PickInt(input),
             PickInt(input),
             PickSmallOrAny(input, -2, 210),
             PickInt(input),
             PickSmallOrAny(input, -1, NUM_EFFECT_SLOTS)};
    }
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[static_cast<std::size_t>(i)]);

    CheckContent(index);
    for (const Call& c : calls) CheckCall(c);
    return 0;
}
