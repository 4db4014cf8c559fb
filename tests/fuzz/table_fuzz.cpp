// What the windows show for an arbitrary spell table: a detail window's
// content (every text within its buffer, rows only for shown slots, links to
// loaded spells only), effect sentences for arbitrary slot values, indexes
// and slots (out-of-range ones included), the stacking check and its rows,
// and the search rows.
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
    FUZZ_CHECK(content.linkedSpellIndex >= -1 && content.linkedSpellIndex < g_numSpells);
    FUZZ_CHECK(content.linkedSpellButton == (content.linkedSpellIndex >= 0));
    const SpellStruct& spell = g_spellArray.at(index);
    int shown = 0;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) shown += IsSlotShown(spell, k);
    FUZZ_CHECK(content.rowCount == shown);
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[r];
        FUZZ_CHECK(row.slot < NUM_EFFECT_SLOTS && IsSlotShown(spell, row.slot));
        FUZZ_CHECK(r == 0 || row.slot > content.rows[r - 1].slot);
        FUZZ_CHECK(IsTerminated(row.label) && IsTerminated(row.text));
        FUZZ_CHECK(std::strcmp(row.text.data(), spell.effectText[row.slot].data()) == 0);
        FUZZ_CHECK(row.linkIndex >= -1 && row.linkIndex < g_numSpells);
    }
    // The stacking check is offered exactly for spells that are not instant.
    FUZZ_CHECK(content.stackingButton == (spell.isInstant == 0));
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
    FUZZ_CHECK(IsTerminated(text) && text[0] != '\0');
    FUZZ_CHECK(link == -1 || (link >= 0 && link < g_numSpells));
    if (c.spellIndex >= 0 && c.spellIndex < MAX_SPELLS && c.slot >= 0 && c.slot < NUM_EFFECT_SLOTS) {
        const SpellStruct& spell = g_spellArray.at(c.spellIndex);
        FUZZ_CHECK(std::strcmp(spell.effectText[c.slot].data(), text.data()) == 0);
        FUZZ_CHECK(c.duration != 0 || spell.isInstant == 1);
    }
}

// Each taking-part slot once, in slot order, one below the other; in each,
// exactly the spells the rules pick (another id, a duration, the same effect
// in that slot, not an empty charisma), largest value first, each row with
// its spell's value, name and sentence (cut to fit).
void CheckStacking(int index)
{
    const SpellStruct given = index >= 0 && index < MAX_SPELLS ? g_spellArray.at(index) : SpellStruct{};
    std::vector<StackingSlot> slots;
    std::vector<std::vector<int>> listed;
    int lastValue = 0;
    const int shown = ForEachStackingSlot(
        index,
        [&](const StackingSlot& slot) {
            slots.push_back(slot);
            listed.emplace_back();
        },
        [&](const StackingSlot& slot, const StackingLine& line) {
            const auto k = slot.slot;
            const SpellStruct& other = g_spellArray.at(line.index);
            FUZZ_CHECK(line.index < g_numSpells && line.row == static_cast<int>(listed.back().size()));
            FUZZ_CHECK(line.value == StackingValue(other.base[k], other.max[k]) &&
                       line.name == other.name.data());
            FUZZ_CHECK(std::strncmp(other.effectText[k].data(), line.text, std::strlen(line.text)) == 0);
            FUZZ_CHECK(line.row == 0 || line.value <= lastValue);
            lastValue = line.value;
            listed.back().push_back(line.index);
        });
    FUZZ_CHECK(shown == (index < 0 || index >= MAX_SPELLS ? -1 : static_cast<int>(slots.size())));
    if (shown < 0) return;
    std::size_t n = 0;
    int top = STACK_FIRST_HEADER_TOP;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        if (!IsStackingSlot(given, k)) continue;
        FUZZ_CHECK(n < slots.size() && slots[n].slot == k && slots[n].headerField.top == top);
        FUZZ_CHECK(slots[n].lineCount == std::max(slots[n].rowCount, 1));
        FUZZ_CHECK(IsTerminated(slots[n].label) && std::atoi(slots[n].label.data() + 5) == k + 1);
        top = NextStackingHeaderTop(slots[n]);
        const auto s = k;
        std::vector<int> expected;
        for (int i = 0; i < g_numSpells; ++i) {
            const SpellStruct& other = g_spellArray.at(i);
            if (other.id != given.id && other.duration != 0 &&
                !(other.attrib[s] == 10 && other.base[s] == 0) && other.attrib[s] == given.attrib[s])
                expected.push_back(i);
        }
        std::vector<int>& got = listed[n];
        FUZZ_CHECK(static_cast<int>(got.size()) == slots[n++].rowCount);
        std::sort(got.begin(), got.end());
        FUZZ_CHECK(got == expected);
    }
    FUZZ_CHECK(n == slots.size());
}

// Upper-cases a to z only, as the search does.
std::string Upper(std::string text)
{
    for (char& c : text) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

// Each listed spell once, with a label that leaves room for its index: its
// name, or (searching by class) its class level, rows by level. Which spells
// are listed is worked out independently: text and name compared as the
// window shows them (UTF-8, or Latin-1 read as UTF-8), letters a to z in
// either case; a class matches with a level of 1 to 254.
void CheckSearch(const TextField& box, int classValue)
{
    std::vector<bool> seen(kFilledRecords);
    int lastLevel = INT_MIN;
    const int count = ForEachSpellRow(box.data(), classValue, [&](const char* label, int index) {
        FUZZ_CHECK(index >= 0 && index < g_numSpells && !seen[index]);
        seen[index] = true;
        FUZZ_CHECK(::strnlen(label, SPELL_FIELD_CHARS) <= SPELL_FIELD_CHARS - 1 - ROW_INDEX_DIGITS);
        if (classValue == 0) {
            FUZZ_CHECK(std::strncmp(g_spellArray.at(index).name.data(), label, std::strlen(label)) == 0);
        } else {
            const int level = ClassSearchLevel(g_spellArray.at(index), classValue);
            FUZZ_CHECK(level >= 1 && level <= 254 && std::atoi(label) == level && level >= lastLevel);
            lastLevel = level;
        }
    });
    FUZZ_CHECK(count == static_cast<int>(std::count(seen.begin(), seen.end(), true)));
    const std::string text = Upper(TextToUtf8(box.data()));
    for (int i = 0; i < kFilledRecords; ++i) {
        const SpellStruct& spell = g_spellArray.at(i);
        bool listed = classValue == 0;
        for (const ClassSelectorEntry& e : kClassSelector) {
            const int level = e.classIndex < 0 ? 0 : spell.classLevel[e.classIndex];
            listed = listed || ((classValue & e.value) != 0 && level >= 1 && level <= 254);
        }
        listed =
            listed && i < g_numSpells && Upper(TextToUtf8(spell.name.data())).find(text) != std::string::npos;
        FUZZ_CHECK(seen[i] == listed);
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
    const int index = PickSmallOrAny(input, -1, kFilledRecords);
    const int classValue =
        input.ConsumeBool() ? input.PickValueInArray(kClassSelector).value : input.ConsumeIntegral<int>();
    TextField box;  // the search box holds 259 characters
    CopyText(box, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 40).c_str());
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
    for (int i = 0; i < kFilledRecords; ++i) FillRecord(input, g_spellArray[i]);

    CheckContent(index);
    for (const Call& c : calls) CheckCall(c);
    CheckStacking(index);
    CheckSearch(box, classValue);
    return 0;
}
