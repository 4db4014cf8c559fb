// What the windows show of an arbitrary spell table: a detail window's content, effect sentences
// for arbitrary (also out-of-range) values, indexes and slots, the stacking check and the search rows.
#include <algorithm>
#include <vector>

#include "data/text_encoding.h"
#include "effects/effects.h"
#include "fuzz_support.h"
#include "list/search.h"
#include "popup/spell_panel.h"
#include "stacking/stacking.h"

namespace {

constexpr int kFilledRecords = 24;

void CheckContent(int index)
{
    static SpellPanelContent content;
    const int result = BuildSpellPanelContent(index, content);
    FUZZ_CHECK(result == (index < 0 || index >= g_numSpells ? -1 : 0));
    if (result != 0) return;
    for (const TextField& text : content.texts) FUZZ_CHECK(IsTerminated(text));
    FUZZ_CHECK(content.linkedSpellIndex >= -1 && content.linkedSpellIndex < g_numSpells &&
               content.linkedSpellButton == (content.linkedSpellIndex >= 0));
    const SpellStruct& spell = g_spellArray[index];
    int r = 0;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        if (!IsSlotShown(spell, k)) continue;
        const EffectRowContent& row = content.rows[r++];
        FUZZ_CHECK(row.slot == k && IsTerminated(row.label) && row.linkIndex >= -1 &&
                   row.linkIndex < g_numSpells &&
                   std::strcmp(row.text.data(), spell.effectText[k].data()) == 0);
    }
    // A row for each shown slot; the stacking check offered exactly for spells that are not instant.
    FUZZ_CHECK(content.rowCount == r && content.stackingButton == (spell.isInstant == 0));
}

struct Call {
    int spellIndex, attrib, base, max, calc, duration, slot;
};

void CheckCall(const Call& c)
{
    TextField text;
    text.fill('X');
    int link = INT_MIN;
    FUZZ_CHECK(GenerateEffectString(c.spellIndex, c.attrib, c.base, c.max, c.calc, c.duration, g_levelEnable,
                                    c.slot, text, &link) == 0);
    FUZZ_CHECK(IsTerminated(text) && text[0] != '\0' && (link == -1 || (link >= 0 && link < g_numSpells)));
    if (c.spellIndex < 0 || c.spellIndex >= MAX_SPELLS || c.slot < 0 || c.slot >= NUM_EFFECT_SLOTS) return;
    const SpellStruct& spell = g_spellArray[c.spellIndex];
    FUZZ_CHECK(std::strcmp(spell.effectText[c.slot].data(), text.data()) == 0 &&
               (c.duration != 0 || spell.isInstant));
}

// Each taking-part slot once, in order, one below the other; in each, exactly the spells of another
// id with a duration and the same effect there (not an empty charisma), largest value first.
void CheckStacking(int index)
{
    const SpellStruct given = index >= 0 && index < MAX_SPELLS ? g_spellArray[index] : SpellStruct{};
    std::vector<std::pair<StackingSlot, std::vector<int>>> slots;  // and the indexes listed
    int lastValue = 0;
    const int shown = ForEachStackingSlot(
        index,
        [&](const StackingSlot& slot) {
            slots.push_back({slot, {}});
        },
        [&](const StackingSlot& slot, const StackingLine& line) {
            const SpellStruct& other = g_spellArray[line.index];
            const int k = slot.slot;
            FUZZ_CHECK(line.index < g_numSpells && line.row == static_cast<int>(slots.back().second.size()) &&
                       (line.row == 0 || line.value <= lastValue));
            FUZZ_CHECK(line.value == StackingValue(other.base[k], other.max[k]) &&
                       line.name == other.name.data());
            FUZZ_CHECK(std::strncmp(other.effectText[k].data(), line.text, std::strlen(line.text)) == 0);
            lastValue = line.value;
            slots.back().second.push_back(line.index);
        });
    FUZZ_CHECK(shown == (index < 0 || index >= MAX_SPELLS ? -1 : static_cast<int>(slots.size())));
    if (shown < 0) return;
    std::size_t n = 0;
    int top = STACK_FIRST_HEADER_TOP;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        if (!IsStackingSlot(given, k)) continue;
        auto& [slot, got] = slots.at(n++);
        FUZZ_CHECK(slot.slot == k && slot.headerField.top == top &&
                   slot.lineCount == std::max(slot.rowCount, 1));
        FUZZ_CHECK(IsTerminated(slot.label) && std::atoi(slot.label.data() + 5) == k + 1);
        top = NextStackingHeaderTop(slot);
        std::vector<int> expected;
        for (int i = 0; i < g_numSpells; ++i) {
            const SpellStruct& o = g_spellArray[i];
            if (o.id != given.id && o.duration != 0 && !(o.attrib[k] == 10 && o.base[k] == 0) &&
                o.attrib[k] == given.attrib[k])
                expected.push_back(i);
        }
        std::sort(got.begin(), got.end());
        FUZZ_CHECK(static_cast<int>(got.size()) == slot.rowCount && got == expected);
    }
    FUZZ_CHECK(n == slots.size());
}

