// The synthetic spell file: the same bytes everywhere, and the cases the
// viewer's tests and benchmarks rely on present in a default file once read
// back by the real reader.
#include "sample/sample_gen.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/reader.h"

namespace {

namespace fs = std::filesystem;

std::uint64_t Fnv1a(const std::string& text)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

fs::path TempPath(const char* name)
{
    return fs::temp_directory_path() / ("rivizuzi_sample_" + std::to_string(::getpid()) + "_" + name);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SampleGenTest, SameOptionsGiveSameBytesAndSeedsDiffer)
{
    const std::string first = GenerateSampleSpellFile({300, 7});
    EXPECT_EQ(first, GenerateSampleSpellFile({300, 7}));
    EXPECT_NE(first, GenerateSampleSpellFile({300, 8}));
    EXPECT_TRUE(GenerateSampleSpellFile({0, 7}).empty());
    // A shorter file is not simply a prefix of a longer one (ids refer to
    // the whole file), but it has exactly the lines asked for.
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 300);
}

// Pins the default file so that a change of platform, compiler or standard
// library that altered the output would be noticed.
TEST(SampleGenTest, DefaultFileIsPinned)
{
    const std::string text = GenerateSampleSpellFile({});
    EXPECT_EQ(text.size(), 2193513u);
    EXPECT_EQ(Fnv1a(text), 0x69f21515b52985e1ull);
}

TEST(SampleGenTest, EveryLineHas174ColumnsAndEndsInLineFeed)
{
    const std::string text = GenerateSampleSpellFile({});
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.back(), '\n');
    std::size_t start = 0;
    int lines = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        ASSERT_EQ(std::count(text.begin() + static_cast<std::ptrdiff_t>(start),
                             text.begin() + static_cast<std::ptrdiff_t>(end), '^'),
                  SPELL_FIELD_COUNT - 1)
            << "line " << lines;
        ASSERT_EQ(text.find('\r', start), std::string::npos);
        start = end + 1;
        ++lines;
    }
    EXPECT_EQ(lines, 4000);
}

TEST(SampleGenTest, CommandWritesTheSameBytesToFileAndStdout)
{
    const std::string tool = std::string(RIVIZUZI_BUILD_DIR) + "/rivizuzi-gen-spells";
    const fs::path file = TempPath("cmd.txt");
    const fs::path out = TempPath("stdout.txt");
    const std::string expected = GenerateSampleSpellFile({120, 42});

    ASSERT_EQ(std::system((tool + " --lines 120 --seed 42 --output " + file.string()).c_str()), 0);
    EXPECT_EQ(ReadFile(file), expected);
    ASSERT_EQ(std::system((tool + " --seed 42 --lines 120 > " + out.string()).c_str()), 0);
    EXPECT_EQ(ReadFile(out), expected);
    ASSERT_EQ(std::system((tool + " > " + out.string()).c_str()), 0);
    EXPECT_EQ(ReadFile(out), GenerateSampleSpellFile({}));

    for (const char* bad :
         {" --lines", " --lines -3", " --lines 12x", " --seed 99999999999", " --colour red"}) {
        int status = std::system((tool + bad + " > /dev/null 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << bad;
    }
    fs::remove(file);
    fs::remove(out);
}

// ---- Coverage of the default file, read back by the reader --------------

class SampleCoverageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const fs::path path = TempPath("coverage.txt");
        ASSERT_TRUE(WriteSampleSpellFile({}, path.string().c_str()));
        table_ = std::make_unique<std::vector<SpellStruct>>(MAX_SPELLS);
        count_ = ParseSpellFile(path.string().c_str(), *table_);
        fs::remove(path);
        for (int i = 0; i < count_; ++i) ids_.insert(Spell(i).id);
    }
    static void TearDownTestSuite() { table_.reset(); }

    static const SpellStruct& Spell(int i) { return (*table_)[static_cast<std::size_t>(i)]; }
    static bool Present(int id) { return ids_.count(id) != 0; }

    // Calls fn(spell, slot) for every slot of every spell.
    template <typename Fn>
    static void ForEachSlot(Fn fn)
    {
        for (int i = 0; i < count_; ++i) {
            for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) fn(Spell(i), k);
        }
    }

    static std::unique_ptr<std::vector<SpellStruct>> table_;
    static int count_;
    static std::set<int> ids_;
};

std::unique_ptr<std::vector<SpellStruct>> SampleCoverageTest::table_;
int SampleCoverageTest::count_ = 0;
std::set<int> SampleCoverageTest::ids_;

