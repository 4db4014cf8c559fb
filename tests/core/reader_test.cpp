// The spell file reader (columns, line ends, cut lines, the 4000-record
// table, files no well-behaved writer produces), the text conversion, the
// settings file reader, the sample file run.sh, the benchmarks and the window
// tests load, and the diagnostic dumps (each in a fresh working directory).
#include "data/reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <span>

#include "app/settings_format.h"
#include "data/text_encoding.h"
#include "dump/dump.h"
#include "sample/sample_gen.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;

// What a row checks of a record: "id|name|teleportZone|message2".
std::string Fields(const SpellStruct& r)
{
    return std::to_string(r.id) + "|" + r.name.data() + "|" + r.teleportZone.data() + "|" + r.message2.data();
}

struct ReadCase {
    const char* name;
    std::string bytes;
    int count;
    int record;  // the record to check, and its fields:
    std::string fields;
    bool moreLines = false;
};
const std::vector<ReadCase> kReadCases = {
    {"Empty", "", 0, -1, ""},
    {"CarriageReturnBeforeLineFeedIsDropped", "5^Word\r\n6^Other\r\n", 2, 0, "5|Word\n||"},
    // Every column is cut at 259 characters, numbers too: 258 zeros and "71" read 7.
    {"LongColumnIsCutWithoutShiftingLaterOnes",
     std::string(258, '0') + "71^" + std::string(300, 'N') + "^two^zone", 1, 0,
     "7|" + std::string(259, 'N') + "|zone|"},
    {"SomeonePrefixIsCutWithItsColumn", SpellLine(1, "").Set(7, std::string(255, 'x')).Text(), 1, 0,
     "1||0|Someone" + std::string(252, 'x')},
    // The line buffer holds 4999 characters (the line feed counts): the
    // tail of a longer line is skipped, and the next line keeps its own.
    {"Line4998", "1^" + std::string(4996, 'z') + "\n2^Next\n", 2, 1, "2|Next\n||"},
    {"Line4999", "1^" + std::string(4997, 'z') + "\n2^Next\n", 2, 1, "2|Next\n||"},
    {"Line5000", "1^" + std::string(4998, 'z') + "\n2^Next\n", 2, 1, "2|Next\n||"},
    {"CrlfSplitByTheCut", "1^" + std::string(4996, 'z') + "\r\n2^Next\n", 2, 1, "2|Next\n||"},
    {"OneMegabyteLine", "3^" + std::string(1 << 20, 'q') + "^x\n4^After", 2, 1, "4|After||"},
    {"NameCutInsideACharacter", "2^" + std::string(257, 'a') + "\xE2\x82\xAC", 1, 0,
     "2|" + std::string(257, 'a') + "\xE2\x82||"},
    // Sixteen bytes, the last a caret: the block scan must end the column there.
    {"SixteenBytesEndingAtACaret", "7^Nm^c2^zone123^", 1, 0, "7|Nm|zone123|"},
    {"QuotesAndControlBytesInAName", "6^\"a\\b\"\x01\x1f\x7f\t^z", 1, 0, "6|\"a\\b\"\x01\x1f\x7f\t||"},
    {"FullTable", std::string(MAX_SPELLS, '\n'), MAX_SPELLS, 3999, "0|||"},
    {"OneLineMoreThanTheTable", std::string(MAX_SPELLS + 1, '\n'), MAX_SPELLS, 3999, "0|||", true},
};

class Reader : public testsupport::SpellTableTest {
protected:
    testsupport::TempDir dir_;
};

class ReaderFiles : public Reader, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReaderFiles, FileToRecords)
{
    const ReadCase& c = GetParam();
    const std::string path = dir_.Write("spells_us.txt", c.bytes);
    std::vector<SpellStruct> table(MAX_SPELLS + 1);
    std::memset(static_cast<void*>(table.data()), 0xA5, table.size() * sizeof(SpellStruct));
    const SpellStruct guard = table.back();
    bool more = !c.moreLines;
    ASSERT_EQ(ParseSpellFile(path.c_str(), std::span(table.data(), MAX_SPELLS), &more), c.count);
    EXPECT_EQ(more, c.moreLines);
    EXPECT_EQ(std::memcmp(&table.back(), &guard, sizeof guard), 0) << "the record behind the table";
    const std::span<const SpellStruct> records(table.data(), static_cast<std::size_t>(c.count));
    for (const SpellStruct& r : records) EXPECT_EQ(r.isInstant, 0) << "a cache left from before";
    EXPECT_EQ(c.record < 0 ? "" : Fields(records[static_cast<std::size_t>(c.record)]), c.fields);

