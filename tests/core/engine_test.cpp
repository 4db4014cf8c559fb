// The description engine on a table that is not the loaded one: sentences,
// detail windows and stacking checks depend only on the table, the record
// and the level setting given, and no record or global changes.

#include "compare/spell_texts.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "sample/sample_gen.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kCharisma = 10;
constexpr int kTeleport = 83;
constexpr int kWeaponProc = 85;
constexpr int kSpellLimit = 139;
constexpr int kWarColumn = 104;
constexpr int kLinkedColumn = 150;

// The loaded table: other spells under the same ids, with hitpoints in slot 1.
const std::string kLoadedFile = testsupport::FileText({
    SpellLine(1234, "Loaded Strike").Set(3, "arena").Set(17, "10").Slot(0, kHitpoints, 9, 0, 102),
    SpellLine(100, "Loaded Self").Set(17, "10").Slot(0, kHitpoints, 8, 0, 100),
    SpellLine(555, "Only Loaded").Set(17, "10").Slot(0, kHitpoints, 7, 0, 100),
});

// The table the engine is given.
const std::string kOtherFile = testsupport::FileText({
    SpellLine(100, "Self")
        .Set(3, "grove")
        .Set(17, "10")
        .Set(kWarColumn, "5")
        .Set(kLinkedColumn, "1234")
        .Slot(0, kHitpoints, 10, 0, 102)
        .Slot(1, kWeaponProc, 1234, 0, 100)
        .Slot(2, kWeaponProc, 555, 0, 100)
        .Slot(3, kSpellLimit, -1234, 0, 100)
        .Slot(4, kTeleport, 7, 0, 100)
        .Slot(5, kCharisma, 8, 0, 100)
        .Set(26, "9"),  // slot 7's base: the teleport's third coordinate
    SpellLine(1234, "Local Strike").Set(kLinkedColumn, "100").Slot(0, kArmorClass, 5, 0, 100),  // instant
    SpellLine(7, "Empty").Set(kLinkedColumn, "555"),  // instant, no slot shown
    SpellLine(8, "Earlier").Set(17, "10").Slot(0, kHitpoints, 1, 0, 100),
});

class OtherTable : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        g_numSpells = ParseSpellText(kLoadedFile, g_spellArray);
        BuildSpellIdIndex();
        g_levelEnable = 1;  // never the level the engine is given
        g_displayLevel = 20;
        count_ = ParseSpellText(kOtherFile, records_);
        ASSERT_EQ(count_, 4);
        records_[3].isInstant = 1;  // "Earlier" was described as instant before
        BuildSpellIdIndex(records_.data(), count_, ids_);
        before_ = Snapshot();
    }
    void TearDown() override { EXPECT_TRUE(Snapshot() == before_) << "a record or a global changed"; }

    SpellTable Table(bool indexed = true) const
    {
        return {records_.data(), count_, indexed ? &ids_ : nullptr};
    }

    // Every record and global a description could disturb, byte for byte.
    std::string Snapshot() const
    {
        auto bytes = [](const void* data, std::size_t size) {
            return std::string(static_cast<const char*>(data), size);
        };
        std::string all = bytes(g_spellArray.data(), sizeof g_spellArray) +
                          bytes(g_stringArray.data(), sizeof g_stringArray) +
                          bytes(&g_spellIdIndex, sizeof g_spellIdIndex) +
                          bytes(records_.data(), records_.size() * sizeof(SpellStruct)) +
                          bytes(&ids_, sizeof ids_);
        for (int n : {g_numSpells, g_levelEnable, g_displayLevel}) all.append(",").append(std::to_string(n));
        return all;
    }

    std::vector<SpellStruct> records_ = std::vector<SpellStruct>(6);
    int count_ = 0;
    SpellIdIndex ids_;
    std::string before_;
};

// ---- One sentence ------------------------------------------------------------

struct SentenceCase {
    const char* name;
    int slot;   // of "Self"
    int level;  // 0: ranges over the levels
    bool indexed;
    const char* text;
    int link;
};
class OtherTableSentence : public OtherTable, public testing::WithParamInterface<SentenceCase> {};

TEST_P(OtherTableSentence, ComesFromTheGivenTableRecordAndLevel)
{
    const SentenceCase& c = GetParam();
    const SpellStruct& self = records_[0];
    const auto k = static_cast<std::size_t>(c.slot);
    TextField text{};
    int link = 99;
    DescribeEffect(Table(c.indexed), self, self.attrib[k], self.base[k], self.max[k], self.calc[k],
                   self.duration, c.slot, LevelSettingFor(c.level), text, &link);
    EXPECT_STREQ(text.data(), c.text);
    EXPECT_EQ(link, c.link);
}

