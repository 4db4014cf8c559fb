// Comparing spell files: describing another file leaves the loaded table as
// it was; the summary, the rows and the words a changed text marks.
#include "compare/compare.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "compare/comparison.h"
#include "compare/spell_texts.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;

// Everything a description could disturb, byte for byte.
std::string TableBytes()
{
    std::string bytes(reinterpret_cast<const char*>(g_spellArray.data()), sizeof g_spellArray);
    bytes.append(reinterpret_cast<const char*>(&g_spellIdIndex), sizeof g_spellIdIndex);
    for (int n : {g_numSpells, g_levelEnable, g_displayLevel}) bytes.append(",").append(std::to_string(n));
    return bytes;
}

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
