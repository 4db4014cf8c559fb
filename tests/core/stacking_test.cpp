// The stacking check: which spells a slot lists, their values, order and sentences, the rows that carry
// them, how the slots stack up, and the exporter's stacking mode.
#include "stacking/stacking.h"

#include <climits>
#include <cstring>
#include <nlohmann/json.hpp>

#include "test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kCharisma = 10;

struct Shown {
    StackingSlot layout;
    std::string label, header;
    std::vector<std::string> lines;  // "value name: text"
    std::vector<int> tops;           // the header's, then each line's
};

class Stacking : public testsupport::SpellTableTest {
protected:
    static SpellStruct& Add(int id, const char* name, int slot, int attrib, int base, int duration = 10)
    {
        SpellStruct& spell = AddSpell(id, name);
        spell.duration = duration;
        SetSlot(spell, slot, attrib, base);
        return spell;
    }

    static std::vector<Shown> Run(int index)
    {
        std::vector<Shown> slots;
        ForEachStackingSlot(
            index,
            [&](const StackingSlot& s) {
                slots.push_back({s, s.label.data(), s.header, {}, {s.headerField.top}});
            },
            [&](const StackingSlot&, const StackingLine& l) {
                slots.back().lines.push_back(std::to_string(l.value) + " " + l.name + ": " + l.text);
                slots.back().tops.push_back(l.nameField.top);
            });
        return slots;
    }
};

TEST_F(Stacking, ListsOtherIdsWithADurationAndTheSameEffectInTheSameSlotLargestFirst)
{
    Add(100, "given", 2, kCharisma, 5);
    SpellStruct& eight = Add(101, "eight", 2, kCharisma, 8);  // listed at the display level, and cached
    eight.calc[2] = 102;
    eight.classLevel[CLASS_WAR] = 5;
    g_levelEnable = 1;
    g_displayLevel = 40;
    const SpellStruct& instant = Add(102, "instant", 2, kCharisma, 9, 0);
    Add(103, "another slot", 3, kCharisma, 9);
    Add(100, "the same id", 2, kCharisma, 9);
    Add(104, "empty charisma", 2, kCharisma, 0);
    Add(105, "another effect", 2, kArmorClass, 9);
    Add(106, "negative duration", 2, kCharisma, 30, -1);
    Add(107, "minus", 2, kCharisma, -10);
    const std::vector<Shown> slots = Run(0);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0].lines, (std::vector<std::string>{"30 negative duration: Increase Charisma by 30",
                                                        "8 eight: Increase Charisma by 48 (L40)",
                                                        "-10 minus: Decrease Charisma by 10"}));
    EXPECT_STREQ(eight.effectText[2].data(), "Increase Charisma by 48 (L40)");
    EXPECT_EQ(instant.isInstant, 0) << "the instant spell was never described";
}

TEST(StackingRows, ValueFollowsBaseAndMaxAndRowsReadBack)
{
    const struct {
        int base, max, value;
    } values[] = {{10, 0, 10}, {10, 50, 50}, {0, 7, 7}, {-10, 50, -50}, {-10, -50, -50}, {-3, 0, -3}};
    for (const auto& c : values) EXPECT_EQ(StackingValue(c.base, c.max), c.value) << c.base << " " << c.max;

    const std::string longText(SPELL_FIELD_CHARS - 1, 'x');
    const struct {
        int value, index;
        std::string sentence, row;
    } rows[] = {{7, 12, "Some sentence", "+00007 00012 Some sentence"},
                {-7, 0, "Some sentence", "-00007 00000 Some sentence"},
                // A long sentence is cut, never the numbers.
                {INT_MIN, 3999, longText, "-2147483648 03999 " + std::string(241, 'x')},
                {INT_MAX, 3999, longText, "+2147483647 03999 " + std::string(241, 'x')}};
    for (const auto& c : rows) {
        TextField row{};
        FormatStackingRow(row, c.value, c.index, c.sentence.c_str());
        EXPECT_EQ(row.data(), c.row);
        int value = 0, index = 0;
        const char* text = nullptr;
        ASSERT_TRUE(ReadStackingRow(row, value, index, text)) << c.row;
        EXPECT_EQ(std::pair(value, index), std::pair(c.value, c.index));
        EXPECT_EQ(c.sentence.substr(0, std::strlen(text)), text);
    }
}

