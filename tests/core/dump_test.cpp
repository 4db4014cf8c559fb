// The diagnostic dumps, each test in a fresh working directory.
#include "dump/dump.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "data/reader.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A line of 174 columns; columns not given are "0" except the last, which
// is "x" so that the line feed's column is easy to see.
std::string Line(const std::map<int, std::string>& columns)
{
    std::string line;
    for (int c = 0; c < SPELL_FIELD_COUNT; ++c) {
        if (c > 0) line += '^';
        auto it = columns.find(c);
        line += it != columns.end() ? it->second : (c == SPELL_FIELD_COUNT - 1 ? "x" : "0");
    }
    return line + '\n';
}

// The names of the regular files in a directory.
std::set<std::string> Files(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

class DumpTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = fs::current_path();
        static int counter = 0;
        dir_ = fs::temp_directory_path() /
               ("rivizuzi_dump_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        g_numSpells = 0;
    }

    void TearDown() override
    {
        fs::current_path(saved_);
        fs::remove_all(dir_);
        g_numSpells = 0;
    }

    // Writes the spell file and loads it into the table.
    void Load(const std::string& text)
    {
        WriteText(kSpellFile, text);
        g_numSpells = ParseSpellFile(kSpellFile, g_spellArray);
    }

    // Puts a spell with every slot unused into the table at `index`.
    static SpellStruct& SetSpell(int index, int id, const char* name)
    {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        std::memset(static_cast<void*>(&spell), 0, sizeof spell);
        spell.id = id;
        CopyText(spell.name, name);
        spell.attrib.fill(UNUSED_EFFECT);
        spell.calc.fill(100);
        if (g_numSpells < index + 1) g_numSpells = index + 1;
        return spell;
    }

    static constexpr const char* kSpellFile = "spells_us.txt";
    fs::path saved_;
    fs::path dir_;
};

// ---- Single-spell dump -------------------------------------------------------

// The expected dump of a line given as its columns (the last one holding the
// line feed, when the line has one).
std::string FieldLines(const std::map<int, std::string>& columns)
{
    std::string text;
    for (int c = 0; c < SPELL_FIELD_COUNT; ++c) {
        auto it = columns.find(c);
        text += "Field " + std::to_string(c) + " = " + (it != columns.end() ? it->second : "") + "\n";
    }
    return text;
}

std::map<int, std::string> FullColumns(const std::map<int, std::string>& given)
{
    std::map<int, std::string> columns;
    for (int c = 0; c < SPELL_FIELD_COUNT; ++c) columns[c] = c == SPELL_FIELD_COUNT - 1 ? "x\n" : "0";
    for (const auto& [c, text] : given) columns[c] = c == SPELL_FIELD_COUNT - 1 ? text + "\n" : text;
    return columns;
}

TEST_F(DumpTest, SpellNumberPicksTheLineAndPastTheEndGivesTheLastLine)
{
    Load(Line({{0, "11"}, {1, "Alpha"}}) + Line({{0, "22"}, {1, "Beta"}}) + Line({{0, "33"}, {1, "Gamma"}}));
    const struct {
        int number;
        const char* id;
        const char* name;
    } cases[] = {{0, "11", "Alpha"},
                 {1, "22", "Beta"},
                 {2, "33", "Gamma"},
                 {3, "33", "Gamma"},
                 {INT_MAX, "33", "Gamma"}};
    for (const auto& c : cases) {
        ASSERT_EQ(DumpSpell(c.number, kSpellFile, "out.txt"), 0) << c.number;
        EXPECT_EQ(ReadText("out.txt"), FieldLines(FullColumns({{0, c.id}, {1, c.name}}))) << c.number;
    }
}

TEST_F(DumpTest, SpellDumpKeepsTheLineFeedSoAnEmptyLineFollowsField173)
{
    Load(Line({{1, "Alpha"}, {173, "7"}}));
    ASSERT_EQ(DumpSpell(0, kSpellFile, "SpellNum0.txt"), 0);
    const std::string text = ReadText("SpellNum0.txt");
    EXPECT_TRUE(text.ends_with("Field 172 = 0\nField 173 = 7\n\n")) << text.substr(text.size() - 40);
}