    const testsupport::RunResult run = testsupport::RunExporter(dir_.path(), "spells_us.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = testsupport::Lines(run.out);
    ASSERT_EQ(lines.size(), records.size());
    for (const std::string& line : lines) EXPECT_TRUE(nlohmann::json::accept(line)) << line;
}
INSTANTIATE_TEST_SUITE_P(Rows, ReaderFiles, testing::ValuesIn(kReadCases), testsupport::RowName());

TEST(ReaderColumns, ConvertLikeAtoiAndSaturate)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"abc", 0},     {"  42xyz", 42}, {"1234567890", 1234567890}, {"000000000012", 12},
        {"\t-17", -17}, {"\r5", 5},      {"2147483647", INT_MAX},    {"2147483648", INT_MAX},
        {"+8", 8},      {"2.5", 2},      {"-2147483648", INT_MIN},   {"-2147483649", INT_MIN},
        {"- 5", 0},     {"5\n", 5},      {"99999999999", INT_MAX},   {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnToInt({c.text, static_cast<int>(std::strlen(c.text))}), c.expected) << c.text;
}

TEST_F(Reader, EveryColumnToItsField)
{
    testsupport::Columns columns;  // column c holds the number 1000 + c
    for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = std::to_string(1000 + c);
    ASSERT_EQ(ParseSpellText(testsupport::JoinLine(columns), g_spellArray), 1);
    const SpellStruct& s = g_spellArray[0];
    const auto& level = s.classLevel;
    const std::vector<int> ints{
        s.id,         s.col9,           s.duration,        s.base[0],     s.base[11],   s.unknown[0],
        s.max[11],    s.reagentId[0],   s.reagentCount[3], s.calc[11],    s.beneficial, s.attrib[0],
        s.attrib[11], level[CLASS_WAR], level[CLASS_BST],  s.linkedSpell, s.col157};
    EXPECT_EQ(ints, (std::vector<int>{1000, 1009, 1017, 1020, 1031, 1032, 1055, 1058, 1065, 1081, 1083, 1086,
                                      1097, 1104, 1118, 1150, 1157}));
    EXPECT_EQ((std::vector<double>{s.seconds13, s.seconds14, s.seconds15}),
              (std::vector<double>{1.013, 1.014, 1.015}));
    const std::vector<std::string> texts{s.name.data(),     s.column2Text.data(), s.teleportZone.data(),
                                         s.message1.data(), s.message2.data(),    s.message3.data()};
    EXPECT_EQ(texts, (std::vector<std::string>{"1001", "1002", "1003", "1006", "Someone1007", "1008"}));
}

// Text as UTF-8 into a buffer of `size` bytes (16: room enough, where the
// text as a std::string must read the same).
struct EncodingRow {
    const char* name;
    const char* text;
    std::size_t size;
    const char* utf8;
};
class TextEncoding : public testing::TestWithParam<EncodingRow> {};

TEST_P(TextEncoding, ValidUtf8StaysOtherBytesReadAsLatin1AndOnlyWholeCharactersFit)
{
    const EncodingRow& row = GetParam();
    std::array<char, 17> out;
    out.fill('X');
    const std::size_t length = TextToUtf8(row.text, out.data(), row.size);
    EXPECT_EQ(std::string(out.data(), length), row.utf8);
    EXPECT_EQ(out[length], '\0');
    EXPECT_EQ(out[row.size], 'X') << "written past the buffer";
    if (row.size == 16) {
        EXPECT_EQ(TextToUtf8(row.text), row.utf8);
    }
}

