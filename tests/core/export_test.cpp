// The exporter run as a program: its JSON lines and its exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// One line of a spell file: 174 columns, all "0" unless set, every effect
// slot unused and no class getting the spell.
class SpellLine {
public:
    SpellLine(int id, const std::string& name)
    {
        columns_.fill("0");
        Set(0, std::to_string(id));
        Set(1, name);
        for (int k = 0; k < 12; ++k) Set(86 + k, "254");
        for (int c = 104; c <= 118; ++c) Set(c, "255");
    }
    SpellLine& Set(int column, const std::string& text)
    {
        columns_[static_cast<std::size_t>(column)] = text;
        return *this;
    }
    // Slot k (0..11): effect id, base, max, calc.
    SpellLine& Slot(int k, int attrib, int base, int max, int calc)
    {
        return Set(86 + k, std::to_string(attrib))
            .Set(20 + k, std::to_string(base))
            .Set(44 + k, std::to_string(max))
            .Set(70 + k, std::to_string(calc));
    }
    std::string Text() const
    {
        std::string line;
        for (const std::string& column : columns_) line += column + '^';
        line.back() = '\n';
        return line;
    }

private:
    std::array<std::string, 174> columns_;
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class Exporter : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("rivizuzi-export-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string WriteFile(const std::vector<SpellLine>& lines)
    {
        const fs::path path = dir_ / "spells_us.txt";
        std::ofstream file(path, std::ios::binary);
        for (const SpellLine& line : lines) file << line.Text();
        return path.string();
    }

    RunResult Run(const std::string& arguments)
    {
        const fs::path out = dir_ / "out.txt";
        const fs::path err = dir_ / "err.txt";
        const std::string command = std::string("'") + RIVIZUZI_BUILD_DIR "/rivizuzi-export' " + arguments +
                                    " >'" + out.string() + "' 2>'" + err.string() + "'";
        RunResult result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = ReadAll(out);
        result.err = ReadAll(err);
        return result;
    }

    static std::vector<Json> ParseLines(const std::string& text)
    {
        std::vector<Json> objects;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) objects.push_back(Json::parse(line));
        return objects;
    }

    fs::path dir_;

private:
    static std::string ReadAll(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
};

std::vector<SpellLine> SampleLines()
{
    SpellLine ward(1234, "Ember Ward");
    ward.Set(17, "10").Set(104, "5");  // duration 10 ticks; WAR at level 5
    ward.Slot(0, 0, 10, 0, 102);       // Hitpoints
    ward.Slot(1, 10, 0, 0, 100);       // Charisma with base 0: not shown
    ward.Slot(4, 85, 2000, 0, 100);    // weapon proc of the next record
    ward.Slot(11, 85, 3, 0, 100);      // weapon proc of no loaded spell

    SpellLine cafe(2000, "Caf\xe9 Strike");  // Latin-1 byte
    return {ward, cafe};
}

TEST_F(Exporter, WritesOneObjectPerRecordWithTheShownSlots)
{
    const std::string file = WriteFile(SampleLines());
    const RunResult result = Run("'" + file + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");

    std::vector<Json> spells = ParseLines(result.out);
    ASSERT_EQ(spells.size(), 2u);
    // Each spell also carries its detail window's texts, last.
    for (Json& spell : spells) {
        ASSERT_EQ(spell.back().type(), Json::value_t::object);
        EXPECT_EQ(spell["panel"].front(), std::to_string(spell["id"].get<int>()));
        spell.erase("panel");
    }
    const Json expectedWard = {
        {"index", 0},
        {"id", 1234},
        {"name", "Ember Ward"},
        {"effects",
         {
             {{"slot", 1}, {"text", "Increase Hitpoints by 15 (L5) to 75 (L65) per tick"}, {"link", -1}},
             {{"slot", 5}, {"text", "Add Weapon Proc: 2000 (Caf\u00e9 Strike)"}, {"link", 1}},
             {{"slot", 12}, {"text", "Add Weapon Proc: 3 ()"}, {"link", -1}},
         }},
    };
    EXPECT_EQ(spells[0], expectedWard);  // ordered: keys in this order too
    const Json expectedCafe = {
        {"index", 1}, {"id", 2000}, {"name", "Caf\u00e9 Strike"}, {"effects", Json::array()}};
    EXPECT_EQ(spells[1], expectedCafe);
}

TEST_F(Exporter, LevelOptionShowsValuesAtThatLevel)
{
    const std::string file = WriteFile(SampleLines());
    const RunResult result = Run("--level 40 '" + file + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<Json> spells = ParseLines(result.out);
    ASSERT_EQ(spells.size(), 2u);
    EXPECT_EQ(spells[0]["effects"][0]["text"], "Increase Hitpoints by 50 (L40) per tick");
}

TEST_F(Exporter, AnEmptyFileGivesNoLines)
{
    const std::string path = WriteFile({});
    const RunResult result = Run("'" + path + "'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(Exporter, BadArgumentsExitWithTwoAndUsage)
{
    const std::string path = WriteFile(SampleLines());
    const std::string file = "'" + path + "'";
    for (const std::string& arguments :
         {"--bogus " + file, "--level 0 " + file, "--level 66 " + file, "--level x " + file,
          std::string("--level 5"), std::string(), "--search '' --effect -1 " + file,
          "--search '' --effect 154 " + file, "--search '' --effect 16 " + file,  // 16 has no label
          "--search '' --effect x " + file, "--effect 0 " + file}) {
        const RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("usage: rivizuzi-export"), std::string::npos) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
}

TEST_F(Exporter, SearchWithAnEffectListsTheSpellsThatShowIt)
{
    const std::string path = WriteFile(SampleLines());
    const std::string file = "'" + path + "'";
    struct Case {
        const char* arguments;
        const char* out;
    };
    const Case cases[] = {
        {"--search '' --effect 0 ", "{\"row\":\"Ember Ward\",\"index\":0}\n"},
        {"--search EMB --class 8192 --effect 85 ", "{\"row\":\"5    Ember Ward\",\"index\":0}\n"},
        {"--search '' --effect 10 ", ""},  // its Charisma slot has base 0: not shown
        {"--search caf --effect 0 ", ""},
    };
    for (const Case& c : cases) {
        const RunResult result = Run(std::string(c.arguments) + file);
        EXPECT_EQ(result.status, 0) << c.arguments << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments;
    }
}

TEST_F(Exporter, MissingFileExitsWithOneAndTheOpenMessage)
{
    const std::string missing = (dir_ / "missing.txt").string();
    const RunResult result = Run("'" + missing + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Cannot open the file: " + missing + " - please browse for a valid file.\n");
    EXPECT_EQ(result.out, "");
}

}  // namespace