TEST_F(DumpTest, ShortLineGivesEmptyColumnsAndWindowsLineEndsReadTheSame)
{
    WriteText(kSpellFile, "5^Short^word\r\n");
    ASSERT_EQ(DumpSpell(0, kSpellFile, "out.txt"), 0);
    EXPECT_EQ(ReadText("out.txt"), FieldLines({{0, "5"}, {1, "Short"}, {2, "word\n"}}));
    EXPECT_NE(ReadText("out.txt").find("Field 3 = \nField 4 = \n"), std::string::npos);
}

TEST_F(DumpTest, LongColumnIsCutWithoutShiftingLaterColumns)
{
    const std::string longName(300, 'n');
    WriteText(kSpellFile, Line({{1, longName}, {2, "after"}}));
    ASSERT_EQ(DumpSpell(0, kSpellFile, "out.txt"), 0);
    const std::string text = ReadText("out.txt");
    EXPECT_NE(text.find("Field 1 = " + std::string(259, 'n') + "\nField 2 = after\n"), std::string::npos);
}

TEST_F(DumpTest, EmptySpellFileDumpsEmptyColumns)
{
    WriteText(kSpellFile, "");
    ASSERT_EQ(DumpSpell(4, kSpellFile, "out.txt"), 0);
    EXPECT_EQ(ReadText("out.txt"), FieldLines({}));
}

TEST_F(DumpTest, NegativeSpellNumberWritesNothing)
{
    Load(Line({{1, "Alpha"}}));
    EXPECT_EQ(DumpSpell(-1, kSpellFile, "SpellNum-1.txt"), -1);
    EXPECT_EQ(DumpSpell(INT_MIN, kSpellFile, "SpellNum-1.txt"), -1);
    EXPECT_FALSE(fs::exists("SpellNum-1.txt"));
}

TEST_F(DumpTest, SpellDumpFailures)
{
    // A missing spell file leaves the created output empty.
    EXPECT_EQ(DumpSpell(0, "missing.txt", "out.txt"), -1);
    EXPECT_TRUE(fs::exists("out.txt"));
    EXPECT_EQ(ReadText("out.txt"), "");
    // An output that cannot be created, or that loses what is written.
    Load(Line({{1, "Alpha"}}));
    EXPECT_EQ(DumpSpell(0, kSpellFile, "no/such/dir/out.txt"), -1);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(DumpSpell(0, kSpellFile, "/dev/full"), -1);
    }
}

// ---- Attribute dump ----------------------------------------------------------

TEST_F(DumpTest, AttributeFilesPadShortValuesKeepLongOnesAndPutABlankBeforeTheTab)
{
    Load(Line({{0, "1"}, {1, "Alpha"}, {9, "42"}, {10, std::string(25, 'v')}}) +
         Line({{0, "2"}, {1, "Beta"}, {9, ""}, {10, "-7"}}));
    ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
    const fs::path dir = kAttributeDumpDir;
    EXPECT_EQ(ReadText(dir / "AttributeNum9.txt"),
              "Attribute Value:                   42\t\tSpell: 1 \tAlpha\n"
              "Attribute Value:                     \t\tSpell: 2 \tBeta\n");
    EXPECT_EQ(ReadText(dir / "AttributeNum10.txt"),
              "Attribute Value: " + std::string(25, 'v') +
                  "\t\tSpell: 1 \tAlpha\n"
                  "Attribute Value:                   -7\t\tSpell: 2 \tBeta\n");
    EXPECT_EQ(ReadText(dir / "AttributeNum1.txt"),
              "Attribute Value:                Alpha\t\tSpell: 1 \tAlpha\n"
              "Attribute Value:                 Beta\t\tSpell: 2 \tBeta\n");
    // The line feed stays in the last column and breaks its entry in two.
    EXPECT_EQ(ReadText(dir / "AttributeNum173.txt"),
              "Attribute Value:                   x\n\t\tSpell: 1 \tAlpha\n"
              "Attribute Value:                   x\n\t\tSpell: 2 \tBeta\n");
}

TEST_F(DumpTest, AttributeDumpCreatesTheDirectoryAndCoversLoadedLinesOnly)
{
    Load(Line({{0, "1"}}) + Line({{0, "2"}}) + Line({{0, "3"}}));
    g_numSpells = 2;  // the file grew since it was loaded
    ASSERT_FALSE(fs::exists("kestrel"));
    ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
    EXPECT_EQ(Files(kAttributeDumpDir).size(), 174u);
    EXPECT_EQ(ReadText(fs::path(kAttributeDumpDir) / "AttributeNum0.txt"),
              "Attribute Value:                    1\t\tSpell: 1 \t0\n"
              "Attribute Value:                    2\t\tSpell: 2 \t0\n");
}