const SentenceCase kSentences[] = {
    {"RangesAtLevel0", 0, 0, true, "Increase Hitpoints by 15 (L5) to 75 (L65) per tick", -1},
    {"ValueAtLevel40", 0, 40, true, "Increase Hitpoints by 50 (L40) per tick", -1},
    {"ProcNamesTheTablesSpell", 1, 0, true, "Add Weapon Proc: 1234 (Local Strike)", 1},
    {"ProcNamesTheTablesSpellByScan", 1, 0, false, "Add Weapon Proc: 1234 (Local Strike)", 1},
    {"ProcToASpellOnlyLoaded", 2, 0, true, "Add Weapon Proc: 555 ()", -1},
    {"ExcludedSpellOfTheTable", 3, 0, false, "Limit - Spell - Exclude Spell: Local Strike", 1},
    {"ZoneAndCoordinatesOfTheGivenRecord", 4, 0, true, "Teleport to Location 7, 8, 9 in Zone: grove", -1},
};
INSTANTIATE_TEST_SUITE_P(Rows, OtherTableSentence, testing::ValuesIn(kSentences), testsupport::RowName());

// ---- A detail window ---------------------------------------------------------

struct PanelCase {
    const char* name;
    int index;
    int level;
    const char* linkedName;
    int linkedIndex;
    int rowCount;
    const char* firstRow;
    bool stacking;
};
class OtherTablePanel : public OtherTable, public testing::WithParamInterface<PanelCase> {};

TEST_P(OtherTablePanel, ShowsTheTablesSpellAsAFreshWindowWould)
{
    const PanelCase& c = GetParam();
    SpellPanelContent content;
    ASSERT_EQ(DescribeSpellPanel(Table(), c.index, LevelSettingFor(c.level), content), 0);
    EXPECT_STREQ(content.texts[PANEL_TEXT_LINKED_SPELL].data(), c.linkedName);
    EXPECT_EQ(content.linkedSpellIndex, c.linkedIndex);
    ASSERT_EQ(content.rowCount, c.rowCount);
    EXPECT_STREQ(c.rowCount > 0 ? content.rows[0].text.data() : "", c.firstRow);
    EXPECT_EQ(content.stackingButton, c.stacking);
}

const PanelCase kPanels[] = {
    {"LinksAndSentencesFromTheTable", 0, 40, "Local Strike", 1, 6, "Increase Hitpoints by 50 (L40) per tick",
     true},
    {"InstantOnceDescribed", 1, 0, "Self", 0, 1, "Increase Armor Class by 5", false},
    {"InstantWithoutARowKeepsStacking", 2, 0, "None", -1, 0, "", true},
    {"InstantFromAnEarlierDescription", 3, 0, "None", -1, 1, "Increase Hitpoints by 1 per tick", false},
};
INSTANTIATE_TEST_SUITE_P(Rows, OtherTablePanel, testing::ValuesIn(kPanels), testsupport::RowName());

// ---- A stacking check ----------------------------------------------------------

// With scratch rows from the caller and with the check's own.
TEST_F(OtherTable, StackingListsTheTablesSpellsUnderTheRecordsCachedHeaders)
{
    std::vector<std::string> shown;
    auto onSlot = [&](const StackingSlot& s) {
        shown.push_back(std::string(s.label.data()).append("[").append(s.header).append("]"));
    };
    auto onLine = [&](const StackingSlot&, const StackingLine& l) {
        shown.push_back(std::to_string(l.value).append(" ").append(l.name).append(": ").append(l.text));
    };
    std::vector<TextField> rows(static_cast<std::size_t>(count_));
    EXPECT_EQ(DescribeStacking(Table(), 0, LevelSettingFor(30), std::span(rows), onSlot, onLine), 6);
    // Headers are the record's cached sentences: none was ever cached.
    const std::vector<std::string> expected = {"Slot 1: []", "1 Earlier: Increase Hitpoints by 1 per tick",
                                               "Slot 2: []", "Slot 3: []",
                                               "Slot 4: []", "Slot 5: []",
                                               "Slot 6: []"};
    EXPECT_EQ(shown, expected);
    shown.clear();
    EXPECT_EQ(DescribeStacking(Table(), 0, LevelSettingFor(30), onSlot, onLine), 6);
    EXPECT_EQ(shown, expected);
}

// ---- Comparison texts ------------------------------------------------------------

TEST(DescribeSpells, TwoThreadsGiveTheTextsOfOne)
{
    std::vector<SpellStruct> records(200);
    const int count = ParseSpellText(GenerateSampleSpellFile({.lines = 199, .seed = 3}), records);
    const SpellTable table{records.data(), count, nullptr};
    SpellTexts one;
    SpellTexts two;
    DescribeSpells(table, 30, one, 1);
    DescribeSpells(table, 30, two, 2);
    ASSERT_EQ(one.Count(), 199);
    ASSERT_EQ(two.Count(), 199);
    for (int index = 0; index < count; ++index) {
        EXPECT_EQ(one.Id(index), two.Id(index));
        for (int field = 0; field < SPELL_TEXT_FIELDS; ++field)
            EXPECT_EQ(one.Text(index, field), two.Text(index, field)) << index << " " << field;
    }
}

}  // namespace
