// Hostile spell and settings files, generated at test time: garbage, NUL
// bytes, huge lines and files, numbers beyond the int range, cut UTF-8 and
// foreign line ends. Whatever the file holds, the reader loads at most 4000
// records without writing past its table, and the exporter turns what was
// loaded into valid JSON lines. (The sanitizer build runs these too.)
#include "hostile_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings_format.h"
#include "compare/compare.h"
#include "data/messages.h"
#include "data/reader.h"
#include "data/text_encoding.h"
#include "effects/effects.h"
#include "temp_dir.h"

namespace {

using Json = nlohmann::json;
using Records = std::span<const SpellStruct>;

// ---- The files ----------------------------------------------------------------

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    out.reserve(text.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// 259 bytes: two-byte characters, then the lead byte of a three-byte one.
std::string NameCutInsideACharacter()
{
    return Repeat("\xC3\xA9", 129) + "\xE2";
}

std::string NulBytesInsideLines()
{
    std::string line = hostile::Line({{0, "7"}, {1, std::string("Na\0me", 5)}, {3, "Zone"}, {17, "10"}});
    return Repeat(line, 10);
}

std::string OneMegabyteLine()
{
    return "3^" + std::string(1 << 20, 'q') + "^x\n" + hostile::Line({{0, "4"}, {1, "After"}});
}

std::string TenThousandCarets()
{
    return std::string(10000, '^') + "\n" + hostile::Line({{0, "4"}, {1, "After"}});
}

std::string HundredThousandLines()
{
    std::string file;
    for (int i = 0; i < 100000; ++i) file += std::to_string(i) + "^Spell " + std::to_string(i) + "\n";
    return file;
}

// Every integer column holds one of these.
constexpr const char* kHugeNumbers[] = {
    "99999999999999999999",    "-99999999999999999999", "2147483648",           "-2147483649",
    "+0000000000002147483647", "18446744073709551616",  "-9223372036854775809", "1e99",
    " \t-2147483648",
};

std::string NumbersBeyondIntRange()
{
    std::string file;
    for (const char* number : kHugeNumbers) {
        std::vector<std::pair<int, std::string>> cells;
        for (int column = 0; column < SPELL_FIELD_COUNT; ++column) {
            if (column < 1 || column > 8) cells.emplace_back(column, number);
        }
        cells.emplace_back(1, std::string("Huge ") + number);
        file += hostile::Line(cells);
    }
    return file;
}

std::string NamesCutInsideACharacter()
{
    // Exactly 259 bytes, and a longer name that the reader cuts at 259
    // bytes in the middle of a three-byte character.
    return hostile::Line({{0, "1"}, {1, NameCutInsideACharacter()}, {17, "5"}}) +
           hostile::Line({{0, "2"}, {1, "ab" + Repeat("\xE2\x82\xAC", 90)}, {17, "5"}});
}

std::string JoinSample(int lines, const char* end)
{
    std::string file;
    for (std::string line : hostile::SampleLines(lines)) {
        line.pop_back();
        file += line + end;
    }
    return file;
}

// ---- Checks shared by every file ------------------------------------------------

bool IsTerminated(const TextField& text)
{
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

void ExpectSoundRecords(Records records)
{
    for (const SpellStruct& r : records) {
        for (const TextField* text : {&r.name, &r.column2Text, &r.teleportZone, &r.column4Text,
                                      &r.column5Text, &r.message1, &r.message2, &r.message3}) {
            ASSERT_TRUE(IsTerminated(*text));
        }
        EXPECT_EQ(r.isInstant, 0);
    }
}

// Lines as the reader counts them: each line feed ends one; text after the
// last line feed is one more.
int CountLines(const std::string& bytes)
{
    int lines = 0;
    for (char c : bytes) lines += c == '\n';
    if (!bytes.empty() && bytes.back() != '\n') ++lines;
    return lines;
}

struct RunResult {
    int status = -1;
    std::string out;
};

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

RunResult RunExporter(const TempDir& dir, const std::string& arguments)
{
    const auto out = dir.path() / "out.jsonl";
    const std::string command = std::string("'") + RIVIZUZI_BUILD_DIR "/rivizuzi-export' " + arguments +
                                " >'" + out.string() + "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out)};
}

// Every output line is one JSON object; returns them.
std::vector<Json> ParseJsonLines(const std::string& text)
{
    std::vector<Json> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        Json object = Json::parse(line, nullptr, false);
        EXPECT_FALSE(object.is_discarded()) << "not JSON: " << line.substr(0, 200);
        if (object.is_discarded()) break;
        objects.push_back(std::move(object));
    }
    return objects;
}

void ExpectExportShows(const TempDir& dir, const std::string& path, Records records)
{
    const RunResult result = RunExporter(dir, "'" + path + "'");
    ASSERT_EQ(result.status, 0);
    const std::vector<Json> spells = ParseJsonLines(result.out);
    ASSERT_EQ(spells.size(), records.size());
    for (std::size_t i = 0; i < spells.size(); ++i) {
        const Json& spell = spells[i];
        ASSERT_EQ(spell.at("index"), static_cast<int>(i));
        EXPECT_EQ(spell.at("id"), records[i].id);
        EXPECT_EQ(spell.at("name"), TextToUtf8(records[i].name.data()));
        for (const Json& effect : spell.at("effects")) {
            EXPECT_GE(effect.at("slot"), 1);
            EXPECT_LE(effect.at("slot"), NUM_EFFECT_SLOTS);
            const int link = effect.at("link");
            EXPECT_TRUE(link == -1 || (link >= 0 && link < static_cast<int>(records.size()))) << link;
            EXPECT_FALSE(effect.at("text").get<std::string>().empty());
        }
    }
}

// The search of every name lists every loaded record exactly once.
void ExpectSearchListsAll(const TempDir& dir, const std::string& path, Records records)
{
    const RunResult result = RunExporter(dir, "--search '' '" + path + "'");
    ASSERT_EQ(result.status, 0);
    const std::vector<Json> rows = ParseJsonLines(result.out);
    ASSERT_EQ(rows.size(), records.size());
    std::vector<bool> seen(records.size());
    for (const Json& row : rows) {
        const int index = row.at("index");
        ASSERT_TRUE(index >= 0 && index < static_cast<int>(records.size())) << index;
        EXPECT_FALSE(seen[static_cast<std::size_t>(index)]) << index;
        seen[static_cast<std::size_t>(index)] = true;
    }
}

// ---- The table of hostile spell files ---------------------------------------

struct HostileCase {
    const char* name;
    std::string (*make)();
    // Checks of the loaded records beyond the shared ones; may be null.
    void (*check)(Records records);
};

const HostileCase kHostileCases[] = {
    {"BinaryGarbage", [] { return hostile::BinaryGarbage(1 << 20); }, nullptr},
    {"NulBytesInsideLines", NulBytesInsideLines,
     [](Records r) {
         ASSERT_EQ(r.size(), 10u);
         // The line ends at its first NUL byte.
         EXPECT_EQ(r[9].id, 7);
         EXPECT_STREQ(r[9].name.data(), "Na");
         EXPECT_STREQ(r[9].teleportZone.data(), "");
         EXPECT_EQ(r[9].duration, 0);
     }},
    {"OneMegabyteLine", OneMegabyteLine,
     [](Records r) {
         ASSERT_EQ(r.size(), 2u);
         EXPECT_EQ(r[0].id, 3);
         EXPECT_EQ(std::strlen(r[0].name.data()), 259u);
         EXPECT_EQ(r[1].id, 4);
         EXPECT_STREQ(r[1].name.data(), "After");
     }},
    {"TenThousandCarets", TenThousandCarets,
     [](Records r) {
         ASSERT_EQ(r.size(), 2u);
         EXPECT_EQ(r[0].id, 0);
         EXPECT_STREQ(r[0].name.data(), "");
         EXPECT_EQ(r[1].id, 4);
     }},
    {"OneColumnLines", [] { return Repeat("12345\n", 5000); },
     [](Records r) {
         ASSERT_EQ(r.size(), 4000u);
         EXPECT_EQ(r[3999].id, 12345);
         EXPECT_STREQ(r[3999].name.data(), "");
     }},
    {"HundredThousandLines", HundredThousandLines,
     [](Records r) {
         ASSERT_EQ(r.size(), 4000u);
         EXPECT_EQ(r[3999].id, 3999);
         EXPECT_STREQ(r[3999].name.data(), "Spell 3999\n");  // the line feed stays in the last column
     }},
    {"FiftyMegabytes", [] { return hostile::HugeFile(); },
     [](Records r) {
         ASSERT_EQ(r.size(), 4000u);
         // The stretched last column is never read: the records are the
         // sample's own.
         std::vector<SpellStruct> sample(1);
         FillSpellStruct(hostile::SampleLines(4000).back().c_str(), sample[0]);
         EXPECT_EQ(std::memcmp(&r[3999], &sample[0], sizeof(SpellStruct)), 0);
     }},
    {"NumbersBeyondIntRange", NumbersBeyondIntRange,
     [](Records r) {
         ASSERT_EQ(r.size(), std::size(kHugeNumbers));
         const int expected[] = {INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1, INT_MIN};
         for (std::size_t i = 0; i < r.size(); ++i) {
             EXPECT_EQ(r[i].id, expected[i]) << kHugeNumbers[i];
             EXPECT_EQ(r[i].duration, expected[i]) << kHugeNumbers[i];
             EXPECT_EQ(r[i].base[11], expected[i]) << kHugeNumbers[i];
             EXPECT_EQ(r[i].classLevel[CLASS_BST], expected[i]) << kHugeNumbers[i];
             EXPECT_EQ(r[i].seconds13, expected[i] / 1000.0) << kHugeNumbers[i];
         }
     }},
    {"NamesCutInsideACharacter", NamesCutInsideACharacter,
     [](Records r) {
         ASSERT_EQ(r.size(), 2u);
         EXPECT_EQ(std::string(r[0].name.data()), NameCutInsideACharacter());
         ASSERT_EQ(std::strlen(r[1].name.data()), 259u);
         EXPECT_EQ(static_cast<unsigned char>(r[1].name[258]), 0x82);  // the middle of a character
     }},
    {"CrlfLineEnds", [] { return JoinSample(50, "\r\n"); },
     [](Records r) {
         ASSERT_EQ(r.size(), 50u);
         std::vector<std::string> lines = hostile::SampleLines(50);
         std::vector<SpellStruct> expected(1);
         FillSpellStruct(lines[49].c_str(), expected[0]);
         EXPECT_EQ(std::memcmp(&r[49], &expected[0], sizeof(SpellStruct)), 0);
     }},
    {"LoneCrLineEnds", [] { return JoinSample(50, "\r"); },
     [](Records r) {
         // A carriage return alone ends no line: the file is one line, cut
         // at the line buffer; its first 174 columns are the first spell's.
         ASSERT_EQ(r.size(), 1u);
         std::vector<SpellStruct> expected(1);
         FillSpellStruct(hostile::SampleLines(50)[0].c_str(), expected[0]);
         EXPECT_EQ(std::memcmp(&r[0], &expected[0], sizeof(SpellStruct)), 0);
     }},
};

// Test names and failure messages show a case by its name.
void PrintTo(const HostileCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostileSpellFile : public testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override
    {
        InitGlobals();
        SetMessageSink(nullptr);
    }

    TempDir dir;
};

TEST_P(HostileSpellFile, LoadsAtMost4000SoundRecordsAndExportsThem)
{
    const HostileCase& c = GetParam();
    const std::string bytes = c.make();
    const std::string path = dir.Write("spells_us.txt", bytes);

    // A table of 4000 records with one more behind it that must stay as it is.
    std::vector<SpellStruct> table(MAX_SPELLS + 1);
    std::memset(static_cast<void*>(table.data()), 0xA5, table.size() * sizeof(SpellStruct));
    std::vector<SpellStruct> guard(1);
    std::memset(static_cast<void*>(guard.data()), 0xA5, sizeof(SpellStruct));

    bool moreLines = false;
    const int count = ParseSpellFile(path.c_str(), std::span(table.data(), MAX_SPELLS), &moreLines);
    const int lines = CountLines(bytes);
    ASSERT_EQ(count, std::min(lines, MAX_SPELLS));
    EXPECT_EQ(moreLines, lines > MAX_SPELLS);
    EXPECT_EQ(std::memcmp(&table[MAX_SPELLS], guard.data(), sizeof(SpellStruct)), 0)
        << "the record behind the table was written";

    const Records records(table.data(), static_cast<std::size_t>(count));
    ExpectSoundRecords(records);
    if (c.check) c.check(records);

    // The program's own table gets the same.
    g_numSpells = ParseSpellFile(path.c_str(), g_spellArray);
    ASSERT_EQ(g_numSpells, count);
    EXPECT_EQ(
        std::memcmp(g_spellArray.data(), table.data(), static_cast<std::size_t>(count) * sizeof(SpellStruct)),
        0);

    // Compared with itself while loaded: no difference, and the table stays.
    const std::vector<SpellStruct> loaded(g_spellArray.begin(), g_spellArray.end());
    SpellTexts fromFile;
    SpellTexts fromTable;
    EXPECT_EQ(DescribeSpellFile(path.c_str(), 0, fromFile), count);
    DescribeLoadedSpells(0, fromTable);
    EXPECT_TRUE(CompareSpellTexts(fromFile, fromTable).empty());
    EXPECT_EQ(std::memcmp(g_spellArray.data(), loaded.data(), sizeof g_spellArray), 0);

    ExpectExportShows(dir, path, records);
    ExpectSearchListsAll(dir, path, records);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSpellFile, testing::ValuesIn(kHostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

// ---- Hostile settings files ---------------------------------------------------

struct SettingsCase {
    const char* name;
    std::string bytes;
    std::optional<std::string> path;  // line 1 as read; not checked when empty
    int numbers;                      // 1: line 2 holds `values`; 0: no four numbers; -1: not checked
    std::array<int, 4> values;
};

const SettingsCase kSettingsCases[] = {
    {"Plain", "/data/spells_us.txt\n65 0 120 240\n", "/data/spells_us.txt", 1, {65, 0, 120, 240}},
    {"CrlfLineEnds", "C:\\spells_us.txt\r\n12 1 -5 7\r\n", "C:\\spells_us.txt", 1, {12, 1, -5, 7}},
    // A lone carriage return ends no line: both lines are line 1.
    {"LoneCrLineEnds", "a.txt\r65 0 1 2\r", "a.txt\r65 0 1 2\r", 0, {}},
    // A NUL byte ends the path, and the second line is still read.
    {"NulByteInThePath", std::string("a.txt\0junk\n65 1 10 20\n", 22), "a.txt", 1, {65, 1, 10, 20}},
    {"NulByteInTheNumbers", std::string("a.txt\n65 1\0 10 20\n", 18), "a.txt", 0, {}},
    {"NumbersBeyondIntRange",
     "a.txt\n99999999999 -99999999999 2147483648 -2147483649\n",
     "a.txt",
     1,
     {INT_MAX, INT_MIN, INT_MAX, INT_MIN}},
    // The rest of a path too long for its buffer is skipped, not read as line 2.
    {"PathOfOneMegabyte", std::string(1 << 20, 'p') + "\n1 1 1 1\n", std::string(259, 'p'), 1, {1, 1, 1, 1}},
    {"MissingSecondLine", "a.txt\n", "a.txt", 0, {}},
    {"Garbage", hostile::BinaryGarbage(4096, 3), std::nullopt, -1, {}},
};

void PrintTo(const SettingsCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostileSettingsFile : public testing::TestWithParam<SettingsCase> {
protected:
    TempDir dir;
};

TEST_P(HostileSettingsFile, ReadsTheTwoLinesWithinTheirBuffers)
{
    const SettingsCase& c = GetParam();
    std::FILE* file = std::fopen(dir.Write("rivizuzi.cfg", c.bytes).c_str(), "r");
    ASSERT_NE(file, nullptr);
    TextField line1;
    TextField line2;
    line1.fill('X');
    line2.fill('X');
    ReadSettingsLine(file, line1);
    ReadSettingsLine(file, line2);
    std::fclose(file);
    ASSERT_TRUE(IsTerminated(line1));
    ASSERT_TRUE(IsTerminated(line2));
    if (c.path) {
        EXPECT_EQ(line1.data(), *c.path);
    }
    EXPECT_LE(std::strlen(line1.data()), 259u);

    std::array<int, 4> values{};
    const bool numbers = ParseFourInts(line2.data(), values);
    if (c.numbers >= 0) {
        EXPECT_EQ(numbers, c.numbers == 1);
        if (numbers) {
            EXPECT_EQ(values, c.values);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsFile, testing::ValuesIn(kSettingsCases),
                         [](const testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

}  // namespace

// ---- Findings of the fuzz targets -----------------------------------------------

TEST(FuzzFindings, TeleportInTheHighestSlotNumberDoesNotOverflow)
{
    InitGlobals();
    g_numSpells = 1;
    g_spellArray[0].base = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    CopyText(g_spellArray[0].teleportZone, "harbor");
    TextField text;
    // The coordinates after the last slot count as 0, whatever the slot number.
    for (int slot : {11, INT_MAX, INT_MIN, -1}) {
        GenerateEffectString(0, 83, 100, 0, 100, 10, 0, slot, text, nullptr);
        EXPECT_STREQ(text.data(), slot == -1 ? "Teleport to Location 100, 1, 2 in Zone: harbor"
                                             : "Teleport to Location 100, 0, 0 in Zone: harbor")
            << slot;
    }
}