TEST_F(DumpTest, AttributeDumpWithNoSpellLoadedWritesEmptyFiles)
{
    WriteText(kSpellFile, Line({{0, "1"}}));
    for (int loaded : {0, -1}) {
        g_numSpells = loaded;
        ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
        for (int column : {0, 86, 173}) {
            const fs::path file =
                fs::path(kAttributeDumpDir) / ("AttributeNum" + std::to_string(column) + ".txt");
            EXPECT_TRUE(fs::exists(file));
            EXPECT_EQ(ReadText(file), "");
        }
    }
}

TEST_F(DumpTest, AttributeDumpStopsAtTheFirstFileThatDoesNotOpen)
{
    g_numSpells = 1;
    EXPECT_EQ(DumpAttributes("missing.txt", kAttributeDumpDir), -1);
    EXPECT_EQ(Files(kAttributeDumpDir), std::set<std::string>{"AttributeNum0.txt"});

    WriteText(kSpellFile, Line({}));
    WriteText("blocker", "a file where the directory should be");
    EXPECT_EQ(DumpAttributes(kSpellFile, "blocker/attributes"), -1);
}

// ---- All-spells dump ---------------------------------------------------------

TEST_F(DumpTest, SpellFileListsTwelveSlotsNumberedFrom0)
{
    SpellStruct& spell = SetSpell(0, 7, "Mornvael's Ward");
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        const auto s = static_cast<std::size_t>(k);
        spell.attrib[s] = k;
        spell.base[s] = 10 * k - 5;
        spell.max[s] = 100 + k;
        spell.calc[s] = 101 + k;
        spell.unknown[s] = -k;
    }
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);
    std::string expected;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        char line[160];
        std::snprintf(line, sizeof line, "attrib%d: %d\tbase%d: %d\tmax%d: %d\t\tcalc%d: %d\tunknown%d: %d\n",
                      k, k, k, 10 * k - 5, k, 100 + k, k, 101 + k, k, -k);
        expected += line;
    }
    EXPECT_EQ(ReadText(fs::path(kSpellDumpDir) / "Mornvael's Ward.txt"), expected);
    EXPECT_TRUE(expected.starts_with("attrib0: 0\tbase0: -5\tmax0: 100\t\tcalc0: 101\tunknown0: 0\n"));
    EXPECT_TRUE(expected.ends_with("attrib11: 11\tbase11: 105\tmax11: 111\t\tcalc11: 112\tunknown11: -11\n"));
}

TEST_F(DumpTest, DuplicateNamesShareOneFileHoldingTheLaterSpell)
{
    SetSpell(0, 1, "Thessaly Gleam").base[0] = 111;
    SetSpell(1, 2, "Thessaly Gleam").base[0] = 222;
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);
    EXPECT_EQ(Files(kSpellDumpDir), std::set<std::string>{"Thessaly Gleam.txt"});
    EXPECT_TRUE(
        ReadText(fs::path(kSpellDumpDir) / "Thessaly Gleam.txt").starts_with("attrib0: 254\tbase0: 222\t"));
}

TEST_F(DumpTest, UnsafeNamesGetTheIdFileAndNothingLandsOutsideTheDirectory)
{
    const struct {
        const char* name;
        int id;
    } cases[] = {
        {"Rune: Kaveth", 1234},
        {"Whither Ossun?", 1235},
        {"Tal/Meru Binding", 1236},
        {"..", 1237},
        {".", 1238},
        {"", 1239},
        {"../escape", 1240},
        {"..\\escape", 1241},
        {"a*b", 1242},
        {"<x>", 1243},
        {"say \"hi\"", 1244},
        {"pipe|d", 1245},
        {"tab\there", 1246},
        {"/abs", 1247},
    };
    int index = 0;
    for (const auto& c : cases) SetSpell(index++, c.id, c.name);
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);

    std::set<std::string> expected;
    for (const auto& c : cases) expected.insert(std::to_string(c.id) + ".txt");
    EXPECT_EQ(Files(kSpellDumpDir), expected);
    EXPECT_EQ(Files("."), std::set<std::string>{"kestrel"});
    EXPECT_EQ(Files("kestrel"), std::set<std::string>{"dump"});
}