TEST_F(SampleCoverageTest, EveryEffectIdUnusedSlotsAndIdsOutsideTheCatalogue)
{
    ASSERT_EQ(count_, 4000);
    std::set<int> effects;
    ForEachSlot([&](const SpellStruct& s, std::size_t k) { effects.insert(s.attrib[k]); });
    for (int id = 0; id <= 153; ++id) EXPECT_TRUE(effects.count(id)) << "effect " << id;
    EXPECT_TRUE(effects.count(UNUSED_EFFECT));
    EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](int id) { return id < 0; }));
    EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](int id) { return id > 153 && id != 254; }));
}

TEST_F(SampleCoverageTest, EveryCalcFamilyWithEveryMaxSignAndNegativeBases)
{
    // Families: negative, 0..98, 99, 100, 101..110, 111..199, 200 and above.
    auto family = [](int calc) {
        if (calc < 0) return 0;
        if (calc <= 98) return 1;
        if (calc == 99) return 2;
        if (calc == 100) return 3;
        if (calc <= 110) return 4;
        if (calc <= 199) return 5;
        return 6;
    };
    auto sign = [](int v) { return v > 0 ? 0 : (v == 0 ? 1 : 2); };
    std::set<std::pair<int, int>> familyAndMax;
    bool negativeBase = false;
    ForEachSlot([&](const SpellStruct& s, std::size_t k) {
        if (s.attrib[k] == UNUSED_EFFECT) return;
        familyAndMax.insert({family(s.calc[k]), sign(s.max[k])});
        negativeBase = negativeBase || s.base[k] < 0;
    });
    EXPECT_EQ(familyAndMax.size(), 21u);
    EXPECT_TRUE(negativeBase);
}

TEST_F(SampleCoverageTest, EveryClassTakesLevels1To65And0And254And255)
{
    for (std::size_t c = 0; c < NUM_CLASSES; ++c) {
        std::set<int> levels;
        for (int i = 0; i < count_; ++i) levels.insert(Spell(i).classLevel[c]);
        for (int level = 1; level <= 65; ++level) EXPECT_TRUE(levels.count(level)) << c << " " << level;
        for (int level : {0, 254, 255})
            EXPECT_TRUE(levels.count(level)) << kClassAbbreviations[c] << " " << level;
    }
}

TEST_F(SampleCoverageTest, ComponentsIllusionsAndSummonsNameKnownAndUnknownIds)
{
    const std::set<int> knownItems = {1350,  2093,  6002,  9963,  10015, 10019, 10020, 10024, 10026, 10028,
                                      10030, 10031, 10035, 13000, 13011, 13073, 13076, 13080, 16500, 16501,
                                      16502, 16503, 16504, 16505, 16506, 16507, 31288, 31289, 31290, 31291};
    const std::set<int> knownRaces = {-2, -1, 1,  2,  3,  4,  5,  6,  7,   8,   9,   10,  11,  12,
                                      14, 27, 42, 46, 58, 60, 75, 82, 120, 128, 130, 142, 143, 367};
    bool knownComponent = false, unknownComponent = false, noComponent = false;
    for (int i = 0; i < count_; ++i) {
        for (int item : Spell(i).reagentId) {
            if (item < 1) {
                noComponent = true;
            } else {
                (knownItems.count(item) ? knownComponent : unknownComponent) = true;
            }
        }
    }
    EXPECT_TRUE(knownComponent);
    EXPECT_TRUE(unknownComponent);
    EXPECT_TRUE(noComponent);

    bool knownRace = false, unknownRace = false, knownSummon = false, unknownSummon = false;
    ForEachSlot([&](const SpellStruct& s, std::size_t k) {
        if (s.attrib[k] == 58) (knownRaces.count(s.base[k]) ? knownRace : unknownRace) = true;
        if (s.attrib[k] == 32 || s.attrib[k] == 109) {
            (knownItems.count(s.base[k]) ? knownSummon : unknownSummon) = true;
        }
    });
    EXPECT_TRUE(knownRace);
    EXPECT_TRUE(unknownRace);
    EXPECT_TRUE(knownSummon);
    EXPECT_TRUE(unknownSummon);
}

TEST_F(SampleCoverageTest, ProcsLimitsAndLinkedSpellsNamePresentAndMissingIds)
{
    // [present][missing] for procs; [include/exclude][present/missing] for limits.
    bool proc[2] = {}, limit[2][2] = {}, linked[2] = {};
    ForEachSlot([&](const SpellStruct& s, std::size_t k) {
        int base = s.base[k];
        if (s.attrib[k] == 85) proc[Present(base) ? 0 : 1] = true;
        if (s.attrib[k] == 139) limit[base < 0 ? 1 : 0][Present(base < 0 ? -base : base) ? 0 : 1] = true;
    });
    for (int i = 0; i < count_; ++i) {
        int id = Spell(i).linkedSpell;
        if (id > 0) linked[Present(id) ? 0 : 1] = true;
    }
    EXPECT_TRUE(proc[0] && proc[1]);
    EXPECT_TRUE(limit[0][0] && limit[0][1] && limit[1][0] && limit[1][1]);
    EXPECT_TRUE(linked[0] && linked[1]);
}

