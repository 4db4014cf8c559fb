// The diagnostic dumps, each test in a fresh working directory.
#include "dump/dump.h"

#include <climits>
#include <set>

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
    testsupport::Columns columns;
    for (const auto& [c, text] : given) columns[static_cast<std::size_t>(c)] = text;
    std::string text;
    for (std::size_t c = 0; c < columns.size(); ++c)
        text += "Field " + std::to_string(c) + " = " + columns[c] + "\n";
    return text;
}

class Dumps : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        fs::current_path(dir_.path());
    }
    void TearDown() override { fs::current_path(saved_); }

    static constexpr const char* kSpellFile = "spells_us.txt";
    testsupport::TempDir dir_;
    fs::path saved_ = fs::current_path();
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
