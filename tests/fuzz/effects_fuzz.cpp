// GenerateEffectString on arbitrary records and slot values at arbitrary
// level settings.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "effects/effects.h"
#include "fuzz_support.h"

namespace {

// Records the input fills; the rest of the table stays zero.
constexpr int kFilledRecords = 8;

// Ints the input picks from when it asks for an edge value.
constexpr std::array<int, 12> kEdgeInts = {INT_MIN, INT_MIN + 1, -1000000, -65, -1,   0,
                                           1,       65,          66,       254, 1589, INT_MAX};

int PickInt(FuzzedDataProvider& input)
{
    if (input.ConsumeBool()) return input.PickValueInArray(kEdgeInts);
    return input.ConsumeIntegral<int>();
}

void FillText(FuzzedDataProvider& input, TextField& field)
{
    const std::string text = input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 20);
    CopyText(field, text.c_str());
}

void FillRecord(FuzzedDataProvider& input, SpellStruct& spell)
{
    std::memset(static_cast<void*>(&spell), 0, sizeof spell);
    spell.id = PickInt(input);
    FillText(input, spell.name);
    FillText(input, spell.teleportZone);
    spell.beneficial = PickInt(input);
    spell.duration = PickInt(input);
    for (int& level : spell.classLevel) level = PickInt(input);
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        spell.attrib[k] = PickInt(input);
        spell.base[k] = PickInt(input);
        spell.max[k] = PickInt(input);
        spell.calc[k] = PickInt(input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // Settings and calls first: the records take whatever the input has left.
    // The reader never loads more than the table holds, nor less than -1.
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, MAX_SPELLS);
    g_levelEnable = PickInt(input);
    g_displayLevel = PickInt(input);
    struct Call {
        int spellIndex, attrib, base, max, calc, duration, slot;
    };
    std::vector<Call> calls(input.ConsumeIntegralInRange<std::size_t>(1, 12));
    for (Call& c : calls) {
        c.spellIndex =
            input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-2, kFilledRecords) : PickInt(input);
        c.attrib = input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-1, 160) : PickInt(input);
        c.base = PickInt(input);
        c.max = PickInt(input);
        c.calc = input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-2, 210) : PickInt(input);
        c.duration = PickInt(input);
        c.slot =
            input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-1, NUM_EFFECT_SLOTS) : PickInt(input);
    }
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[static_cast<std::size_t>(i)]);

    for (const auto& [spellIndex, attrib, base, max, calc, duration, slot] : calls) {
        TextField text;
        text.fill('X');
        int link = INT_MIN;
        const int result = GenerateEffectString(spellIndex, attrib, base, max, calc, duration, g_levelEnable,
                                                slot, text, &link);
        FUZZ_CHECK(result == 0);
        FUZZ_CHECK(IsTerminated(text));
        FUZZ_CHECK(text[0] != '\0');
        FUZZ_CHECK(link == -1 || (link >= 0 && link < g_numSpells));
        if (spellIndex >= 0 && spellIndex < MAX_SPELLS && slot >= 0 && slot < NUM_EFFECT_SLOTS) {
            const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(spellIndex)];
            FUZZ_CHECK(std::strcmp(spell.effectText[static_cast<std::size_t>(slot)].data(), text.data()) ==
                       0);
            if (duration == 0) FUZZ_CHECK(spell.isInstant == 1);
        }

        // Without a link pointer the sentence is the same.
        TextField again;
        GenerateEffectString(spellIndex, attrib, base, max, calc, duration, g_levelEnable, slot, again,
                             nullptr);
        FUZZ_CHECK(std::strcmp(again.data(), text.data()) == 0);
    }
    return 0;
}
