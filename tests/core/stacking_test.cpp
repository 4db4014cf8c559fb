// The stacking check: which spells a slot lists, their values, order and
// sentences, the rows that carry them, how the slots stack up, and the
// exporter's stacking mode.
#include "stacking/stacking.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "effects/effects.h"
#include "stacking/stacking_uir.h"
#include "test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kCharisma = 10;
constexpr int kWeaponProc = 85;

struct Listed {
    int value;
    int index;
    std::string text;
    StackingLine layout;
};

struct Shown {
    StackingSlot layout;
    std::string label;
    std::string header;
    std::vector<Listed> lines;
};

class Stacking : public testsupport::SpellTableTest {
protected:
    static int Add(int id, int duration = 10)
    {
        int index = 0;
        AddSpell(id, "Spell " + std::to_string(g_numSpells), &index).duration = duration;
        return index;
    }
    static void Slot(int index, int slot, int attrib, int base, int max = 0, int calc = 100)
    {
        SetSlot(g_spellArray[static_cast<std::size_t>(index)], slot, attrib, base, max, calc);
    }

    static std::vector<Shown> Run(int index)
    {
        std::vector<Shown> slots;
        const int shown = ForEachStackingSlot(
            index,
            [&](const StackingSlot& s) {
                slots.push_back({s, s.label.data(), s.header, {}});
            },
            [&](const StackingSlot&, const StackingLine& l) {
                slots.back().lines.push_back({l.value, l.index, l.text, l});
            });
        EXPECT_EQ(shown, static_cast<int>(slots.size()));
        return slots;
    }

    static std::vector<int> Indexes(const Shown& slot)
    {
        std::vector<int> indexes;
        for (const Listed& line : slot.lines) indexes.push_back(line.index);
        return indexes;
    }
};

TEST_F(Stacking, ListsOtherIdsWithADurationAndTheSameEffectInTheSameSlotLargestFirst)
{
    const int given = Add(100);
    Slot(given, 2, kCharisma, 5);
    const int eight = Add(101);
    Slot(eight, 2, kCharisma, 8);
    Slot(Add(102, 0), 2, kCharisma, 9);  // instant
    Slot(Add(103), 3, kCharisma, 9);     // another slot
    Slot(Add(100), 2, kCharisma, 9);     // the same id
    Slot(Add(104), 2, kCharisma, 0);     // empty charisma
    Slot(Add(105), 2, kArmorClass, 9);   // another effect
    const int negative = Add(106, -1);   // a negative duration counts
    Slot(negative, 2, kCharisma, 30, 0, 100);
    const int minus = Add(107);
    Slot(minus, 2, kCharisma, -10);

    const std::vector<Shown> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(Indexes(slots[0]), (std::vector<int>{negative, eight, minus}));
    EXPECT_EQ(slots[0].lines[0].value, 30);
    EXPECT_EQ(slots[0].lines[2].value, -10);
    EXPECT_EQ(slots[0].lines[2].text, "Decrease Charisma by 10");
    EXPECT_EQ(g_spellArray[2].isInstant, 0) << "the instant spell was never described";
}

TEST(StackingRows, ValueFollowsBaseAndMaxAndRowsReadBack)
{
    const struct {
        int base, max, value;
    } values[] = {{10, 0, 10},   {10, 50, 50}, {-10, 50, -50}, {-10, -50, -50},
                  {5, -20, -20}, {0, 7, 7},    {-3, 0, -3}};
    for (const auto& c : values) EXPECT_EQ(StackingValue(c.base, c.max), c.value) << c.base << " " << c.max;

    const struct {
        int value, index;
        const char* row;
    } rows[] = {{7, 12, "+00007 00012 Some sentence"},
                {-7, 12, "-00007 00012 Some sentence"},
                {0, 0, "+00000 00000 Some sentence"},
                {123456, 3999, "+123456 03999 Some sentence"}};
    for (const auto& c : rows) {
        TextField row{};
        FormatStackingRow(row, c.value, c.index, "Some sentence");
        EXPECT_STREQ(row.data(), c.row);
    }

    // A long sentence is cut, never the numbers.
    const std::string sentence(SPELL_FIELD_CHARS - 1, 'x');
    for (const int value : {7, INT_MIN, INT_MAX}) {
        TextField row{};
        FormatStackingRow(row, value, 3999, sentence.c_str());
        int readValue = 0;
        int readIndex = 0;
        const char* text = nullptr;
        ASSERT_TRUE(ReadStackingRow(row, readValue, readIndex, text));
        EXPECT_EQ(readValue, value);
        EXPECT_EQ(readIndex, 3999);
        EXPECT_EQ(std::string(text), sentence.substr(0, std::strlen(text)));
        EXPECT_GE(std::strlen(text), 241u);
    }
    for (const char* text : {"", "abc", "+00007", "+00007 x"}) {
        TextField row{};
        CopyText(row, text);
        int value = 0;
        int index = 0;
        const char* rest = nullptr;
        EXPECT_FALSE(ReadStackingRow(row, value, index, rest)) << text;
    }
}

