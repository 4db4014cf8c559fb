// The diagnostic dumps, each test in a fresh working directory.
#include "dump/dump.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <set>
#include <string>

#include "data/reader.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::SpellLine;

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
    std::vector<std::string> columns(SPELL_FIELD_COUNT);
    for (const auto& [c, text] : given) columns[static_cast<std::size_t>(c)] = text;
    std::string text;
    for (int c = 0; c < SPELL_FIELD_COUNT; ++c)
        text += "Field " + std::to_string(c) + " = " + columns[c] + "\n";
    return text;
}

class Dumps : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        saved_ = fs::current_path();
        fs::current_path(dir_.path());
    }
    void TearDown() override { fs::current_path(saved_); }

    void Load(const std::string& text)
    {
        dir_.Write(kSpellFile, text);
        g_numSpells = ParseSpellFile(kSpellFile, g_spellArray);
    }

    static constexpr const char* kSpellFile = "spells_us.txt";
    testsupport::TempDir dir_;
    fs::path saved_;
};

TEST_F(Dumps, SpellDumpWritesTheRawColumnsOfOneLine)
{
    const struct {
        const char* name;
        std::string file;
        int number;
        std::string expected;
    } cases[] = {
        {"first line", "11^Alpha\n22^Beta\n33^Gamma", 0, FieldLines({{0, "11"}, {1, "Alpha\n"}})},
        {"middle line", "11^Alpha\n22^Beta\n33^Gamma", 1, FieldLines({{0, "22"}, {1, "Beta\n"}})},
        {"past the end gives the last", "11^Alpha\n22^Beta\n33^Gamma", 3,
         FieldLines({{0, "33"}, {1, "Gamma"}})},
        {"far past the end", "11^Alpha\n22^Beta\n33^Gamma", INT_MAX, FieldLines({{0, "33"}, {1, "Gamma"}})},
        {"windows line end", "5^Short^word\r\n", 0, FieldLines({{0, "5"}, {1, "Short"}, {2, "word\n"}})},
        {"long column cut", "1^" + std::string(300, 'n') + "^after", 0,
         FieldLines({{0, "1"}, {1, std::string(259, 'n')}, {2, "after"}})},
        {"empty file", "", 4, FieldLines({})},
        {"line feed in field 173", SpellLine(1, "A").Set(173, "7").Text(), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.file);
        ASSERT_EQ(DumpSpell(c.number, kSpellFile, "out.txt"), 0);
        const std::string text = ReadFile("out.txt");
        if (!c.expected.empty()) {
            EXPECT_EQ(text, c.expected);
        } else {
            EXPECT_TRUE(text.ends_with("Field 172 = 0\nField 173 = 7\n\n"));
        }
    }
}

TEST_F(Dumps, SpellDumpFailures)
{
    Load("1^Alpha\n");
    EXPECT_EQ(DumpSpell(-1, kSpellFile, "neg.txt"), -1);
    EXPECT_EQ(DumpSpell(INT_MIN, kSpellFile, "neg.txt"), -1);
    EXPECT_FALSE(fs::exists("neg.txt"));
    EXPECT_EQ(DumpSpell(0, "missing.txt", "out.txt"), -1);
    EXPECT_EQ(ReadFile("out.txt"), "");
    EXPECT_EQ(DumpSpell(0, kSpellFile, "no/such/dir/out.txt"), -1);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(DumpSpell(0, kSpellFile, "/dev/full"), -1);
    }
}

TEST_F(Dumps, AttributeFilesPadShortValuesKeepLongOnesAndCoverLoadedLinesOnly)
{
    Load(SpellLine(1, "Alpha").Set(9, "42").Set(10, std::string(25, 'v')).Set(173, "x").Text() +
         SpellLine(2, "Beta").Set(9, "").Set(10, "-7").Set(173, "x").Text() + SpellLine(3, "Gamma").Text());
    g_numSpells = 2;  // the file grew since it was loaded
    ASSERT_FALSE(fs::exists("kestrel"));
    ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
    const fs::path dir = kAttributeDumpDir;
    EXPECT_EQ(Files(dir).size(), 174u);
    EXPECT_EQ(ReadFile(dir / "AttributeNum9.txt"),
              "Attribute Value:                   42\t\tSpell: 1 \tAlpha\n"
              "Attribute Value:                     \t\tSpell: 2 \tBeta\n");
    EXPECT_EQ(ReadFile(dir / "AttributeNum10.txt"),
              "Attribute Value: " + std::string(25, 'v') +
                  "\t\tSpell: 1 \tAlpha\n"
                  "Attribute Value:                   -7\t\tSpell: 2 \tBeta\n");
    // The line feed stays in the last column and breaks its entry in two.
    EXPECT_EQ(ReadFile(dir / "AttributeNum173.txt"),
              "Attribute Value:                   x\n\t\tSpell: 1 \tAlpha\n"
              "Attribute Value:                   x\n\t\tSpell: 2 \tBeta\n");

    for (int loaded : {0, -1}) {
        g_numSpells = loaded;
        ASSERT_EQ(DumpAttributes(kSpellFile, kAttributeDumpDir), 0);
        EXPECT_EQ(ReadFile(dir / "AttributeNum86.txt"), "");
    }
    g_numSpells = 1;
    EXPECT_EQ(DumpAttributes("missing.txt", "fresh/attributes"), -1);
    EXPECT_EQ(Files("fresh/attributes"), std::set<std::string>{"AttributeNum0.txt"});
    dir_.Write("blocker", "a file where the directory should be");
    EXPECT_EQ(DumpAttributes(kSpellFile, "blocker/attributes"), -1);
}

