#include "data/reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "data/messages.h"
#include "temp_dir.h"

namespace {

// A line of 174 columns: column i holds texts[i] where given, else empty.
std::string Line(const std::vector<std::pair<int, std::string>>& columns)
{
    std::vector<std::string> cells(SPELL_FIELD_COUNT);
    for (const auto& [index, text] : columns) cells[static_cast<std::size_t>(index)] = text;
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += '^';
        line += cells[i];
    }
    return line + "\n";
}

std::vector<std::pair<std::string, std::string>> g_messages;
void Record(const char* title, const char* text)
{
    g_messages.emplace_back(title, text);
}

class ReaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        g_messages.clear();
        SetMessageSink(Record);
    }
    void TearDown() override { SetMessageSink(nullptr); }

    int Parse(const std::string& bytes, bool* more = nullptr)
    {
        return ParseSpellFile(dir.Write("spells_us.txt", bytes).c_str(), g_spellArray, more);
    }

    TempDir dir;
};

TEST_F(ReaderTest, EmptyFileGivesNoRecordAndNoMessage)
{
    EXPECT_EQ(Parse(""), 0);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(ReaderTest, MissingFileReportsTheExactPath)
{
    std::string path = (dir.path() / "no such dir" / "spells_us.txt").string();
    EXPECT_EQ(ParseSpellFile(path.c_str(), g_spellArray), -1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, "Error");
    EXPECT_EQ(g_messages[0].second, "Cannot open the file: " + path + " - please browse for a valid file.");
}

TEST_F(ReaderTest, LastLineWithoutLineFeedIsARecord)
{
    EXPECT_EQ(Parse("5^Word"), 1);
    EXPECT_EQ(g_spellArray[0].id, 5);
    EXPECT_STREQ(g_spellArray[0].name.data(), "Word");
    EXPECT_EQ(g_spellArray[0].duration, 0);
    EXPECT_STREQ(g_spellArray[0].message1.data(), "");
}

TEST_F(ReaderTest, LineFeedStaysInTheColumnWhereTheLineEnds)
{
    EXPECT_EQ(Parse("5^Word\n"), 1);
    EXPECT_STREQ(g_spellArray[0].name.data(), "Word\n");
}

TEST_F(ReaderTest, BlankLineInTheMiddleIsAnEmptyRecord)
{
    EXPECT_EQ(Parse(Line({{0, "1"}, {1, "A"}}) + "\n" + Line({{0, "3"}, {1, "C"}})), 3);
    EXPECT_EQ(g_spellArray[1].id, 0);
    EXPECT_STREQ(g_spellArray[1].name.data(), "");
    EXPECT_EQ(g_spellArray[2].id, 3);
}

TEST_F(ReaderTest, ColumnsGoToTheirFields)
{
    std::vector<std::pair<int, std::string>> cols = {
        {0, "1234"},   {1, "Ember Ward"}, {2, "two"},  {3, "arena"}, {4, "four"}, {5, "five"},  {6, "first"},
        {7, " casts"}, {8, "third"},      {9, "9"},    {13, "1500"}, {14, "2.5"}, {15, "-250"}, {17, "25"},
        {19, "19"},    {20, "-7"},        {31, "11"},  {32, "32"},   {44, "44"},  {55, "55"},   {58, "10015"},
        {62, "2"},     {70, "102"},       {81, "81"},  {83, "1"},    {85, "2"},   {86, "0"},    {97, "254"},
        {98, "5"},     {100, "49"},       {101, "-1"}, {103, "2"},   {104, "1"},  {110, "4"},   {118, "65"},
        {147, "147"},  {150, "77"},       {157, "157"}};
    EXPECT_EQ(Parse(Line(cols)), 1);
    const SpellStruct& s = g_spellArray[0];
    EXPECT_EQ(s.id, 1234);
    EXPECT_STREQ(s.name.data(), "Ember Ward");
    EXPECT_STREQ(s.column2Text.data(), "two");
    EXPECT_STREQ(s.teleportZone.data(), "arena");
    EXPECT_STREQ(s.column4Text.data(), "");
    EXPECT_STREQ(s.column5Text.data(), "");
    EXPECT_STREQ(s.message1.data(), "first");
    EXPECT_STREQ(s.message2.data(), "Someone casts");
    EXPECT_STREQ(s.message3.data(), "third");
    EXPECT_EQ(s.col9, 9);
    EXPECT_DOUBLE_EQ(s.seconds13, 1.5);
    EXPECT_DOUBLE_EQ(s.seconds14, 0.002);
    EXPECT_DOUBLE_EQ(s.seconds15, -0.25);
    EXPECT_EQ(s.duration, 25);
    EXPECT_EQ(s.col19, 19);
    EXPECT_EQ(s.base[0], -7);
    EXPECT_EQ(s.base[11], 11);
    EXPECT_EQ(s.unknown[0], 32);
    EXPECT_EQ(s.max[0], 44);
    EXPECT_EQ(s.max[11], 55);
    EXPECT_EQ(s.reagentId[0], 10015);
    EXPECT_EQ(s.reagentCount[0], 2);
    EXPECT_EQ(s.calc[0], 102);
    EXPECT_EQ(s.calc[11], 81);
    EXPECT_EQ(s.beneficial, 1);
    EXPECT_EQ(s.resistType, 2);
    EXPECT_EQ(s.attrib[0], 0);
    EXPECT_EQ(s.attrib[11], 254);
    EXPECT_EQ(s.targetType, 5);
    EXPECT_EQ(s.skill, 49);
    EXPECT_EQ(s.environment, -1);
    EXPECT_EQ(s.timeOfDay, 2);
    EXPECT_EQ(s.classLevel[CLASS_WAR], 1);
    EXPECT_EQ(s.classLevel[CLASS_MNK], 4);
    EXPECT_EQ(s.classLevel[CLASS_BST], 65);
    EXPECT_EQ(s.col147, 147);
    EXPECT_EQ(s.linkedSpell, 77);
    EXPECT_EQ(s.col157, 157);
    EXPECT_EQ(s.isInstant, 0);
    EXPECT_STREQ(s.effectText[0].data(), "");
}

TEST_F(ReaderTest, EmptyColumnSevenGivesEmptyMessage)
{
    Parse(Line({{7, ""}}) + Line({{7, " word"}}));
    EXPECT_STREQ(g_spellArray[0].message2.data(), "");
    EXPECT_STREQ(g_spellArray[1].message2.data(), "Someone word");
}

TEST_F(ReaderTest, SomeonePrefixIsCutTo259Characters)
{
    Parse(Line({{7, std::string(255, 'x')}}));
    EXPECT_EQ(std::string(g_spellArray[0].message2.data()), "Someone" + std::string(252, 'x'));
}

TEST_F(ReaderTest, LongColumnIsCutWithoutShiftingLaterColumns)
{
    Parse(Line({{0, "7"}, {1, std::string(300, 'N')}, {2, "two"}, {3, "zone"}, {17, "9"}}));
    const SpellStruct& s = g_spellArray[0];
    EXPECT_EQ(std::string(s.name.data()), std::string(259, 'N'));
    EXPECT_STREQ(s.column2Text.data(), "two");
    EXPECT_STREQ(s.teleportZone.data(), "zone");
    EXPECT_EQ(s.duration, 9);
}

TEST_F(ReaderTest, LongLineIsOneRecordAndTheNextLineKeepsItsIndex)
{
    std::string longLine = Line({{0, "1"}, {1, "Long"}});
    longLine.pop_back();
    longLine += std::string(6000, 'z') + "\n";
    EXPECT_EQ(Parse(longLine + Line({{0, "2"}, {1, "Next"}})), 2);
    EXPECT_EQ(g_spellArray[0].id, 1);
    EXPECT_EQ(g_spellArray[1].id, 2);
    EXPECT_STREQ(g_spellArray[1].name.data(), "Next");
}

TEST_F(ReaderTest, CarriageReturnBeforeLineFeedIsDropped)
{
    EXPECT_EQ(Parse("5^Word\r\n6^Other\r\n"), 2);
    EXPECT_STREQ(g_spellArray[0].name.data(), "Word\n");
    EXPECT_EQ(g_spellArray[1].id, 6);
}

TEST_F(ReaderTest, LinesBeyondTheTableAreNotRead)
{
    std::string text;
    for (int i = 0; i < MAX_SPELLS + 5; ++i) text += std::to_string(i) + "^n\n";
    bool more = false;
    EXPECT_EQ(Parse(text, &more), MAX_SPELLS);
    EXPECT_TRUE(more);
    EXPECT_EQ(g_spellArray[MAX_SPELLS - 1].id, MAX_SPELLS - 1);

    text.clear();
    for (int i = 0; i < MAX_SPELLS; ++i) text += "1\n";
    EXPECT_EQ(Parse(text, &more), MAX_SPELLS);
    EXPECT_FALSE(more);
}

TEST_F(ReaderTest, ReloadClearsRefilledRecordsAndKeepsTheRest)
{
    Parse(Line({{0, "1"}}) + Line({{0, "2"}}) + Line({{0, "3"}}));
    g_spellArray[0].isInstant = 1;
    g_spellArray[0].effectText[3][0] = 'x';
    EXPECT_EQ(Parse(Line({{0, "9"}})), 1);
    EXPECT_EQ(g_spellArray[0].isInstant, 0);
    EXPECT_STREQ(g_spellArray[0].effectText[3].data(), "");
    EXPECT_EQ(g_spellArray[2].id, 3);
}

TEST(ColumnToIntTest, ConvertsLikeAtoiAndSaturates)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"  42xyz", 42},
        {"\t-17", -17},
        {"+8", 8},
        {"2.5", 2},
        {"- 5", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN},
        {"0000000000000000000000012", 12},
        {"5\n", 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColumnToInt({c.text, static_cast<int>(std::char_traits<char>::length(c.text))}), c.expected)
            << '"' << c.text << '"';
    }
}