TEST_F(Stacking, LeftOutSlotsTakeNoRoomAndEachSlotFollowsTheLastLineOfThePrevious)
{
    const int given = Add(1);
    Slot(given, 0, kArmorClass, 5);
    Slot(given, 1, 35, 2);  // disease counter
    Slot(given, 2, kCharisma, 0);
    Slot(given, 3, 36, 2);  // poison counter
    Slot(given, 4, kHitpoints, 10);
    Slot(given, 5, 79, 20);  // current hitpoints
    Slot(given, 6, 116, 1);  // curse
    Slot(given, 11, kCharisma, 3);
    CopyText(g_spellArray[0].effectText[0], "cached one");
    const int a = Add(2);
    Slot(a, 0, kArmorClass, 7);
    Slot(a, 4, kHitpoints, 1);
    Slot(Add(3), 0, kArmorClass, 9);

    const std::vector<Shown> slots = Run(given);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].label, "Slot 1: ");
    EXPECT_EQ(slots[1].label, "Slot 5: ");
    EXPECT_EQ(slots[2].label, "Slot 12: ");
    EXPECT_EQ(slots[0].header, "cached one");
    ASSERT_EQ(slots[0].lines.size(), 2u);
    ASSERT_EQ(slots[1].lines.size(), 1u);
    EXPECT_TRUE(slots[2].lines.empty());

    // Lines step evenly below their header; a slot without lines takes the
    // room of one; each header follows the slot before.
    const StackingSlot& first = slots[0].layout;
    const int step = slots[0].lines[1].layout.nameField.top - slots[0].lines[0].layout.nameField.top;
    EXPECT_GT(step, 0);
    EXPECT_GT(slots[0].lines[0].layout.nameField.top, first.headerField.top);
    EXPECT_EQ(slots[0].lines[0].layout.textField.top, slots[0].lines[0].layout.nameField.top);
    EXPECT_EQ(first.frame.height - slots[1].layout.frame.height, step);
    EXPECT_EQ(slots[2].layout.frame.height, slots[1].layout.frame.height);
    EXPECT_EQ(slots[2].layout.lineCount, 1);
    EXPECT_EQ(slots[1].layout.headerField.top, NextStackingHeaderTop(first));
    EXPECT_EQ(slots[2].layout.headerField.top - slots[1].layout.headerField.top,
              slots[1].layout.headerField.top - first.headerField.top - step);
    EXPECT_EQ(slots[2].layout.noConflictField.top - slots[2].layout.headerField.top,
              slots[1].lines[0].layout.nameField.top - slots[1].layout.headerField.top);

    // An instant spell shows no slot.
    g_spellArray[0].isInstant = 1;
    EXPECT_TRUE(Run(given).empty());
}

TEST_F(Stacking, HeadersAreTheCachedSentencesWhileListedSentencesFollowTheLevel)
{
    const int given = Add(1);
    const int other = Add(2);
    for (int index : {given, other}) {
        g_spellArray[static_cast<std::size_t>(index)].classLevel[CLASS_WAR] = 5;
        Slot(index, 0, kHitpoints, 10, 0, 102);
    }
    TextField text{};
    GenerateEffectString(given, kHitpoints, 10, 0, 102, 10, g_levelEnable, 0, text, nullptr);
    g_levelEnable = 1;
    g_displayLevel = 40;
    const std::vector<Shown> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0].header, "Increase Hitpoints by 15 (L5) to 75 (L65) per tick");
    ASSERT_EQ(slots[0].lines.size(), 1u);
    EXPECT_EQ(slots[0].lines[0].text, "Increase Hitpoints by 50 (L40) per tick");
    EXPECT_STREQ(g_spellArray[1].effectText[0].data(), "Increase Hitpoints by 50 (L40) per tick");
}

