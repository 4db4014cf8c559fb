// Comparing spell files: describing another file leaves the loaded table as
// it was, and the words a changed text marks.
#include "compare/compare.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "compare/comparison.h"
#include "compare/spell_texts.h"
#include "data/messages.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "test_support.h"

namespace {

std::vector<std::string> g_messages;

void RecordMessage(const char* title, const char* text)
{
    g_messages.push_back(std::string(title) + ": " + text);
}

// Everything a description could disturb, taken whole.
struct TableState {
    TableState()
        : records(g_spellArray.begin(), g_spellArray.end()),
          numSpells(g_numSpells),
          index(g_spellIdIndex),
          levelEnable(g_levelEnable),
          displayLevel(g_displayLevel)
    {
    }
    bool operator==(const TableState& other) const
    {
        return std::memcmp(records.data(), other.records.data(), records.size() * sizeof(SpellStruct)) == 0 &&
               numSpells == other.numSpells && index.size == other.index.size &&
               index.builtFor == other.index.builtFor && index.generation == other.index.generation &&
               std::memcmp(&index.entries, &other.index.entries, sizeof index.entries) == 0 &&
               levelEnable == other.levelEnable && displayLevel == other.displayLevel;
    }
    std::vector<SpellStruct> records;
    int numSpells;
    SpellIdIndex index;
    int levelEnable;
    int displayLevel;
};

struct OtherFileCase {
    const char* name;
    std::string bytes;
    bool exists;
    int count;
    bool moreLines;
    const char* firstName;
    const char* firstSlot1;
};

const OtherFileCase kOtherFiles[] = {
    // The proc names id 5 of the other file, not the loaded "Loaded five".
    {"LongerFile",
     testsupport::RawLine({{0, "5"}, {1, "Echo"}, {20, "5"}, {86, "85"}}) + "6^F^\n7^G^\n8^H^\n9^I^\n", true,
     5, false, "Echo", "Add Weapon Proc: 5 (Echo)"},
    {"ShorterFile", "5^Echo^\n", true, 1, false, "Echo", "Increase Hitpoints by 0"},
    {"EmptyFile", "", true, 0, false, nullptr, nullptr},
    {"MoreLinesThanTheTable", testsupport::RawLine({{0, "5"}, {1, "Echo"}}) + std::string(MAX_SPELLS, '\n'),
     true, MAX_SPELLS, true, "Echo", "Increase Hitpoints by 0"},
    {"MissingFile", "", false, -1, false, nullptr, nullptr},
};

TEST(CompareDescriptions, LeaveTheLoadedTableAsItWas)
{
    InitGlobals();
    SetMessageSink(RecordMessage);
    g_messages.clear();
    // Three loaded records with cached sentences, and a leftover record
    // behind them from an earlier, longer file.
    g_numSpells = ParseSpellText("1^One\n5^Loaded five\n2^Two\n3^Leftover\n", g_spellArray) - 1;
    BuildSpellIdIndex();
    g_spellArray[0].isInstant = 1;
    CopyText(g_spellArray[0].effectText[3], "cached sentence");
    g_levelEnable = 0;
    g_displayLevel = 30;
    const TableState before;

    SpellTexts texts;
    DescribeLoadedSpells(40, texts);
    EXPECT_EQ(texts.Count(), 3);
    EXPECT_EQ(texts.Text(0, SLOT_FIELD_FIRST), "Increase Hitpoints by 0");
    EXPECT_TRUE(TableState() == before) << "describing the loaded spells";

    testsupport::TempDir dir;
    for (const OtherFileCase& c : kOtherFiles) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.exists ? dir.Write("other.txt", c.bytes) : (dir.path() / "none.txt").string();
        bool moreLines = !c.moreLines;
        EXPECT_EQ(DescribeSpellFile(path.c_str(), 0, texts, &moreLines), c.count);
        EXPECT_EQ(texts.Count(), c.count < 0 ? 0 : c.count);
        if (c.count >= 0) {
            EXPECT_EQ(moreLines, c.moreLines);
        }
        if (c.firstName) {
            EXPECT_EQ(texts.Name(0), c.firstName);
            EXPECT_EQ(texts.Text(0, SLOT_FIELD_FIRST), c.firstSlot1);
        }
        EXPECT_TRUE(TableState() == before);
    }
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Error: Cannot open the file: " + (dir.path() / "none.txt").string() +
                                 " - please browse for a valid file.");
    SetMessageSink(nullptr);
}

