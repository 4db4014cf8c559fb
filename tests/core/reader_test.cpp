// The spell file reader: columns to fields, line ends and cut lines, the
// 4000-record table, and files that no well-behaved writer produces. Every
// file is read into a table with one guarded record behind it, read again
// from memory, and exported, so that no case writes past a buffer or gives
// the exporter something it cannot print as JSON.
#include "data/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "data/messages.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;
using testsupport::TempDir;
using Records = std::span<const SpellStruct>;

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// "1^Long^" and filler up to `length` characters, then `end`, then a line
// with id 2: the first line's end falls at the line buffer's edge.
std::string LineOfLength(std::size_t length, const char* end)
{
    std::string line = "1^Long^";
    line.resize(length, 'z');
    return line + end + "2^Next\n";
}

std::string Garbage(std::size_t size)
{
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Lines as the reader counts them: each line feed ends one; text after the
// last line feed is one more.
int LinesIn(const std::string& bytes)
{
    const auto feeds = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    return feeds + (!bytes.empty() && bytes.back() != '\n');
}

std::string HugeNumbers()
{
    std::string file;
    for (const char* number : {"99999999999999999999", "-99999999999999999999", "2147483648", "-2147483649",
                               "+0000000000002147483647", "1e99", " \t-2147483648"}) {
        SpellLine line(0, std::string("Huge ") + number);
        for (int column : {0, 13, 17, 31, 118}) line.Set(column, number);
        file += line.Text();
    }
    return file;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    int count;
    std::function<void(Records)> check;
    bool moreLines = false;
};

const std::vector<ReadCase>& ReadCases()
{
    static const std::vector<ReadCase> cases = {
        {"Empty", "", 0, nullptr},
        {"LastLineWithoutLineFeed", "5^Word", 1,
         [](Records r) {
             EXPECT_EQ(r[0].id, 5);
             EXPECT_STREQ(r[0].name.data(), "Word");
         }},
        {"LineFeedStaysInTheColumnWhereTheLineEnds", "5^Word\n", 1,
         [](Records r) { EXPECT_STREQ(r[0].name.data(), "Word\n"); }},
        {"CarriageReturnBeforeLineFeedIsDropped", "5^Word\r\n6^Other\r\n", 2,
         [](Records r) {
             EXPECT_STREQ(r[0].name.data(), "Word\n");
             EXPECT_EQ(r[1].id, 6);
         }},
        {"LoneCarriageReturnEndsNoLine", "5^Word\r6^Other\r", 1,
         [](Records r) { EXPECT_STREQ(r[0].name.data(), "Word\r6"); }},
        {"BlankLineIsAnEmptyRecord", "1^A\n\n3^C\n", 3,
         [](Records r) {
             EXPECT_EQ(r[1].id, 0);
             EXPECT_STREQ(r[1].name.data(), "");
             EXPECT_EQ(r[2].id, 3);
         }},
        {"LongColumnIsCutWithoutShiftingLaterOnes", "7^" + std::string(300, 'N') + "^two^zone", 1,
         [](Records r) {
             EXPECT_EQ(std::string(r[0].name.data()), std::string(259, 'N'));
             EXPECT_STREQ(r[0].column2Text.data(), "two");
             EXPECT_STREQ(r[0].teleportZone.data(), "zone");
         }},
        {"SomeonePrefixAndItsCut",
         SpellLine(1, "").Set(7, std::string(255, 'x')).Text() + SpellLine(2, "").Set(7, "").Text(), 2,
         [](Records r) {
             EXPECT_EQ(std::string(r[0].message2.data()), "Someone" + std::string(252, 'x'));
             EXPECT_STREQ(r[1].message2.data(), "");
         }},
        {"NulByteEndsTheLine", Repeat(std::string("7^Na\0me^x^Zone\n", 15), 3), 3,
         [](Records r) {
             EXPECT_STREQ(r[2].name.data(), "Na");
             EXPECT_STREQ(r[2].teleportZone.data(), "");
         }},
        // The line buffer holds 4999 characters: a longer line is one
        // record, and the next line keeps its own.
        {"Line4998", LineOfLength(4998, "\n"), 2, [](Records r) { EXPECT_EQ(r[1].id, 2); }},
        {"Line4999", LineOfLength(4999, "\n"), 2, [](Records r) { EXPECT_EQ(r[1].id, 2); }},
        {"Line5000", LineOfLength(5000, "\n"), 2, [](Records r) { EXPECT_EQ(r[1].id, 2); }},
        {"CrlfSplitByTheCut", LineOfLength(4998, "\r\n"), 2,
         [](Records r) {
             EXPECT_EQ(r[0].id, 1);
             EXPECT_STREQ(r[1].name.data(), "Next\n");
         }},
        {"OneMegabyteLine", "3^" + std::string(1 << 20, 'q') + "^x\n4^After", 2,
         [](Records r) {
             EXPECT_EQ(std::strlen(r[0].name.data()), 259u);
             EXPECT_STREQ(r[1].name.data(), "After");
         }},
        {"TenThousandCarets", std::string(10000, '^') + "\n4^After", 2,
         [](Records r) { EXPECT_EQ(r[1].id, 4); }},
        {"NumbersBeyondTheIntRangeSaturate", HugeNumbers(), 7,
         [](Records r) {
             const int expected[] = {INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, 1, INT_MIN};
             for (std::size_t i = 0; i < r.size(); ++i) {
                 EXPECT_EQ(r[i].id, expected[i]) << r[i].name.data();
                 EXPECT_EQ(r[i].duration, expected[i]) << r[i].name.data();
                 EXPECT_EQ(r[i].base[11], expected[i]) << r[i].name.data();
                 EXPECT_EQ(r[i].classLevel[CLASS_BST], expected[i]) << r[i].name.data();
                 EXPECT_EQ(r[i].seconds13, expected[i] / 1000.0) << r[i].name.data();
             }
         }},
        {"NameCutInsideACharacter", "2^ab" + Repeat("\xE2\x82\xAC", 90), 1,
         [](Records r) {
             ASSERT_EQ(std::strlen(r[0].name.data()), 259u);
             EXPECT_EQ(static_cast<unsigned char>(r[0].name[258]), 0x82);
         }},
        {"BinaryGarbage", Garbage(1 << 16), LinesIn(Garbage(1 << 16)), nullptr},
        {"HundredThousandLines",
         [] {
             std::string file;
             for (int i = 0; i < 100000; ++i)
                 file += std::to_string(i) + "^Spell " + std::to_string(i) + "\n";
             return file;
         }(),
         MAX_SPELLS, [](Records r) { EXPECT_STREQ(r[3999].name.data(), "Spell 3999\n"); }, true},
    };
    return cases;
}

class Reader : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        messages_.clear();
        SetMessageSink([](const char* title, const char* text) {
            messages_.push_back(std::string(title) + ": " + text);
        });
    }
    void TearDown() override { SetMessageSink(nullptr); }

    static inline std::vector<std::string> messages_;
    TempDir dir_;
};

