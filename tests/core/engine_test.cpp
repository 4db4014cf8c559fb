// The description engine on a table that is not the loaded one: sentences,
// detail windows and stacking checks depend only on the table, the record
// and the level setting given, and no record or global changes. Comparing
// spell files with it: the loaded table is left as it was; the differences,
// the summary, the rows and the words a changed text marks.
#include <gmock/gmock.h>

#include <algorithm>

#include "compare/compare.h"
#include "compare/comparison.h"
#include "compare/spell_texts.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;

constexpr int kHitpoints = 0, kArmorClass = 1, kCharisma = 10, kTeleport = 83, kWeaponProc = 85,
              kSpellLimit = 139;
constexpr int kWarColumn = 104, kLinkedColumn = 150;

std::string Bytes(const void* data, std::size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

// The loaded table, its index and the level globals, byte for byte.
std::string TableBytes()
{
    std::string all =
        Bytes(g_spellArray.data(), sizeof g_spellArray) + Bytes(&g_spellIdIndex, sizeof g_spellIdIndex);
    for (int n : {g_numSpells, g_levelEnable, g_displayLevel}) all.append(",").append(std::to_string(n));
    return all;
}

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
        return TableBytes() + Bytes(g_stringArray.data(), sizeof g_stringArray) +
               Bytes(records_.data(), records_.size() * sizeof(SpellStruct)) + Bytes(&ids_, sizeof ids_);
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

// ---- Comparing files ----------------------------------------------------------

TEST(CompareDescriptions, LeaveTheLoadedTableAsItWas)
{
    InitGlobals();
    // Three loaded records with cached sentences, and a leftover from a longer file.
    g_numSpells = ParseSpellText("1^One\n5^Loaded five\n2^Two\n3^Leftover\n", g_spellArray) - 1;
    BuildSpellIdIndex();
    g_spellArray[0].isInstant = 1;
    CopyText(g_spellArray[0].effectText[3], "cached sentence");
    g_displayLevel = 30;
    const std::string before = TableBytes();

    SpellTexts texts;
    DescribeLoadedSpells(40, texts);
    EXPECT_EQ(texts.Count(), 3);
    EXPECT_EQ(texts.Text(0, SLOT_FIELD_FIRST), "Increase Hitpoints by 0");
    EXPECT_TRUE(TableBytes() == before) << "describing the loaded spells";

    // The proc names id 5 of the other file, not the loaded "Loaded five".
    const std::string longer =
        testsupport::RawLine({{0, "5"}, {1, "Echo"}, {20, "5"}, {86, "85"}}) + "6^F^\n7^G^\n8^H^\n9^I^\n";
    const struct {
        const char* name;
        std::string bytes;  // "-": no such file
        int count;
        bool moreLines;
        const char* firstSlot1;
    } cases[] = {
        {"LongerFile", longer, 5, false, "Add Weapon Proc: 5 (Echo)"},
        {"MoreLinesThanTheTable", "5^Echo^\n" + std::string(MAX_SPELLS, '\n'), MAX_SPELLS, true,
         "Increase Hitpoints by 0"},
        {"MissingFile", "-", -1, false, ""},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.bytes == "-" ? (dir.path() / "none.txt").string() : dir.Write("o.txt", c.bytes);
        bool moreLines = !c.moreLines;
        EXPECT_EQ(DescribeSpellFile(path.c_str(), 0, texts, &moreLines), c.count);
        EXPECT_EQ(texts.Count(), std::max(c.count, 0));
        EXPECT_TRUE(c.count < 0 || moreLines == c.moreLines);
        EXPECT_EQ(texts.Count() > 0 ? texts.Text(0, SLOT_FIELD_FIRST) : "", c.firstSlot1);
        EXPECT_TRUE(TableBytes() == before);
    }
}

TEST(CompareWithLoaded, SummaryCountsAndRowsNamingLaterRecordsOfAnIdByOccurrence)
{
    const struct {
        const char* name;
        std::string other;
        const char* says;
        const char* firstRow;
    } cases[] = {
        {"Occurrences", "5^Echo^\n5^Echo b^\n",
         "(2 spells) with the loaded file (3 spells): 0 removed, 1 added, 1 changed.",
         "changed      5#2  Echo B  (1 field)"},
        {"NoDifference", "5^Echo^\n5^Echo B^\n5^Echo C^\n", "The files show no difference.", ""},
        {"CutAt4000Lines", std::string(MAX_SPELLS + 1, '\n'),
         "holds more than 4000 lines: only its first 4000 were compared.", "removed        0  "},
        {"EmptyFile", "", "The other file holds no spells.", "added          5  Echo"},
        {"NoSharedId", "7^G^\n", "The two files share no spell id", "added          5  Echo"},
        {"ShortLines", "5^Echo^\n", "1 line of the other file does not have 174 columns.",
         "added        5#2  Echo B"},
    };
    InitGlobals();
    g_numSpells = ParseSpellText("5^Echo^\n5^Echo B^\n5^Echo C^\n", g_spellArray);
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpellComparison comparison;
        const std::string path = dir.Write("other.txt", c.other);
        ASSERT_EQ(CompareWithLoadedSpells(path.c_str(), 0, comparison), 0);
        EXPECT_THAT(ComparisonSummary(comparison, path.c_str()), testing::HasSubstr(c.says));
        const auto& rows = comparison.differences;
        EXPECT_EQ(rows.empty() ? "" : DifferenceRow(comparison, rows[0]), c.firstRow);
    }
}