const EncodingRow kEncodings[] = {
    {"utf-8", "Caf\xC3\xA9", 16, "Caf\xC3\xA9"},
    {"latin-1", "Caf\xE9", 16, "Caf\xC3\xA9"},
    {"overlong slash", "\xC0\xAF", 16, "\xC3\x80\xC2\xAF"},
    {"cut character", "ab\xE2\x82", 16, "ab\xC3\xA2\xC2\x82"},
    {"ascii filling the buffer", "abc", 4, "abc"},
    {"ascii one byte too long", "abcd", 4, "abc"},
    {"utf-8 filling the buffer", "a\xC3\xA9", 4, "a\xC3\xA9"},
    {"utf-8 character that does not fit", "a\xC3\xA9", 3, "a"},
    {"three bytes that do not fit", "a\xE2\x82\xAC", 4, "a"},
    {"latin-1 filling the buffer", "a\xE9", 4, "a\xC3\xA9"},
    {"latin-1 character that does not fit", "a\xE9", 3, "a"},
    {"room for the terminator only", "abc", 1, ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, TextEncoding, testing::ValuesIn(kEncodings), testsupport::RowName());

TEST(TextEncodingLatin1, OnlyCharactersUpToU00FFThatFitTheBuffer)
{
    std::array<char, 16> out;
    EXPECT_TRUE(Utf8ToLatin1("a\xC3\xA9", out.data(), 3));
    EXPECT_STREQ(out.data(), "a\xE9");
    for (auto [text, size] : {std::pair{"a\xC3\xA9", 2}, {"\xE2\x82\xAC", 16}}) {
        EXPECT_FALSE(Utf8ToLatin1(text, out.data(), size)) << text;
        EXPECT_STREQ(out.data(), "");
    }
    // The longest name, 259 Latin-1 letters, takes twice as many bytes as UTF-8.
    EXPECT_TRUE(NameSearchText(std::string(259, '\xC9').c_str()).FoundIn(std::string(259, '\xE9')));
}

// The lines ReadSettingsLine gives until it says the file ended, each in [].
struct SettingsLinesRow {
    const char* name;
    std::string bytes;
    std::string lines;
};
class SettingsLines : public testing::TestWithParam<SettingsLinesRow> {};

TEST_P(SettingsLines, EndAtALineFeedWithinTheirBuffer)
{
    testsupport::TempDir dir;
    std::FILE* file = std::fopen(dir.Write("rivizuzi.cfg", GetParam().bytes).c_str(), "r");
    ASSERT_NE(file, nullptr);
    std::string lines;
    TextField line;
    for (int read = 0; read < 4; ++read) {
        line.fill('X');
        if (!ReadSettingsLine(file, line)) break;
        lines.append("[").append(line.data()).append("]");
    }
    std::fclose(file);
    EXPECT_EQ(lines, GetParam().lines);
}

const std::string k259(259, 'p');
const SettingsLinesRow kSettingsLines[] = {
    {"empty file", "", ""},
    {"only a line break", "\n", "[]"},
    {"two line breaks", "\n\n", "[][]"},
    {"no line feed at the end", "a.txt", "[a.txt]"},
    {"crlf", "a.txt\r\n65 0\r\n", "[a.txt][65 0]"},
    {"a second carriage return stays", "p\r\r\n", "[p\r]"},
    {"lone carriage return ends no line", "a.txt\r65 0 1 2\r", "[a.txt\r65 0 1 2\r]"},
    {"nul byte in the line", std::string("a.txt\0junk\n65\n", 14), "[a.txt][65]"},
    {"exactly the buffer", k259 + "\n1\n", "[" + k259 + "][1]"},
    {"the buffer and a crlf", k259 + "\r\n1\n", "[" + k259 + "][1]"},
    {"a carriage return where the line is cut", std::string(258, 'p') + "\rq\n",
     "[" + std::string(258, 'p') + "\r]"},
    {"one byte too long", k259 + "q\n1\n", "[" + k259 + "][1]"},
    {"a megabyte", std::string(1 << 20, 'p') + "\n1\n", "[" + k259 + "][1]"},
};
INSTANTIATE_TEST_SUITE_P(Rows, SettingsLines, testing::ValuesIn(kSettingsLines), testsupport::RowName());

TEST(SettingsFile, SecondLineHoldsFourNumbersSaturated)
{
    std::array<int, 4> values{};
    ASSERT_TRUE(ParseFourInts("2147483648 1\t-5 -9999999999", values));
    EXPECT_EQ(values, (std::array{INT_MAX, 1, -5, INT_MIN}));
    for (const char* text : {"65 1 10", "", "65 1 10 x"}) EXPECT_FALSE(ParseFourInts(text, values)) << text;
}

TEST(SettingsFile, PathsThatTheFirstLineCannotHoldAreNamed)
{
    const struct {
        std::string path;
        const char* problem;
    } cases[] = {
        {"", nullptr},
        {"a\rb", nullptr},
        {std::string(259, 'p'), nullptr},
        {"a\n", "it holds a line feed"},
        {"\r", "it ends in a carriage return"},
        {"a\r", "it ends in a carriage return"},
        {std::string(260, 'p'), "it is longer than 259 bytes"},
    };
    for (const auto& c : cases) EXPECT_STREQ(SettingsPathProblem(c.path.c_str()), c.problem) << c.path;
}

// The same bytes each time, whole records, every effect id (so every sentence).
TEST(SampleGen, SameBytesForTheSameOptionsAFullTableOfWholeRecordsAndEveryEffectId)
{
    const std::string text = GenerateSampleSpellFile({});
    EXPECT_EQ(text, GenerateSampleSpellFile({}));
    EXPECT_EQ(std::count(text.begin(), text.end(), '^'), 173 * MAX_SPELLS);  // with no short line: 174 each
    testsupport::TempDir dir;
    std::vector<SpellStruct> table(MAX_SPELLS);
    int shortLines = -1;
    ASSERT_EQ(ParseSpellFile(dir.Write("s.txt", text).c_str(), table, nullptr, &shortLines), MAX_SPELLS);
    EXPECT_EQ(shortLines, 0);
    std::set<int> effects;
    for (const SpellStruct& spell : table) effects.insert(spell.attrib.begin(), spell.attrib.end());
    for (int id = 0; id <= 153; ++id) EXPECT_TRUE(effects.count(id)) << "effect " << id;
}

// ---- The diagnostic dumps ----------------------------------------------------

namespace fs = std::filesystem;
using testsupport::ReadFile;

std::set<std::string> Files(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

// "Field N = text" for columns 0..173, with the given texts and "" elsewhere.
std::string FieldLines(const std::vector<std::pair<int, std::string>>& given)
{
    testsupport::Columns columns;
    for (const auto& [c, text] : given) columns[static_cast<std::size_t>(c)] = text;
    std::string text;
    for (std::size_t c = 0; c < columns.size(); ++c)
        text += "Field " + std::to_string(c) + " = " + columns[c] + "\n";
    return text;
}

class Dumps : public testsupport::SpellTableTest {
protected:
    static constexpr const char* kSpellFile = "spells_us.txt";
    testsupport::TempDir dir_;
    const testsupport::WorkIn in_{dir_.path()};
};

// Line `number` as "Field N = text" lines, or what the status line says
// when the file has no such line (and nothing is written).
TEST_F(Dumps, SpellDumpWritesTheRawColumnsOfOneLineOrSaysWhyNot)
{
    const std::string three = "11^Alpha\n22^Beta\n33^Gamma";
    const struct {
        const char* name;
        std::string file;
        int number;
        std::string expected;  // the dump, or the status line
    } cases[] = {
        {"middle line", three, 1, FieldLines({{0, "22"}, {1, "Beta\n"}})},
        {"the last line", three, 2, FieldLines({{0, "33"}, {1, "Gamma"}})},
        {"long column and windows line end", "1^" + std::string(300, 'n') + "^word\r\n", 0,
         FieldLines({{0, "1"}, {1, std::string(259, 'n')}, {2, "word\n"}})},
        {"line feed in field 173", testsupport::RawLine({{0, "1"}, {173, "7"}}), 0,
         FieldLines({{0, "1"}, {173, "7\n"}})},
        {"one past the end", three, 3,
         "Nothing was dumped: the spell file has no line 3 (its 3 lines are numbered 0 to 2)."},
        {"far past the end", "11^Alpha\n22^Beta\n", INT_MAX,
         "Nothing was dumped: the spell file has no line 2147483647 (its 2 lines are numbered 0 to 1)."},
        {"negative", "11^Alpha\n", -1,
         "Nothing was dumped: the spell file has no line -1 (its only line is line 0)."},
        {"empty file", "", 0, "Nothing was dumped: the spell file has no line 0 (the file is empty)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir_.Write(kSpellFile, c.file);
        fs::remove("out.txt");
        int lines = -1;
        const int result = DumpSpell(c.number, kSpellFile, "out.txt", &lines);
        MessageText status{};
        if (result == DUMP_NO_SUCH_LINE) FormatNoSuchLine(c.number, lines, status);
        EXPECT_EQ(result == 0 ? ReadFile("out.txt") : status.data(), c.expected);
        EXPECT_EQ(fs::exists("out.txt"), result == 0);
    }

    dir_.Write(kSpellFile, three);
    EXPECT_EQ(DumpSpell(0, "missing.txt", "out.txt"), -1);
    EXPECT_EQ(ReadFile("out.txt"), "");
    EXPECT_EQ(DumpSpell(0, kSpellFile, "no/such/dir/out.txt"), -1);
    EXPECT_EQ(DumpSpell(0, kSpellFile, "/dev/full"), -1);
}

TEST_F(Dumps, AttributeFilesPadShortValuesKeepLongOnesAndCoverLoadedLinesOnly)
{
    dir_.Write(kSpellFile, SpellLine(1, "Alpha").Set(9, "42").Text() +
                               SpellLine(2, "Beta").Set(9, "1234567890123456789012").Text() +
                               SpellLine(3, "Gamma").Text());
    g_numSpells = 2;  // the file grew since it was loaded
    ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
    const fs::path dir = kAttributeDumpDir;
    EXPECT_EQ(Files(dir).size(), 174u);
    EXPECT_EQ(ReadFile(dir / "AttributeNum9.txt"),
              "Attribute Value:                   42\t\tSpell: 1 \tAlpha\n"
              "Attribute Value: 1234567890123456789012\t\tSpell: 2 \tBeta\n");

    g_numSpells = 5;  // the file shrank since it was loaded
    ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
    EXPECT_EQ(testsupport::Lines(ReadFile(dir / "AttributeNum0.txt")).size(), 3u);
    EXPECT_EQ(DumpAttributes("missing.txt", "fresh/attributes"), -1);
    EXPECT_EQ(Files("fresh/attributes"), std::set<std::string>{"AttributeNum0.txt"});
    dir_.Write("blocker", "a file where the directory should be");
    EXPECT_EQ(DumpAttributes(kSpellFile, "blocker/attributes"), -1);
}

TEST_F(Dumps, SpellFilesListTwelveSlotsUnderSafeNames)
{
    SetSlot(AddSpell(7, "Mornvael's Ward"), 11, 11, 105, 111, 112);
    g_spellArray[0].unknown[11] = -11;
    for (const char* safe : {"...", "x..y", "caf\xC3\xA9"}) AddSpell(3, safe);
    AddSpell(100, std::string(259, 'q'));  // too long for a file name
    int id = 101;
    for (const char* unsafe : {"", ".", "..", "../escape", "/abs", "a\\b", "a:b", "a?", "\x01", "\x85",
                               "tab\t", "del\x7F", "<x>", "a*b", "\"q\"", "a|b"}) {
        AddSpell(id++, unsafe);
    }
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);
    const fs::path dir = kSpellDumpDir;
    std::set<std::string> expected = {"Mornvael's Ward.txt", "....txt", "x..y.txt", "caf\xC3\xA9.txt"};
    for (int i = 100; i < id; ++i) expected.insert(std::to_string(i) + ".txt");
    EXPECT_EQ(Files(dir), expected);
    EXPECT_EQ(Files("."), std::set<std::string>{"kestrel"}) << "nothing lands outside the directory";
    const std::vector<std::string> lines = testsupport::Lines(ReadFile(dir / "Mornvael's Ward.txt"));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines.back(), "attrib11: 11\tbase11: 105\tmax11: 111\t\tcalc11: 112\tunknown11: -11");

    // A directory that cannot be created is skipped.
    dir_.Write("blocker", "");
    EXPECT_EQ(DumpAllSpells("blocker/dump"), 0);

    // A name that would make the path too long is never cut into another
    // name: the spell gets its id file.
    std::string deep = std::string(199, 'd');
    for (int i = 0; i < 4; ++i) deep.append("/").append(199, 'd');
    g_numSpells = 0;
    AddSpell(7, std::string(100, 'n'));
    ASSERT_EQ(DumpAllSpells(deep.c_str()), 0);
    EXPECT_EQ(Files(deep), std::set<std::string>{"7.txt"});
}

TEST_F(Dumps, EverySpellGetsItsOwnFileUnderANameNotYetTaken)
{
    const struct {
        int id;
        const char* name;
        const char* file;
    } spells[] = {
        {5, "Ward", "Ward.txt"},
        {6, "Ward", "6.txt"},    // the name is taken: the id
        {6, "Ward", "6-2.txt"},  // so is the id: id and index
        {7, "6", "7.txt"},       // a name taken by an id
        {8, "9", "9.txt"},
        {10, "9-6", "9-6.txt"},
        {9, "Ward", "9-6-2.txt"},                          // name, id and id-index taken
        {11, "Gr\xE8ve Noire", "Gr\xC3\xA8ve Noire.txt"},  // Latin-1, named in UTF-8
        {12, "Gr\xC3\xA8ve Noire", "12.txt"},              // the same name in UTF-8
    };
    std::set<std::string> expected;
    for (const auto& s : spells) {
        SpellStruct& spell = AddSpell(s.id, s.name);
        spell.unknown[0] = g_numSpells - 1;
        expected.insert(s.file);
    }
    fs::create_directories(kSpellDumpDir);
    dir_.Write(std::string(kSpellDumpDir) + "/6.txt", "from an earlier dump");
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);
    EXPECT_EQ(Files(kSpellDumpDir), expected);
    for (std::size_t i = 0; i < std::size(spells); ++i) {
        const std::string first =
            testsupport::Lines(ReadFile(fs::path(kSpellDumpDir) / spells[i].file)).at(0);
        EXPECT_EQ(first, "attrib0: 254\tbase0: 0\tmax0: 0\t\tcalc0: 0\tunknown0: " + std::to_string(i))
            << spells[i].file;
    }
}

