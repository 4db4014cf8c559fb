// The synthetic spell file that run.sh, the benchmarks and the window tests
// load: the same bytes for the same options, spell-file shaped, and holding
// every effect id, so that what is built on it reaches every sentence.
#include "sample/sample_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/reader.h"
#include "test_support.h"

namespace {

using testsupport::TempDir;

TEST(SampleGen, SameOptionsSameBytesAndEveryLineIsASpellRecord)
{
    const std::string text = GenerateSampleSpellFile({300, 7});
    EXPECT_EQ(text, GenerateSampleSpellFile({300, 7}));
    EXPECT_NE(text, GenerateSampleSpellFile({300, 8}));
    EXPECT_TRUE(GenerateSampleSpellFile({0, 7}).empty());
    const std::vector<std::string> lines = testsupport::Lines(text);
    ASSERT_EQ(lines.size(), 300u);
    ASSERT_EQ(text.back(), '\n');
    for (const std::string& line : lines) {
        ASSERT_EQ(std::count(line.begin(), line.end(), '^'), 173) << line;
        ASSERT_EQ(line.find('\r'), std::string::npos) << line;
    }
}

TEST(SampleGen, CommandWritesTheSameBytesToFileAndStdoutAndRefusesBadArguments)
{
    TempDir dir;
    const std::string tool = RIVIZUZI_BUILD_DIR "/rivizuzi-gen-spells";
    const std::string file = (dir.path() / "file.txt").string();
    const std::string out = (dir.path() / "out.txt").string();
    ASSERT_EQ(std::system((tool + " --lines 120 --seed 42 --output " + file).c_str()), 0);
    EXPECT_EQ(testsupport::ReadFile(file), GenerateSampleSpellFile({120, 42}));
    ASSERT_EQ(std::system((tool + " > " + out).c_str()), 0);
    EXPECT_EQ(testsupport::ReadFile(out), GenerateSampleSpellFile({}));
    for (const char* bad :
         {" --lines", " --lines -3", " --lines 12x", " --seed 99999999999", " --colour red"}) {
        const int status = std::system((tool + bad + " > /dev/null 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << bad;
    }
}

TEST(SampleGen, DefaultFileLoadsFullyWithEveryEffectIdAndEveryLevel)
{
    TempDir dir;
    const std::string path = dir.Write("spells_us.txt", GenerateSampleSpellFile({}));
    std::vector<SpellStruct> table(MAX_SPELLS);
    ASSERT_EQ(ParseSpellFile(path.c_str(), table), MAX_SPELLS);
    std::set<int> effects;
    std::set<int> levels;
    for (const SpellStruct& spell : table) {
        effects.insert(spell.attrib.begin(), spell.attrib.end());
        levels.insert(spell.classLevel.begin(), spell.classLevel.end());
    }
    for (int id = 0; id <= 153; ++id) EXPECT_TRUE(effects.count(id)) << "effect " << id;
    for (int level : {0, 1, 65, 254, 255}) EXPECT_TRUE(levels.count(level)) << "level " << level;
    EXPECT_TRUE(effects.count(UNUSED_EFFECT));
}

}  // namespace