// Each listed spell once, its label (its name, or its class level, rows by level) leaving room for the
// index; listed when its name as shown (UTF-8) holds the text, its letters in either case, and a class
// matches.
void CheckSearch(const TextField& box, int classValue)
{
    std::vector<bool> seen(kFilledRecords);
    int lastLevel = classValue == 0 ? 0 : 1;
    const int count = ForEachSpellRow(box.data(), classValue, [&](const char* label, int index) {
        FUZZ_CHECK(index >= 0 && index < g_numSpells && !seen[index] &&
                   std::strlen(label) <= SPELL_FIELD_CHARS - 1 - ROW_INDEX_DIGITS);
        FUZZ_CHECK(classValue != 0 ||
                   std::strncmp(g_spellArray[index].name.data(), label, std::strlen(label)) == 0);
        const int level = classValue == 0 ? 0 : ClassSearchLevel(g_spellArray[index], classValue);
        FUZZ_CHECK(level >= lastLevel && (classValue == 0 || (level <= 254 && std::atoi(label) == level)));
        lastLevel = level;
        seen[index] = true;
    });
    FUZZ_CHECK(count == std::count(seen.begin(), seen.end(), true));
    // Upper case of a to z, and of the Latin-1 letters a-grave to thorn (not the division sign), which
    // UTF-8 writes as C3 A0 to C3 BE: their second byte loses 0x20.
    const auto upper = [](std::string text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto b = static_cast<unsigned char>(text[i]);
            if (b >= 'a' && b <= 'z') text[i] = static_cast<char>(b - 'a' + 'A');
            if (i > 0 && static_cast<unsigned char>(text[i - 1]) == 0xC3 && b >= 0xA0 && b <= 0xBE &&
                b != 0xB7)
                text[i] = static_cast<char>(b - 0x20);
        }
        return text;
    };
    const std::string text = upper(TextToUtf8(box.data()));
    for (int i = 0; i < kFilledRecords; ++i) {
        const SpellStruct& spell = g_spellArray[i];
        bool inClass = classValue == 0;
        for (const ClassSelectorEntry& e : kClassSelector) {
            const int level = e.classIndex < 0 ? 0 : spell.classLevel[e.classIndex];
            inClass = inClass || ((classValue & e.value) != 0 && level >= 1 && level <= 254);
        }
        const std::string name = upper(TextToUtf8(spell.name.data()));
        FUZZ_CHECK(seen[i] == (i < g_numSpells && inClass && name.find(text) != std::string::npos));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // Settings, indexes and calls first: the records take whatever the input has left.
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, kFilledRecords);
    g_levelEnable = PickInt(input);
    g_displayLevel = PickInt(input);
    const int index = PickInt(input, -1, kFilledRecords);
    const int classValue =
        input.ConsumeBool() ? input.PickValueInArray(kClassSelector).value : input.ConsumeIntegral<int>();
    TextField box;  // the search box holds 259 characters
    CopyText(box, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 40).c_str());
    std::vector<Call> calls(input.ConsumeIntegralInRange<std::size_t>(0, 12));
    for (Call& c : calls) {
        c = {PickInt(input, -2, kFilledRecords),
             PickInt(input, -1, 160),
             PickInt(input),
             PickInt(input),
             PickInt(input, -2, 210),
             PickInt(input),
             PickInt(input, -1, NUM_EFFECT_SLOTS)};
    }
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[i]);

    CheckContent(index);
    for (const Call& c : calls) CheckCall(c);
    CheckStacking(index);
    CheckSearch(box, classValue);
    return 0;
}