TEST_F(Stacking, LongSentencesAndAFullTable)
{
    // A weapon proc names the spell it casts: a long name makes a long line.
    const int given = Add(1);
    Slot(given, 0, kWeaponProc, 900);
    const int other = Add(2);
    Slot(other, 0, kWeaponProc, 900);
    CopyText(g_spellArray[static_cast<std::size_t>(Add(900))].name, std::string(250, 'N').c_str());
    std::vector<Shown> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    ASSERT_EQ(slots[0].lines.size(), 1u);
    EXPECT_EQ(slots[0].lines[0].value, 900);
    EXPECT_EQ(slots[0].lines[0].index, other);
    const std::string full = g_spellArray[static_cast<std::size_t>(other)].effectText[0].data();
    EXPECT_EQ(slots[0].lines[0].text, full.substr(0, SPELL_FIELD_CHARS - 1 - 13));

    // In a full table the last record is listed too.
    InitGlobals();
    for (int i = 0; i < MAX_SPELLS; ++i) Slot(Add(i + 1), 7, kArmorClass, i == MAX_SPELLS - 1 ? 99 : 1);
    slots = Run(0);
    ASSERT_EQ(slots.size(), 1u);
    ASSERT_EQ(slots[0].lines.size(), static_cast<std::size_t>(MAX_SPELLS - 1));
    EXPECT_EQ(slots[0].lines[0].index, MAX_SPELLS - 1);
}

TEST(StackingFrames, EachSlotNumberHasItsOwnFrame)
{
    std::vector<int> frames;
    for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n) frames.push_back(GetDecorationVal(n));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_GT(frames[i], 0);
        EXPECT_NE(frames[i], STACKPANEL_CLOSE);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(frames[i], frames[j]);
    }
    for (const int n : {0, -1, 13, 100}) EXPECT_EQ(GetDecorationVal(n), -1) << n;
}

TEST(StackingExport, WritesTheSlotsAndRowsInPanelOrderAndRefusesWhatHasNone)
{
    using testsupport::SpellLine;
    testsupport::TempDir dir;
    dir.Write("spells_us.txt",
              testsupport::FileText({
                  SpellLine(10, "Ward")
                      .Set(17, "10")
                      .Slot(0, kArmorClass, 5, 0, 100)
                      .Slot(1, 35, 2, 0, 100)
                      .Slot(3, kHitpoints, 10, 0, 102),
                  SpellLine(11, "Small Ward").Set(17, "10").Slot(0, kArmorClass, 8, 0, 100),
                  SpellLine(12, "Big Ward").Set(17, "10").Slot(0, kArmorClass, 3, 40, 100),
                  SpellLine(13, "Quick").Set(17, "10").Slot(0, kArmorClass, 99, 0, 100),
                  SpellLine(14, "Caf\xe9 Ward").Set(17, "10").Slot(0, kArmorClass, -6, 0, 100),
                  SpellLine(15, "Flash").Slot(0, kArmorClass, 1, 0, 100),  // instant
              }));
    testsupport::RunResult result = testsupport::RunExporter(dir.path(), "--stacking 0 spells_us.txt");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::ordered_json::parse(result.out),
              nlohmann::ordered_json::parse(R"({"index": 0, "slots": [
        {"slot": 1, "header": "Increase Armor Class by 5", "rows": [
            {"value": 99, "index": 3, "name": "Quick", "text": "Increase Armor Class by 99"},
            {"value": 40, "index": 2, "name": "Big Ward", "text": "Increase Armor Class by 40"},
            {"value": 8, "index": 1, "name": "Small Ward", "text": "Increase Armor Class by 8"},
            {"value": -6, "index": 4, "name": "Caf\u00e9 Ward", "text": "Decrease Armor Class by 6"}]},
        {"slot": 4, "header": "Increase Hitpoints by 11 (L1) to 75 (L65) per tick", "rows": []}]})"));

    result = testsupport::RunExporter(dir.path(), "--stacking 0 --level 30 spells_us.txt");
    EXPECT_EQ(nlohmann::json::parse(result.out)["slots"][1]["header"],
              "Increase Hitpoints by 40 (L30) per tick");

    for (const char* arguments : {"--stacking 6", "--stacking -1", "--stacking 5"}) {
        result = testsupport::RunExporter(dir.path(), std::string(arguments) + " spells_us.txt");
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_TRUE(result.out.empty()) << arguments;
        EXPECT_FALSE(result.err.empty()) << arguments;
    }
}

}  // namespace
