// Shared by every test: a temporary directory, spell file lines, a fixture
// that fills the global spell table, and a way to run the exporter.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "data/spell.h"

namespace testsupport {

using Columns = std::array<std::string, SPELL_FIELD_COUNT>;

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A fresh temporary directory per object, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("rivizuzi-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

// Works in a folder until the end of the scope.
struct WorkIn {
    explicit WorkIn(const std::filesystem::path& dir) { std::filesystem::current_path(dir); }
    ~WorkIn() { std::filesystem::current_path(back); }
    const std::filesystem::path back = std::filesystem::current_path();
};

// The columns joined by '^', with a line feed.
inline std::string JoinLine(const Columns& columns)
{
    std::string line;
    for (const std::string& column : columns) line.append(column).append(1, '^');
    line.back() = '\n';
    return line;
}

// A line whose columns are empty unless given: numbers read as 0, every
// slot as effect 0.
inline std::string RawLine(const std::vector<std::pair<int, std::string>>& cells)
{
    Columns columns;
    for (const auto& [column, text] : cells) columns.at(static_cast<std::size_t>(column)) = text;
    return JoinLine(columns);
}

// A line of a spell file: "0" unless set, every slot unused, no class.
class SpellLine {
public:
    SpellLine(int id, const std::string& name)
    {
        columns_.fill("0");
        Set(0, std::to_string(id)).Set(1, name);
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) Set(86 + k, "254");
        for (int c = 104; c <= 118; ++c) Set(c, "255");
    }
    SpellLine& Set(int column, const std::string& text)
    {
        columns_.at(static_cast<std::size_t>(column)) = text;
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
    std::string Text() const { return JoinLine(columns_); }

private:
    Columns columns_;
};

inline std::string FileText(const std::vector<SpellLine>& lines)
{
    std::string text;
    for (const SpellLine& line : lines) text += line.Text();
    return text;
}

// Tests of code that reads the global table, from the start values on.
class SpellTableTest : public testing::Test {
protected:
    void SetUp() override { InitGlobals(); }

    // Appends a spell with a duration, every slot unused and no class.
    static SpellStruct& AddSpell(int id, const std::string& name, int* index = nullptr)
    {
        if (index) *index = g_numSpells;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(g_numSpells++)];
        spell.id = id;
        CopyText(spell.name, name.c_str());
        spell.duration = 10;
        spell.attrib.fill(UNUSED_EFFECT);
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return spell;
    }
    static void SetSlot(SpellStruct& spell, int k, int attrib, int base, int max = 0, int calc = 100)
    {
        const auto s = static_cast<std::size_t>(k);
        std::tie(spell.attrib[s], spell.base[s], spell.max[s], spell.calc[s]) =
            std::tuple(attrib, base, max, calc);
    }
};

// Names each row of a parameterised test after its `name` field, so that
// one row can be rerun alone (--gtest_filter=Suite/Test.Row_name): every
// character other than a letter or a digit becomes '_'.
struct RowName {
    template <typename Row>
    std::string operator()(const testing::TestParamInfo<Row>& info) const
    {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) c = '_';
        }
        return name;
    }
};

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Runs a shell command in `dir`, keeping its output and errors in `outDir`
// (dir when not given).
inline RunResult RunCommand(const std::filesystem::path& dir, const std::string& command,
                            std::filesystem::path outDir = {})
{
    if (outDir.empty()) outDir = dir;
    const auto out = outDir / "command-out.txt";
    const auto err = outDir / "command-err.txt";
    const std::string line =
        "cd '" + dir.string() + "' && " + command + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

// Runs the exporter built beside the tests in `dir`; arguments are shell-quoted.
inline RunResult RunExporter(const std::filesystem::path& dir, const std::string& arguments)
{
    return RunCommand(dir, "'" RIVIZUZI_BUILD_DIR "/rivizuzi-export' " + arguments);
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace testsupport