// Each difference as "change id old>new", with the fields of a changed
// spell; " | " between them.
struct DifferencesRow {
    const char* name;
    std::string oldFile, newFile;
    const char* differences;
};
class CompareDifferences : public testing::TestWithParam<DifferencesRow> {};

TEST_P(CompareDifferences, MatchRecordsByIdAndOccurrence)
{
    static std::vector<SpellStruct> oldRecords(MAX_SPELLS), newRecords(MAX_SPELLS);
    SpellTexts oldTexts, newTexts;
    DescribeSpells({oldRecords.data(), ParseSpellText(GetParam().oldFile, oldRecords), nullptr}, 0, oldTexts);
    DescribeSpells({newRecords.data(), ParseSpellText(GetParam().newFile, newRecords), nullptr}, 0, newTexts);
    const char* const kChanges[] = {"removed", "added", "changed"};
    std::string shown;
    for (const SpellDifference& d : CompareSpellTexts(oldTexts, newTexts)) {
        if (!shown.empty()) shown += " | ";
        shown.append(kChanges[static_cast<int>(d.change)]).append(" ").append(DifferenceId(d));
        shown.append(" ").append(std::to_string(d.oldIndex)).append(">").append(std::to_string(d.newIndex));
        for (int field = 0; field < SPELL_TEXT_FIELDS; ++field)
            if (d.fields & (uint64_t{1} << field)) shown.append(" ").append(SpellTextFieldName(field));
    }
    EXPECT_EQ(shown, GetParam().differences);
}

const std::string k3999Empty(MAX_SPELLS - 1, '\n');
const DifferencesRow kDifferences[] = {
    {"same files", "1^A\n5^B\n", "1^A\n5^B\n", ""},
    {"only in the old file, at its end", "1^A\n2^B\n3^C\n", "1^A\n2^B\n", "removed 3 2>-1"},
    {"only in the old file, at its start", "9^Gone\n1^A\n", "1^A\n", "removed 9 0>-1"},
    {"only in the new file, at its end", "1^A\n", "1^A\n2147483647^Top\n", "added 2147483647 -1>1"},
    {"empty old file", "", "1^A\n", "added 1 -1>0"},
    {"empty new file", "1^A\n", "", "removed 1 0>-1"},
    {"ids at both ends of the int range", "2147483647^Top\n-2147483648^Bottom\n",
     "-2147483648^Bottom\n2147483647^Top II\n", "changed 2147483647 0>1 name"},
    {"first record of an id changed", "5^A\n5^B\n", "5^X\n5^B\n", "changed 5 0>0 name"},
    {"second record of an id removed", "5^A\n5^B\n", "5^A\n", "removed 5#2 1>-1"},
    {"records of an id matched in table order", "5^A\n7^C\n5^B\n", "5^A\n5^X\n",
     "changed 5#2 2>1 name | removed 7 1>-1"},
    {"only the last slot differs", SpellLine(1, "A").Slot(11, 1, 5, 0, 100).Text(), SpellLine(1, "A").Text(),
     "changed 1 0>0 slot 12"},
    {"last record of a full table", k3999Empty + "7^Last\n", k3999Empty + "7^Last II\n",
     "changed 7 3999>3999 name"},
};
INSTANTIATE_TEST_SUITE_P(Rows, CompareDifferences, testing::ValuesIn(kDifferences), testsupport::RowName());

TEST(CompareWords, MarksWhatDiffersBetweenTheSharedLeadingAndTrailingWords)
{
    const struct {
        const char* name;
        std::string_view oldText, newText;
        const char* oldMarked;
        const char* newMarked;
    } cases[] = {
        {"OneNumber", "Increase Hitpoints by 10", "Increase Hitpoints by 20", "10", "20"},
        {"WordsAdded", "Increase Mana by 5", "Increase Mana by 5 per tick", "", "per tick"},
        {"MiddleWords", "10 ticks (1.0 minutes)", "20 ticks (2.0 minutes)", "10 ticks (1.0", "20 ticks (2.0"},
        {"RepeatedWords", "by 5 by 5", "by 5", "by 5", ""},
        {"OnlyBlanks", "a  b", "a b", "a  b", "a b"},
        {"Equal", "Instant", "Instant", "", ""},
    };
    for (const auto& c : cases) {
        const ChangedWords span = FindChangedWords(c.oldText, c.newText);
        EXPECT_EQ(c.oldText.substr(span.oldBegin, span.oldEnd - span.oldBegin), c.oldMarked) << c.name;
        EXPECT_EQ(c.newText.substr(span.newBegin, span.newEnd - span.newBegin), c.newMarked) << c.name;
    }
}

}  // namespace