TEST_F(Reader, FilesToRecords)
{
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = dir_.Write("spells_us.txt", c.bytes);
        // A full table with one more record behind it that must stay as it is.
        std::vector<SpellStruct> table(MAX_SPELLS + 1);
        std::memset(static_cast<void*>(table.data()), 0xA5, table.size() * sizeof(SpellStruct));
        const SpellStruct guard = table.back();
        bool more = !c.moreLines;
        const int count = ParseSpellFile(path.c_str(), std::span(table.data(), MAX_SPELLS), &more);
        ASSERT_EQ(count, c.count);
        EXPECT_EQ(more, c.moreLines);
        EXPECT_EQ(std::memcmp(&table.back(), &guard, sizeof guard), 0) << "the record behind the table";
        const Records records(table.data(), static_cast<std::size_t>(count));
        for (const SpellStruct& r : records) {
            for (const TextField* text : {&r.name, &r.column2Text, &r.teleportZone, &r.column4Text,
                                          &r.column5Text, &r.message1, &r.message2, &r.message3}) {
                ASSERT_NE(std::memchr(text->data(), '\0', text->size()), nullptr);
            }
            EXPECT_EQ(r.isInstant, 0);
        }
        if (c.check) c.check(records);

        // The same bytes read from memory give the same records.
        std::vector<SpellStruct> fromText(MAX_SPELLS);
        ASSERT_EQ(ParseSpellText(c.bytes, fromText), count);
        EXPECT_EQ(std::memcmp(fromText.data(), table.data(), records.size_bytes()), 0);

        // The exporter prints every record as one JSON object.
        const testsupport::RunResult run = testsupport::RunExporter(dir_.path(), "spells_us.txt");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = testsupport::Lines(run.out);
        ASSERT_EQ(lines.size(), records.size());
        for (const std::string& line : lines)
            EXPECT_TRUE(nlohmann::json::accept(line)) << line.substr(0, 200);
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(Reader, ColumnsGoToTheirFields)
{
    SpellLine line(1234, "Ember Ward");
    for (const auto& [column, text] : std::vector<std::pair<int, std::string>>{
             {2, "two"},    {3, "arena"}, {4, "four"},  {5, "five"},  {6, "first"}, {7, " casts"},
             {8, "third"},  {9, "9"},     {13, "1500"}, {14, "2"},    {15, "-250"}, {17, "25"},
             {19, "19"},    {20, "-7"},   {31, "11"},   {32, "32"},   {44, "44"},   {55, "55"},
             {58, "10015"}, {62, "2"},    {70, "102"},  {81, "81"},   {83, "1"},    {85, "2"},
             {86, "0"},     {97, "254"},  {98, "5"},    {100, "49"},  {101, "-1"},  {103, "2"},
             {104, "1"},    {110, "4"},   {118, "65"},  {147, "147"}, {150, "77"},  {157, "157"}}) {
        line.Set(column, text);
    }
    ASSERT_EQ(ParseSpellText(line.Text(), g_spellArray), 1);
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
}

TEST_F(Reader, MissingFileReloadsAndTheTableEdge)
{
    const std::string missing = (dir_.path() / "no such dir" / "spells_us.txt").string();
    EXPECT_EQ(ParseSpellFile(missing.c_str(), g_spellArray), -1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Error: Cannot open the file: " + missing + " - please browse for a valid file.");

    // A reload refills the records it reads, caches included, and leaves the rest.
    ASSERT_EQ(ParseSpellText("1\n2\n3\n", g_spellArray), 3);
    g_spellArray[0].isInstant = 1;
    g_spellArray[0].effectText[3][0] = 'x';
    ASSERT_EQ(ParseSpellText("9\n", g_spellArray), 1);
    EXPECT_EQ(g_spellArray[0].isInstant, 0);
    EXPECT_STREQ(g_spellArray[0].effectText[3].data(), "");
    EXPECT_EQ(g_spellArray[2].id, 3);

    // Exactly 4000 lines are not "more lines".
    bool more = true;
    EXPECT_EQ(ParseSpellText(Repeat("1\n", MAX_SPELLS), g_spellArray, &more), MAX_SPELLS);
    EXPECT_FALSE(more);
}

TEST(ReaderColumns, ConvertLikeAtoiSaturateAndSplitAtCarets)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"  42xyz", 42},
        {"\t-17", -17},
        {"\r5", 5},
        {"+8", 8},
        {"2.5", 2},
        {"- 5", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"1234567890", 1234567890},
        {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN},
        {"0000000000000000000000012", 12},
        {"5\n", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColumnToInt({c.text, static_cast<int>(std::strlen(c.text))}), c.expected)
            << '"' << c.text << '"';
    }

    SpellLineColumns columns;
    const char line[] = "1^ab\0cd^ef";
    SplitSpellLine(line, sizeof line - 1, columns);
    EXPECT_EQ(std::string(columns[1].text, static_cast<std::size_t>(columns[1].length)), "ab");
    for (std::size_t i = 2; i < columns.size(); ++i) EXPECT_EQ(columns[i].length, 0) << i;

    std::string wide;
    for (int i = 0; i < SPELL_FIELD_COUNT + 10; ++i) wide += std::to_string(i) + "^";
    SplitSpellLine(wide.data(), wide.size(), columns);
    EXPECT_EQ(std::string(columns[173].text, static_cast<std::size_t>(columns[173].length)), "173");
}

TEST(Globals, StartValues)
{
    InitGlobals();
    EXPECT_EQ(g_intArray[0], 0);
    EXPECT_EQ(g_intArray[MAX_SPELLS], MAX_SPELLS);
    EXPECT_EQ(g_displayLevel, 65);
    EXPECT_EQ(g_numSpells, 0);
    EXPECT_EQ(g_popupHandles[49], -1);
}

}  // namespace