TEST_F(Dumps, FormulaReportListsGrowingSlotsWithoutACap)
{
    SpellStruct& cut = AddSpell(1, "Abcdefghij Klmnopqrst Uvwxyzabcd Efghi");  // cut to 30 characters
    SetSlot(cut, 0, 0, 5, 0, 101);                                             // listed
    SetSlot(cut, 1, 0, 5, 0, 100);                                             // no growth
    SetSlot(cut, 2, 0, 5, 0, 0);                                               // no formula
    SetSlot(cut, 3, 0, 5, 1, 101);                                             // a cap
    SetSlot(cut, 4, 32, 5, 0, 101);                                            // an item id
    SetSlot(cut, 5, 0, 0, 0, 101);                                             // base 0
    SetSlot(AddSpell(2, "Tenletters"), 6, 254, -5, 0, -3);                     // padded to 30; listed
    ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
    EXPECT_EQ(ReadFile(kCalcDumpFile), "Abcdefghij Klmnopqrst Uvwxyzab\tb:5\t\tm: 0\tc: 101\ta: 0\n" +
                                           std::string(20, ' ') +
                                           "Tenletters\tb:-5\t\tm: 0\tc: -3\ta: 254\n");
    EXPECT_EQ(DumpSpecial("/dev/full"), -1);
    EXPECT_EQ(DumpSpecial("no/such/dir/calcdump.txt"), -1);
}

}  // namespace