TEST(CompareSummary, SaysWhatWasComparedAndWhyAResultNeedsASecondLook)
{
    const struct {
        const char* name;
        std::string other;
        const char* says;
    } cases[] = {
        {"Counts", "1^A^\n3^C^\n",
         "(2 spells) with the loaded file (2 spells): 1 removed, 1 added, 0 changed."},
        {"NoDifference", "2^B^\n1^A^\n", "The files show no difference."},
        {"CutAt4000Lines", std::string(MAX_SPELLS + 1, '\n'),
         "The other file holds more than 4000 lines: only its first 4000 were compared."},
        {"EmptyFile", "", "The other file holds no spells."},
        {"NoSharedId", "7^G^\n", "The two files share no spell id"},
    };
    InitGlobals();
    g_numSpells = ParseSpellText("1^A^\n2^B^\n", g_spellArray);
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpellComparison comparison;
        const std::string path = dir.Write("other.txt", c.other);
        ASSERT_EQ(CompareWithLoadedSpells(path.c_str(), 0, comparison), 0);
        EXPECT_NE(ComparisonSummary(comparison, path.c_str()).find(c.says), std::string::npos)
            << ComparisonSummary(comparison, path.c_str());
    }
}

TEST(CompareRows, LaterRecordsOfAnIdAreMatchedAndNamedByOccurrence)
{
    InitGlobals();
    g_numSpells = ParseSpellText("5^Echo^\n5^Echo B^\n5^Echo C^\n", g_spellArray);
    testsupport::TempDir dir;
    const std::string path = dir.Write("other.txt", "5^Echo^\n5^Echo b^\n");
    SpellComparison comparison;
    ASSERT_EQ(CompareWithLoadedSpells(path.c_str(), 0, comparison), 0);
    std::vector<std::string> rows;
    for (const SpellDifference& d : comparison.differences) rows.push_back(DifferenceRow(comparison, d));
    EXPECT_EQ(rows,
              (std::vector<std::string>{"changed      5#2  Echo B  (1 field)", "added        5#3  Echo C"}));
}

TEST(CompareWords, MarksWhatDiffersBetweenTheSharedLeadingAndTrailingWords)
{
    const struct {
        const char* name;
        const char* oldText;
        const char* newText;
        const char* oldMarked;
        const char* newMarked;
    } cases[] = {
        {"OneNumber", "Increase Hitpoints by 10", "Increase Hitpoints by 20", "10", "20"},
        {"WordsAdded", "Increase Mana by 5", "Increase Mana by 5 per tick", "", "per tick"},
        {"Emptied", "Increase Hitpoints by 10", "", "Increase Hitpoints by 10", ""},
        {"MiddleWords", "10 ticks (1.0 minutes)", "20 ticks (2.0 minutes)", "10 ticks (1.0", "20 ticks (2.0"},
        {"RepeatedWords", "by 5 by 5", "by 5", "by 5", ""},
        {"OnlyBlanks", "a  b", "a b", "a  b", "a b"},
        {"Equal", "Instant", "Instant", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string_view oldText = c.oldText;
        const std::string_view newText = c.newText;
        const ChangedWords span = FindChangedWords(oldText, newText);
        EXPECT_EQ(oldText.substr(span.oldBegin, span.oldEnd - span.oldBegin), c.oldMarked);
        EXPECT_EQ(newText.substr(span.newBegin, span.newEnd - span.newBegin), c.newMarked);
    }
}

TEST(CompareFilter, NameHoldsThePartIgnoringAsciiCase)
{
    EXPECT_TRUE(NameContains("Ember Ward", "ward"));
    EXPECT_TRUE(NameContains("Ward", "WARD"));
    EXPECT_TRUE(NameContains("Ember Ward", ""));
    EXPECT_TRUE(NameContains("Caf\xc3\xa9 Strike", "AF\xc3\xa9 s"));
    EXPECT_FALSE(NameContains("Ward", "wards"));
    EXPECT_FALSE(NameContains("Ember", "mbr"));
}

}  // namespace