// Rows of equal values keep table order (their index digits).
TEST(StackingRows, SortLargestValueFirstThenByIndex)
{
    const char* rows[] = {"+00010 00007 x", "+00010 00003 y", "+00020 00009 z", "+00010 00001 w"};
    for (std::size_t i = 0; i < std::size(rows); ++i) CopyText(g_stringArray[i], rows[i]);
    SortStackingRows(4);
    std::vector<std::string> sorted;
    for (std::size_t i = 0; i < std::size(rows); ++i) sorted.emplace_back(g_stringArray[i].data());
    EXPECT_EQ(sorted, (std::vector<std::string>{"+00020 00009 z", "+00010 00001 w", "+00010 00003 y",
                                                "+00010 00007 x"}));
}

TEST_F(Stacking, LeftOutSlotsTakeNoRoomAndEachSlotFollowsTheLastLineOfThePrevious)
{
    SpellStruct& given = Add(1, "given", 0, kArmorClass, 5);
    // Counters, current hitpoints and curse (35, 36, 79, 116) and an empty charisma are left out.
    constexpr int kSlots[][3] = {{1, 35, 2},  {2, kCharisma, 0}, {3, 36, 2},        {4, kHitpoints, 10},
                                 {5, 79, 20}, {6, 116, 1},       {11, kCharisma, 3}};
    for (const auto& s : kSlots) SetSlot(given, s[0], s[1], s[2]);
    CopyText(given.effectText[0], "cached one");
    SetSlot(Add(2, "a", 0, kArmorClass, 7), 4, kHitpoints, 1);
    Add(3, "b", 0, kArmorClass, 9);

    const std::vector<Shown> slots = Run(0);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].label + slots[1].label + slots[2].label, "Slot 1: Slot 5: Slot 12: ");
    EXPECT_EQ(slots[0].header, "cached one");
    // Headers from 25, lines 20 + 25r below them, the next header 50 below
    // a slot's last line; a slot without rows takes the room of one line.
    EXPECT_EQ(slots[0].tops, (std::vector<int>{25, 70, 95}));
    EXPECT_EQ(slots[1].tops, (std::vector<int>{145, 190}));
    EXPECT_EQ(slots[2].tops, (std::vector<int>{240}));
    EXPECT_EQ(slots[2].layout.noConflictField.top, 285);
    EXPECT_EQ(slots[0].layout.frame.height, 80);  // frames: 30 plus 25 a line
    EXPECT_EQ(slots[2].layout.frame.height, 55);

    given.isInstant = 1;
    EXPECT_TRUE(Run(0).empty()) << "an instant spell shows no slot";
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
                      .Slot(3, kHitpoints, 10, 0, 102),
                  SpellLine(14, "Caf\xe9 Ward").Set(17, "10").Slot(0, kArmorClass, -6, 0, 100),
                  SpellLine(-3, "No id").Set(17, "10").Slot(2, kHitpoints, 1, 0, 100),
                  SpellLine(15, "Flash").Slot(0, kArmorClass, 1, 0, 100),  // instant
              }));
    auto result = testsupport::RunExporter(dir.path(), "--stacking 0 --level 30 spells_us.txt");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::ordered_json::parse(result.out),
              nlohmann::ordered_json::parse(R"({"index": 0, "slots": [
        {"slot": 1, "header": "Increase Armor Class by 5", "rows": [
            {"value": -6, "index": 1, "name": "Caf\u00e9 Ward", "text": "Decrease Armor Class by 6"}]},
        {"slot": 4, "header": "Increase Hitpoints by 40 (L30) per tick", "rows": []}]})"));

    // A negative id, an instant spell, and indexes outside the table.
    for (const char* arguments : {"--stacking 2", "--stacking 3", "--stacking 4", "--stacking -1"}) {
        result = testsupport::RunExporter(dir.path(), std::string(arguments) + " spells_us.txt");
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_TRUE(result.out.empty() && !result.err.empty()) << arguments;
    }
}

}  // namespace
