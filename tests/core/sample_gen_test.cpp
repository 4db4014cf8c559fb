// The sample spell file that run.sh, the benchmarks and the window tests load:
// the same bytes each time, whole records, every effect id (so every sentence).
#include "sample/sample_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/reader.h"
#include "test_support.h"

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