TEST(SplitSpellLineTest, ShortLineLeavesLaterColumnsEmptyAndNulEndsTheLine)
{
    SpellLineColumns columns;
    const char line[] = "1^ab\0cd^ef";
    SplitSpellLine(line, sizeof line - 1, columns);
    EXPECT_EQ(std::string(columns[1].text, static_cast<std::size_t>(columns[1].length)), "ab");
    for (std::size_t i = 2; i < columns.size(); ++i) EXPECT_EQ(columns[i].length, 0) << i;
}

TEST(SplitSpellLineTest, TextAfterTheLastColumnIsIgnored)
{
    std::string line;
    for (int i = 0; i < SPELL_FIELD_COUNT + 10; ++i) line += std::to_string(i) + "^";
    SpellLineColumns columns;
    SplitSpellLine(line.data(), line.size(), columns);
    EXPECT_EQ(std::string(columns[173].text, static_cast<std::size_t>(columns[173].length)), "173");
}

TEST(FillSpellStructTest, IntArrayHoldsEveryLinkNumber)
{
    InitGlobals();
    EXPECT_EQ(g_intArray[0], 0);
    EXPECT_EQ(g_intArray[3999], 3999);
    EXPECT_EQ(g_intArray[MAX_SPELLS], MAX_SPELLS);
    EXPECT_EQ(g_displayLevel, 65);
    EXPECT_EQ(g_popupHandles[49], -1);
}

}  // namespace

namespace {

TEST_F(ReaderTest, TextInMemoryReadsLikeTheSameFile)
{
    const std::string text = "1^Alpha\r\n\n2^" + std::string(300, 'b') + "^zone\n3^Last";
    static std::array<SpellStruct, 8> fromText;
    EXPECT_EQ(ParseSpellText(text, fromText), 4);
    EXPECT_EQ(Parse(text), 4);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(&fromText[i], &g_spellArray[i], sizeof(SpellStruct)), 0) << i;
    }
    EXPECT_EQ(ParseSpellText("", fromText), 0);
    bool more = false;
    EXPECT_EQ(ParseSpellText("1\n2\n3\n4\n5\n6\n7\n8\n9\n", fromText, &more), 8);
    EXPECT_TRUE(more);
}

}  // namespace