TEST_F(DumpTest, SafeNameTable)
{
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"Veil of Orun", true}, {"Kaeth's Ward II", true},
        {"Ends.", true},        {"...", true},
        {"x..y", true},         {"", false},
        {".", false},           {"..", false},
        {"a/b", false},         {"a\\b", false},
        {"a:b", false},         {"a?", false},
        {"\x01", false},        {"line\n", false},
        {"del\x7F", false},     {"caf\xC3\xA9", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSafeDumpFileName(c.name), c.safe) << '"' << c.name << '"';
}

TEST_F(DumpTest, NameTooLongForAFileNameGetsTheIdFile)
{
    SetSpell(0, 4321, std::string(259, 'q').c_str());
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);
    EXPECT_EQ(Files(kSpellDumpDir), std::set<std::string>{"4321.txt"});
}

TEST_F(DumpTest, AllSpellsDumpCreatesItsDirectoryAndSkipsWhatCannotBeWritten)
{
    ASSERT_EQ(DumpAllSpells("deeper/still/dump"), 0);  // nothing loaded: no file
    EXPECT_TRUE(Files("deeper/still/dump").empty());

    SetSpell(0, 1, "Orvash");
    ASSERT_EQ(DumpAllSpells("deeper/still/dump"), 0);
    EXPECT_EQ(Files("deeper/still/dump"), std::set<std::string>{"Orvash.txt"});

    WriteText("blocker", "");
    EXPECT_EQ(DumpAllSpells("blocker/dump"), 0);
    EXPECT_EQ(Files("."), (std::set<std::string>{"blocker", "deeper"}));
}

// ---- Formula report ----------------------------------------------------------

TEST_F(DumpTest, CalcDumpCutsNamesTo30AndPadsShortOnes)
{
    SpellStruct& longName = SetSpell(0, 1, "Abcdefghij Klmnopqrst Uvwxyzabcd Efghi");  // 38
    longName.attrib[2] = 0;
    longName.base[2] = 5;
    longName.max[2] = 0;
    longName.calc[2] = 101;
    SpellStruct& shortName = SetSpell(1, 2, "Tenletters");
    shortName.attrib[0] = 15;
    shortName.base[0] = -12;
    shortName.max[0] = 0;
    shortName.calc[0] = 3;
    ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
    EXPECT_EQ(ReadText(kCalcDumpFile), "Abcdefghij Klmnopqrst Uvwxyzab\tb:5\t\tm: 0\tc: 101\ta: 0\n" +
                                           std::string(20, ' ') + "Tenletters\tb:-12\t\tm: 0\tc: 3\ta: 15\n");
}

TEST_F(DumpTest, CalcDumpSelectionRule)
{
    const struct {
        int base, max, calc, attrib;
        bool selected;
    } cases[] = {
        {5, 0, 101, 0, true},   {5, 0, 100, 0, false}, {5, 0, 0, 0, false},    {5, 1, 101, 0, false},
        {5, 0, 101, 32, false}, {0, 0, 101, 0, false}, {-5, 0, -3, 254, true},
    };
    int index = 0;
    std::string expected;
    for (const auto& c : cases) {
        SpellStruct& spell = SetSpell(index, index + 1, "S");
        ++index;
        spell.base[7] = c.base;
        spell.max[7] = c.max;
        spell.calc[7] = c.calc;
        spell.attrib[7] = c.attrib;
        EXPECT_EQ(IsCalcDumpSlot(spell, 7), c.selected)
            << c.base << " " << c.max << " " << c.calc << " " << c.attrib;
        if (c.selected) {
            char line[120];
            std::snprintf(line, sizeof line, "%30s\tb:%d\t\tm: %d\tc: %d\ta: %d\n", "S", c.base, c.max,
                          c.calc, c.attrib);
            expected += line;
        }
    }
    ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
    EXPECT_EQ(ReadText(kCalcDumpFile), expected);
}

TEST_F(DumpTest, CalcDumpWithNoSpellLoadedIsEmptyAndFailuresReturnMinusOne)
{
    for (int loaded : {0, -1}) {
        g_numSpells = loaded;
        ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
        EXPECT_TRUE(fs::exists(kCalcDumpFile));
        EXPECT_EQ(ReadText(kCalcDumpFile), "");
    }
    EXPECT_EQ(DumpSpecial("no/such/dir/calcdump.txt"), -1);
    SpellStruct& spell = SetSpell(0, 1, "Full");
    spell.base[0] = 5;
    spell.calc[0] = 101;
    spell.attrib[0] = 0;
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(DumpSpecial("/dev/full"), -1);
    }
}

}  // namespace