TEST_F(SampleCoverageTest, DurationsAndTeleportZones)
{
    bool instant = false, longDuration = false;
    for (int i = 0; i < count_; ++i) {
        instant = instant || Spell(i).duration == 0;
        longDuration = longDuration || Spell(i).duration >= 1000;
    }
    EXPECT_TRUE(instant);
    EXPECT_TRUE(longDuration);

    for (int effect : {83, 88, 104, 108}) {
        bool withZone = false, withoutZone = false;
        for (int i = 0; i < count_; ++i) {
            const SpellStruct& s = Spell(i);
            if (std::find(s.attrib.begin(), s.attrib.end(), effect) == s.attrib.end()) continue;
            (s.teleportZone[0] != '\0' ? withZone : withoutZone) = true;
        }
        EXPECT_TRUE(withZone) << effect;
        EXPECT_TRUE(withoutZone) << effect;
    }
    bool teleportInLastSlot = false;
    for (int i = 0; i < count_; ++i) teleportInLastSlot = teleportInLastSlot || Spell(i).attrib[11] == 83;
    EXPECT_TRUE(teleportInLastSlot);
}

TEST_F(SampleCoverageTest, DuplicateNamesAndIdsLongAndAwkwardNames)
{
    std::set<std::string> names;
    bool duplicateName = false, longName = false, colon = false, question = false, slash = false;
    for (int i = 0; i < count_; ++i) {
        std::string name = Spell(i).name.data();
        duplicateName = duplicateName || !names.insert(name).second;
        longName = longName || name.size() >= 250;
        EXPECT_LE(name.size(), 259u);
        EXPECT_FALSE(name.empty()) << i;
        colon = colon || name.find(':') != std::string::npos;
        question = question || name.find('?') != std::string::npos;
        slash = slash || name.find('/') != std::string::npos;
    }
    EXPECT_TRUE(duplicateName);
    EXPECT_TRUE(longName);
    EXPECT_TRUE(colon && question && slash);
    EXPECT_LT(ids_.size(), static_cast<std::size_t>(count_)) << "no duplicate id";
}

TEST_F(SampleCoverageTest, MessagesAndCodesKnownAndUnknown)
{
    bool emptyMessage2 = false, someone = false;
    std::set<int> beneficial, resist, target, skill, environment, timeOfDay;
    for (int i = 0; i < count_; ++i) {
        const SpellStruct& s = Spell(i);
        EXPECT_NE(s.message1[0], '\0');
        EXPECT_NE(s.message3[0], '\0');
        emptyMessage2 = emptyMessage2 || s.message2[0] == '\0';
        someone = someone || std::string(s.message2.data()).rfind("Someone ", 0) == 0;
        beneficial.insert(s.beneficial);
        resist.insert(s.resistType);
        target.insert(s.targetType);
        skill.insert(s.skill);
        environment.insert(s.environment);
        timeOfDay.insert(s.timeOfDay);
    }
    EXPECT_TRUE(emptyMessage2);
    EXPECT_TRUE(someone);
    auto has = [](const std::set<int>& codes, std::initializer_list<int> wanted) {
        return std::all_of(wanted.begin(), wanted.end(), [&](int c) { return codes.count(c) != 0; });
    };
    auto hasOther = [](const std::set<int>& codes, std::initializer_list<int> known) {
        return std::any_of(codes.begin(), codes.end(),
                           [&](int c) { return std::find(known.begin(), known.end(), c) == known.end(); });
    };
    EXPECT_TRUE(has(beneficial, {0, 1, 2}) && hasOther(beneficial, {0, 1, 2}));
    EXPECT_TRUE(has(resist, {0, 1, 2, 3, 4, 5}) && hasOther(resist, {0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(has(target, {0, 1, 5, 6, 41}) && hasOther(target, {0,  1,  3,  4,  5,  6,  8,  9,  10, 11, 13,
                                                                   14, 15, 16, 17, 18, 20, 24, 25, 40, 41}));
    EXPECT_TRUE(has(skill, {4, 49, 70}) && hasOther(skill, {4, 5, 12, 14, 18, 24, 41, 49, 54, 70}));
    EXPECT_TRUE(has(environment, {-1, 1, 2}) && hasOther(environment, {-1, 1, 2}));
    EXPECT_TRUE(has(timeOfDay, {0, 2}) && hasOther(timeOfDay, {0, 2}));
}

}  // namespace