TEST_F(Dumps, SpellFilesListTwelveSlotsUnderSafeNames)
{
    SpellStruct& spell = AddSpell(7, "Mornvael's Ward");
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) SetSlot(spell, k, k, 10 * k - 5, 100 + k, 101 + k);
    spell.unknown[11] = -11;
    AddSpell(1, "Thessaly Gleam").base[0] = 111;
    AddSpell(2, "Thessaly Gleam").base[0] = 222;  // the later spell wins the file
    AddSpell(4321, std::string(259, 'q'));        // too long for a file name
    int id = 1234;
    for (const char* unsafe : {"Rune: Kaveth", "Whither Ossun?", "Tal/Meru", "..", ".", "", "../escape",
                               "..\\escape", "a*b", "<x>", "say \"hi\"", "pipe|d", "tab\there", "/abs"}) {
        AddSpell(id++, unsafe);
    }
    ASSERT_EQ(DumpAllSpells(kSpellDumpDir), 0);

    const fs::path dir = kSpellDumpDir;
    std::set<std::string> expected = {"Mornvael's Ward.txt", "Thessaly Gleam.txt", "4321.txt"};
    for (int i = 1234; i < id; ++i) expected.insert(std::to_string(i) + ".txt");
    EXPECT_EQ(Files(dir), expected);
    EXPECT_EQ(Files("."), std::set<std::string>{"kestrel"}) << "nothing lands outside the directory";
    const std::vector<std::string> lines = testsupport::Lines(ReadFile(dir / "Mornvael's Ward.txt"));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "attrib0: 0\tbase0: -5\tmax0: 100\t\tcalc0: 101\tunknown0: 0");
    EXPECT_EQ(lines[11], "attrib11: 11\tbase11: 105\tmax11: 111\t\tcalc11: 112\tunknown11: -11");
    EXPECT_TRUE(ReadFile(dir / "Thessaly Gleam.txt").starts_with("attrib0: 254\tbase0: 222\t"));

    // Missing directories are created; one that cannot be is skipped.
    ASSERT_EQ(DumpAllSpells("deeper/still/dump"), 0);
    EXPECT_EQ(Files("deeper/still/dump").size(), expected.size());
    dir_.Write("blocker", "");
    EXPECT_EQ(DumpAllSpells("blocker/dump"), 0);
}

TEST(DumpFileNames, SafeNameTable)
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

TEST_F(Dumps, FormulaReportListsGrowingSlotsWithoutACap)
{
    const struct {
        int base, max, calc, attrib;
        bool listed;
    } rule[] = {
        {5, 0, 101, 0, true},   {5, 0, 100, 0, false}, {5, 0, 0, 0, false},    {5, 1, 101, 0, false},
        {5, 0, 101, 32, false}, {0, 0, 101, 0, false}, {-5, 0, -3, 254, true},
    };
    for (const auto& r : rule) {
        SpellStruct spell{};
        SetSlot(spell, 7, r.attrib, r.base, r.max, r.calc);
        EXPECT_EQ(IsCalcDumpSlot(spell, 7), r.listed)
            << r.base << " " << r.max << " " << r.calc << " " << r.attrib;
    }

    for (int loaded : {0, -1}) {
        g_numSpells = loaded;
        ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
        EXPECT_EQ(ReadFile(kCalcDumpFile), "");
    }
    g_numSpells = 0;
    SetSlot(AddSpell(1, "Abcdefghij Klmnopqrst Uvwxyzabcd Efghi"), 2, 0, 5, 0, 101);  // cut to 30
    SetSlot(AddSpell(2, "Tenletters"), 0, 15, -12, 0, 3);                             // padded to 30
    ASSERT_EQ(DumpSpecial(kCalcDumpFile), 0);
    EXPECT_EQ(ReadFile(kCalcDumpFile), "Abcdefghij Klmnopqrst Uvwxyzab\tb:5\t\tm: 0\tc: 101\ta: 0\n" +
                                           std::string(20, ' ') + "Tenletters\tb:-12\t\tm: 0\tc: 3\ta: 15\n");
    EXPECT_EQ(DumpSpecial("no/such/dir/calcdump.txt"), -1);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(DumpSpecial("/dev/full"), -1);
    }
}

}  // namespace
