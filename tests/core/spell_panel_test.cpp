// The detail and stacking windows' content without a window: field texts,
// one row per shown slot with its link, the stacking button, heights, the
// linked spell; the referenced-by index against what the windows link to;
// which spells a stacking slot lists, their values, order and sentences, the
// rows that carry them, how the slots stack up, and the exporter's stacking
// mode.
#include "popup/spell_panel.h"

#include <climits>
#include <cstring>
#include <nlohmann/json.hpp>

#include "data/reader.h"
#include "data/spell_index.h"
#include "effects/effects.h"
#include "popup/referenced_by.h"
#include "sample/sample_gen.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

// A weapon proc's and a spell limit's sentence links the spell whose id is in the base.
constexpr int kHitpoints = 0, kArmorClass = 1, kCharisma = 10, kWeaponProc = 85, kSpellLimit = 139;

class SpellPanel : public testsupport::SpellTableTest {
protected:
    static SpellPanelContent Build(int index)
    {
        SpellPanelContent content;
        EXPECT_EQ(BuildSpellPanelContent(index, content), 0);
        return content;
    }
};

TEST_F(SpellPanel, EachFieldShowsItsColumnAndEachShownSlotARowWithItsLink)
{
    SpellStruct& spell = AddSpell(1234, "Shield of Words");
    spell.col19 = -7;
    spell.seconds13 = 2.5;
    spell.duration = 25;
    CopyText(spell.message2, "Someone feels protected.");
    spell.timeOfDay = 2;
    spell.environment = 3;
    spell.skill = 49;
    spell.beneficial = 2;
    spell.resistType = 4;
    spell.targetType = 41;
    spell.reagentId = {0, 13073, -1, 1350};  // 0 and below: no component
    spell.reagentCount = {1, 2, 3, 4};
    spell.classLevel[CLASS_MNK] = 4;
    spell.classLevel[CLASS_WAR] = 1;
    spell.classLevel[CLASS_BST] = 254;
    spell.classLevel[CLASS_CLR] = 0;
    spell.linkedSpell = -1;  // no link, though a spell has the id -1
    AddSpell(-1, "Minus one");
    AddSpell(20, "Proc target");
    SetSlot(spell, 0, kHitpoints, 10);
    SetSlot(spell, 1, 10, 0);  // effect 10 with base 0: hidden
    SetSlot(spell, 2, 10, 5);  // effect 10 with a base: shown
    SetSlot(spell, 3, kWeaponProc, 20);
    SetSlot(spell, 5, kWeaponProc, 99);  // no such spell
    const SpellPanelContent content = Build(0);
    const struct {
        PanelText field;
        const char* text;
    } cases[] = {
        {PANEL_TEXT_NAME, "Shield of Words"},
        {PANEL_TEXT_COL19, "-7"},
        {PANEL_TEXT_SECONDS13, "2.50"},
        {PANEL_TEXT_DURATION, "25 ticks (2.5 minutes)"},
        {PANEL_TEXT_MESSAGE2, "Someone feels protected."},
        {PANEL_TEXT_TIME_OF_DAY, "Night"},
        {PANEL_TEXT_ENVIRONMENT, "Unknown"},
        {PANEL_TEXT_SKILL, "Stringed"},
        {PANEL_TEXT_BENEFICIAL, "Beneficial Group"},
        {PANEL_TEXT_RESIST_TYPE, "Poison"},
        {PANEL_TEXT_TARGET_TYPE, "Group V2"},
        {PANEL_TEXT_COMPONENTS, "Bone Chips (2), Fresh Fish (4)"},
        {PANEL_TEXT_CLASSES, "BST(254) CLR(0) WAR(1) MNK(4) "},
        {PANEL_TEXT_LINKED_SPELL, "None"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(content.texts[c.field].data(), c.text) << kPanelTextFields[c.field];

    const struct {
        const char* label;
        const char* text;
        int link;
    } rows[] = {{"Slot 1:", "Increase Hitpoints by 10 per tick", -1},
                {"Slot 3:", "Increase Charisma by 5", -1},
                {"Slot 4:", "Add Weapon Proc: 20 (Proc target)", 2},
                {"Slot 6:", "Add Weapon Proc: 99 ()", -1}};
    ASSERT_EQ(content.rowCount, 4);
    for (int r = 0; r < 4; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        EXPECT_STREQ(row.label.data(), rows[r].label);
        EXPECT_STREQ(row.text.data(), rows[r].text);
        EXPECT_EQ(row.linkIndex, rows[r].link);
    }

    TextField text{};
    spell.classLevel.fill(INT_MIN);  // the longest class list still fits
    FormatClasses(spell, text);
    EXPECT_EQ(std::strlen(text.data()), 15u * std::strlen("BST(-2147483648) "));
}

// 259 bytes fill a field's buffer up to its terminator: nothing is cut.
TEST_F(SpellPanel, TextsThatFillTheirFieldShowWhole)
{
    const std::string full(259, 'f');
    SpellStruct& spell = AddSpell(7, full);
    CopyText(spell.message3, full.c_str());
    spell.linkedSpell = 7;  // itself
    const SpellPanelContent content = Build(0);
    for (PanelText field : {PANEL_TEXT_NAME, PANEL_TEXT_MESSAGE3, PANEL_TEXT_LINKED_SPELL})
        EXPECT_EQ(content.texts[field].data(), full) << kPanelTextFields[field];
}

TEST_F(SpellPanel, HeightsGrowWithRowsAndShrinkWithoutTheStackingButton)
{
    // A sentence generated with duration 0, now or earlier, takes the button away.
    const struct {
        int rows, duration, isInstant;
        bool stacking;
        int panelHeight, frameHeight;
    } cases[] = {{12, -1, 0, true, 725, 375},
                 {0, 0, 0, true, 425, 75},
                 {12, 0, 0, false, 680, 330},
                 {0, 10, 1, false, 380, 30}};
    for (const auto& c : cases) {
        int index = 0;
        SpellStruct& spell = AddSpell(1, "Sized", &index);
        spell.duration = c.duration;
        spell.isInstant = c.isInstant;
        for (int k = 0; k < c.rows; ++k) SetSlot(spell, k, kHitpoints, 1);
        const SpellPanelContent content = Build(index);
        EXPECT_EQ(content.stackingButton, c.stacking) << index;
        EXPECT_EQ(content.panelHeight, c.panelHeight) << index;
        EXPECT_EQ(content.frameHeight, c.frameHeight) << index;
    }
}

// ---- Referenced by ---------------------------------------------------------

class ReferencedByTest : public testsupport::SpellTableTest {
protected:
    static std::string Of(int spell)
    {
        std::string text;
        for (const int16_t referrer : ReferencedBy(g_referencedBy, spell)) {
            if (!text.empty()) text += ' ';
            text += std::to_string(referrer);
        }
        return text;
    }

    // What the detail windows link to, spell by spell: for each j, every i
    // whose window has a link to j, in table order, each once.
    static std::vector<std::string> Scan()
    {
        std::vector<std::string> expected(static_cast<std::size_t>(g_numSpells));
        std::vector<int> last(static_cast<std::size_t>(g_numSpells), -1);
        for (int i = 0; i < g_numSpells; ++i) {
            SpellPanelContent content;
            BuildSpellPanelContent(i, content);
            std::vector<int> targets{content.linkedSpellIndex};
            for (int r = 0; r < content.rowCount; ++r)
                targets.push_back(content.rows[static_cast<std::size_t>(r)].linkIndex);
            for (const int j : targets) {
                if (j < 0 || last[static_cast<std::size_t>(j)] == i) continue;
                last[static_cast<std::size_t>(j)] = i;
                std::string& text = expected[static_cast<std::size_t>(j)];
                if (!text.empty()) text += ' ';
                text += std::to_string(i);
            }
        }
        return expected;
    }
};

TEST_F(ReferencedByTest, SelfLinksRepeatedIdsAndEachReferrerOnce)
{
    AddSpell(10, "Ember").linkedSpell = 10;       // 0: links to itself
    SpellStruct& proc = AddSpell(11, "Proc");     // 1
    SetSlot(proc, 0, kWeaponProc, 10);            // to 0
    SetSlot(proc, 1, kSpellLimit, 11);            // to itself
    SetSlot(proc, 2, kSpellLimit, -10);           // to 0 again
    AddSpell(10, "Ember Twin").linkedSpell = 11;  // 2: its id finds 0, never it
    SpellStruct& lost = AddSpell(12, "Lost");     // 3
    SetSlot(lost, 0, kWeaponProc, 999);           // no such spell
    lost.linkedSpell = -1;
    SetSlot(AddSpell(13, "Plain"), 0, kHitpoints, 5);  // 4
    BuildSpellIdIndex();
    UpdateReferencedBy();

    EXPECT_EQ(Of(0), "0 1");
    EXPECT_EQ(Of(1), "1 2");
    for (int spell : {2, 3, 4, 5, -1}) EXPECT_EQ(Of(spell), "") << spell;
    EXPECT_EQ(g_spellArray[1].effectText[0][0], '\0');  // no sentence cached by the build
}

TEST_F(ReferencedByTest, TheSampleAgreesWithItsWindows)
{
    g_numSpells = ParseSpellText(GenerateSampleSpellFile({}), g_spellArray);
    BuildSpellIdIndex();
    UpdateReferencedBy();
    const std::vector<std::string> scan = Scan();
    int referred = 0;
    for (int j = 0; j < g_numSpells; ++j) {
        EXPECT_EQ(Of(j), scan[static_cast<std::size_t>(j)]) << j;
        referred += Of(j).empty() ? 0 : 1;
    }
    EXPECT_GT(referred, 100);
}

// ---- The stacking check ------------------------------------------------------

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
