// Effect sentences: each value form and kind of sentence, the names of items,
// races and linked spells, and the ends of the int range and of the buffers.
#include "effects/effects.h"

#include <climits>

#include "data/spell_index.h"
#include "test_support.h"

namespace {

// Scaled per tick, scaled, attack speed, bard overhaste.
constexpr int kHitpoints = 0, kArmor = 1, kHaste = 11, kOver = 119;

// One slot of spell 0, whose lowest class level is `lowest`.
struct Sentence {
    const char* name;
    int attrib, base, max, calc;
    int lowest;
    int display;  // the level shown; 0: level display off
    const char* expected;
    int beneficial = 0;
    int duration = 10;
    int id = 100;
};

class Effects : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        CopyText(AddSpell(100, "Self").teleportZone, "grove");
    }

    static SpellStruct& Self() { return g_spellArray[0]; }

    // The sentence of one slot of spell 0.
    static std::string Describe(int attrib, int base, int max = 0, int calc = 100, int slot = 0,
                                int* link = nullptr, int duration = 10)
    {
        TextField text{};
        GenerateEffectString(0, attrib, base, max, calc, duration, g_levelEnable, slot, text, link);
        return text.data();
    }
};

class EffectSentence : public Effects, public testing::WithParamInterface<Sentence> {};

TEST_P(EffectSentence, IsWrittenFromTheSlotAndTheLevelSetting)
{
    const Sentence& s = GetParam();
    Self().id = s.id;
    Self().beneficial = s.beneficial;
    Self().classLevel[CLASS_WAR] = s.lowest;
    g_levelEnable = s.display != 0;
    g_displayLevel = s.display != 0 ? s.display : MAX_LEVEL;
    EXPECT_EQ(Describe(s.attrib, s.base, s.max, s.calc, 0, nullptr, s.duration), s.expected);
}

const Sentence kSentences[] = {
    // Growth without a cap (to 65, or at the shown level), fixed, up to a cap.
    {"range", kHitpoints, 10, 0, 102, 5, 0, "Increase Hitpoints by 15 (L5) to 75 (L65) per tick"},
    {"level", kHitpoints, 10, 0, 102, 5, 40, "Increase Hitpoints by 50 (L40) per tick"},
    {"level 1", kHitpoints, 10, 0, 102, 1, 1, "Increase Hitpoints by 11 (L1) per tick"},
    {"level 65", kHitpoints, 10, 0, 102, 5, 65, "Increase Hitpoints by 75 (L65) per tick"},
    {"fixed", kHitpoints, -200, 0, 100, 5, 40, "Decrease Hitpoints by 200 per tick"},
    {"capped", kHitpoints, 10, 30, 102, 1, 0, "Increase Hitpoints by 11 (L1) to 30 (L20) per tick"},
    {"level past the cap", kHitpoints, 10, 30, 102, 1, 21, "Increase Hitpoints by 30 (L21) per tick"},
    {"duration 0", kHitpoints, 5, 0, 100, 1, 0, "Increase Hitpoints by 5", 0, 0},
    {"duration 1", kHitpoints, 5, 0, 100, 1, 0, "Increase Hitpoints by 5 per tick", 0, 1},
    {"percent", 3, 7, 0, 102, 10, 0, "Increase Movement Speed by 17% (L10) to 72% (L65)"},
    {"percent of exactly 100", 3, 100, 0, 100, 1, 0, "Increase Movement Speed by 100%"},
    {"counter level", 116, 7, 0, 102, 10, 20, "Increase Curse by 27 (L20)"},
    {"zero", kArmor, 0, 0, 100, 30, 0, "Increase Armor Class by 0"},
    // What each formula code adds per level, seen at levels 1 and 65.
    {"calc 98 adds 98", kArmor, 0, 0, 98, 1, 0, "Increase Armor Class by 98 (L1) to 6370 (L65)"},
    {"calc 99 adds nothing", kArmor, 10, 0, 99, 1, 0, "Increase Armor Class by 10"},
    {"calc 101 adds a half", kArmor, 10, 0, 101, 1, 0, "Increase Armor Class by 10 (L1) to 42 (L65)"},
    {"calc 106 adds 5", kArmor, 0, 0, 106, 1, 0, "Increase Armor Class by 5 (L1) to 325 (L65)"},
    {"calc 107 adds nothing", kArmor, 10, 0, 107, 1, 0, "Increase Armor Class by 10"},
    {"calc 108 adds nothing", kArmor, 10, 0, 108, 1, 0, "Increase Armor Class by 10"},
    {"calc 109 adds a quarter", kArmor, 0, 0, 109, 1, 0, "Increase Armor Class by 0 (L1) to 16 (L65)"},
    {"calc 110 adds a fifth", kArmor, 0, 0, 110, 1, 0, "Increase Armor Class by 0 (L1) to 13 (L65)"},
    {"calc 111 adds a sixth", kArmor, 0, 0, 111, 1, 0, "Increase Armor Class by 0 (L1) to 10 (L65)"},
    {"calc 119 adds 0 15", kArmor, 0, 0, 119, 1, 0, "Increase Armor Class by 0 (L1) to 9 (L65)"},
    {"calc 120 adds a fifteenth", kArmor, 0, 0, 120, 1, 0, "Increase Armor Class by 0 (L1) to 4 (L65)"},
    {"calc 121 adds a half", kArmor, 0, 0, 121, 1, 0, "Increase Armor Class by 0 (L1) to 32 (L65)"},
    {"calc 122 adds a seventeenth", kArmor, 0, 0, 122, 1, 0, "Increase Armor Class by 0 (L1) to 3 (L65)"},
    {"calc 199 adds too little to show", kArmor, 10, 0, 199, 1, 0, "Increase Armor Class by 10"},
    {"calc 200 adds nothing", kArmor, 10, 20, 200, 1, 0, "Increase Armor Class by 20"},
    // Class levels of 0 or below and above 65 do not count; none left gives 1.
    {"lowest 0", kArmor, 10, 0, 102, 0, 0, "Increase Armor Class by 11 (L1) to 75 (L65)"},
    {"lowest 65", kArmor, 0, 0, 102, 65, 0, "Increase Armor Class by 65"},
    {"shown level below the lowest", kArmor, 10, 0, 102, 30, 20,
     "Increase Armor Class by 40 (L30) to 75 (L65)"},
    {"shown level at the lowest", kArmor, 0, 0, 102, 30, 30, "Increase Armor Class by 30 (L30)"},
    {"shrinking", kArmor, 100, 0, -1, 1, 64, "Increase Armor Class by 35 (L64)"},
    {"cap below the lowest level", kArmor, 10, 20, 102, 12, 0, "Increase Armor Class by 20"},
    {"cap beyond 65", kArmor, 1, 1000, 102, 1, 0, "Increase Armor Class by 2 (L1) to 66 (L65)"},
    {"cap without growth", kArmor, 10, 40, 100, 1, 0, "Increase Armor Class by 40"},
    {"negative cap", kArmor, 5, -20, 102, 1, 0, "Increase Armor Class by -20"},
    {"negative cap decrease", kArmor, -10, -50, 102, 1, 0, "Decrease Armor Class by 50"},
    {"negative cap shrinking", kArmor, 10, -20, -2, 1, 0, "Increase Armor Class by 8 (L1) to -50 (L15)"},
    {"negative cap decrease shrinking", kArmor, -10, -20, -2, 1, 0,
     "Decrease Armor Class by 8 (L1) to -10 (L15)"},
    // Spell 1589 prints its base with its sign when growing without a cap.
    {"1589", kArmor, -7, 0, 102, 10, 0, "Decrease Armor Class by -7", 0, 10, 1589},
    {"most negative base", kArmor, INT_MIN, 0, 100, 1, 0, "Decrease Armor Class by 2147483647"},
    {"growth past the top", kArmor, INT_MAX, 0, 102, 1, 0, "Increase Armor Class by 2147483647"},
    // The fallback's third number is the limit value of each case.
    {"fallback fixed", 16, -5, 0, 100, 1, 0, "Effect 16 (Unknown Spell Effect) (-5, 5, 100)"},
    {"fallback 1589", 16, -7, 0, 102, 1, 0, "Effect 16 (Unknown Spell Effect) (-7, -7, 102)", 0, 10, 1589},
    {"fallback extremes", 16, -1, INT_MIN, INT_MIN, 1, 0,
     "Effect 16 (Unknown Spell Effect) (-1, 2147483647, -2147483648)"},
    {"id below 0", -1, 5, 0, 100, 1, 0, "Effect -1 (Unknown Spell Effect) (5, 5, 100)"},
    {"id past the last", 154, 5, 0, 100, 1, 0, "Effect 154 (Unknown Spell Effect) (5, 5, 100)"},
    // One-line entries, items and races.
    {"text", 64, 1, 0, 100, 1, 0, "SpinStun"},
    {"base", 13, -3, 0, 100, 1, 0, "See Invisible (-3)"},
    {"base and max", 86, 40, -5, 102, 1, 0, "Reaction Radius (40/-5)"},
    {"seconds", 21, 1234, 0, 100, 1, 0, "Stun (1.23 seconds)"},
    {"ticks", 140, 35, 0, 100, 1, 0, "Limit - Min Duration: 35 ticks (3.5 minutes)"},
    {"zone", 108, 3, 0, 100, 1, 0, "Summon Falimiar (grove)"},
    {"item", 32, 16504, 0, 100, 1, 0, "Summon Item (Enchanged Silver Bar)"},
    {"unknown item", 32, 10025, 0, 100, 1, 0, "Summon Item (10025)"},
    {"race", 58, -2, 0, 100, 1, 0, "Illusion: Armor"},
    {"unknown race", 58, 13, 0, 100, 1, 0, "Illusion: Unknown(13)"},
    {"size at 100", 89, 100, 5, 102, 1, 0, "Increase Player Size by 0%"},
    {"size smallest", 89, INT_MIN, 5, 102, 1, 0, "Decrease Player Size by 2147483647%"},
    {"shield", 59, -10, 0, 100, 1, 0, "Increase Damage Shield by 10"},
    {"shield range", 59, -10, 0, 102, 1, 0, "Increase Damage Shield by 11 (L1) to 75 (L65)"},
    // Attack speed against 100; on a beneficial spell below 100 may mean an increase.
    {"haste below 100", kHaste, 70, 0, 100, 1, 0, "Decrease Attack Speed by 30% (possibly increase by 70%)",
     1},
    {"haste at 100", kHaste, 100, 0, 100, 1, 0, "Increase Attack Speed by 0%", 1},
    {"slow", kHaste, 70, 0, 100, 1, 0, "Decrease Attack Speed by 30%"},
    {"group spell as slow", kHaste, 130, 0, 100, 1, 0, "Decrease Attack Speed by -30%", 2},
    {"haste below 100 level", kHaste, 50, 0, 102, 1, 20,
     "Decrease Attack Speed by 30% (L20) (possibly increase by 70)", 1},
    {"haste below 100 growing", kHaste, 50, 0, 102, 1, 0, "Increase Attack Speed by 51% (L1) to 115% (L65)",
     1},
    {"haste below 100 shrinking", kHaste, 50, 0, -1, 1, 0, "Decrease Attack Speed by 51% (L1) to 115% (L65)",
     1},
    {"haste from exactly 100", kHaste, 99, 0, 102, 1, 0, "Increase Attack Speed by 0% (L1) to 64% (L65)", 1},
    {"haste level", kHaste, 100, 0, 102, 1, 30, "Increase Attack Speed by 30% (L30)", 1},
    {"haste range", kHaste, 100, 0, 102, 1, 0, "Increase Attack Speed by 1% (L1) to 65% (L65)", 1},
    {"slow level", kHaste, 50, 0, 102, 1, 20, "Decrease Attack Speed by 30% (L20)"},
    {"slow range", kHaste, 50, 0, 102, 1, 0, "Decrease Attack Speed by 49% (L1) to -15% (L65)"},
    {"haste extreme", kHaste, 5, INT_MIN, 102, 1, 0,
     "Decrease Attack Speed by 2147483647% (possibly increase by -2147483648%)", 1},
    // Overhaste: on a beneficial spell a value below 100 is an increase.
    {"over below 100", kOver, 30, 0, 100, 1, 0, "Increase Attack Speed (Bard Overhaste) by 30%", 1},
    {"over above 100", kOver, 130, 0, 100, 1, 0, "Increase Attack Speed (Bard Overhaste) by 30%", 1},
    {"over at 100", kOver, 100, 0, 100, 1, 0, "Increase Attack Speed (Bard Overhaste) by 0%", 1},
    {"over from exactly 100", kOver, 99, 0, 102, 1, 0,
     "Increase Attack Speed (Bard Overhaste) by 0% (L1) to 64% (L65)", 1},
    {"over slow", kOver, 70, 0, 100, 1, 0, "Decrease Attack Speed (Bard Overhaste) by 30%"},
    {"over below 100 level", kOver, 10, 0, 102, 1, 20, "Increase Attack Speed (Bard Overhaste) by 30% (L20)",
     1},
    {"over range", kOver, 100, 0, 102, 1, 0, "Increase Attack Speed (Bard Overhaste) by 1% (L1) to 65% (L65)",
     1},
    {"over slow level", kOver, 50, 0, 102, 1, 20, "Decrease Attack Speed (Bard Overhaste) by 30% (L20)"},
    {"over slow range", kOver, 50, 0, 102, 1, 0,
     "Decrease Attack Speed (Bard Overhaste) by 49% (L1) to -15% (L65)"},
};
INSTANTIATE_TEST_SUITE_P(Rows, EffectSentence, testing::ValuesIn(kSentences), testsupport::RowName());

TEST_F(Effects, LocationsReadTheNextSlotsAndLongTextsAreCut)
{
    Self().base = {1, 2, 100, 200, -50, 6, 7, 8, 9, 10, 11, 12};
    Self().max[0] = 99;  // stored right behind the last base: must not be read as one
    AddSpell(1234, "Ember Strike");
    const struct {
        int attrib, base, slot;
        const char* expected;
        int link;
    } cases[] = {
        {83, 100, 2, "Teleport to Location 100, 200, -50 in Zone: grove", -1},
        {104, 100, 2, "Translocate to Location 100, 200, -50 in Zone: grove", -1},
        {88, 11, 10, "Evacuate to Location 11, 12, 0 in Zone: grove", -1},
        {83, 12, 11, "Teleport to Location 12, 0, 0 in Zone: grove", -1},
        {83, 5, INT_MAX, "Teleport to Location 5, 0, 0 in Zone: grove", -1},
        {139, 1234, 0, "Limit - Spell - Include Spell: Ember Strike", 1},
        {139, INT_MIN, 0, "Limit - Spell - Exclude Spell: ", -1},
    };
    for (const auto& c : cases) {
        int link = 99;
        EXPECT_EQ(Describe(c.attrib, c.base, 0, 100, c.slot, &link), c.expected);
        EXPECT_EQ(link, c.link) << c.expected;
    }
    Self().teleportZone[0] = '\0';  // without a zone a translocation goes to the bind point
    EXPECT_EQ(Describe(104, -99, 5, 102, 11), "Translocate to Bind");

    // Long names and zones are cut to 259 characters.
    const std::string longName(259, 'n');
    CopyText(g_spellArray[1].name, longName.c_str());
    CopyText(Self().teleportZone, longName.c_str());
    EXPECT_EQ(Describe(85, 1234), ("Add Weapon Proc: 1234 (" + longName).substr(0, 259));
    for (int attrib : {108, 83, 139}) EXPECT_EQ(Describe(attrib, -1234).size(), 259u) << attrib;
}

// A full table: ids at both ends of the int range, a repeated id, fillers of
// id 0 and a last record of its own; its index, and one built before the
// table grew past its first five records.
struct LookupTable {
    std::vector<SpellStruct> records = std::vector<SpellStruct>(MAX_SPELLS);
    SpellIdIndex ids, firstFive;
    LookupTable()
    {
        const std::pair<int, const char*> given[] = {{500, "First"},   {INT_MAX, "Top"},    {500, "Second"},
                                                     {-3, "Negative"}, {INT_MIN, "Bottom"}, {77, "Last"}};
        for (std::size_t i = 0; i < std::size(given); ++i) {
            SpellStruct& record = records[i + 1 < std::size(given) ? i : MAX_SPELLS - 1];
            record.id = given[i].first;
            CopyText(record.name, given[i].second);
        }
        BuildSpellIdIndex(records.data(), MAX_SPELLS, ids);
        BuildSpellIdIndex(records.data(), 5, firstFive);
    }
};

struct LookupRow {
    const char* name;
    int id;
    int index;  // the first record with the id, or -1
    const char* found;
};
class SpellLookup : public testing::TestWithParam<LookupRow> {};

TEST_P(SpellLookup, IndexAndScanGiveTheFirstRecordWithTheId)
{
    static const LookupTable t;
    for (const SpellIdIndex* index : {&t.ids, &t.firstFive, static_cast<const SpellIdIndex*>(nullptr)}) {
        TextField name;
        name.fill('x');
        EXPECT_EQ(FindSpell(SpellTable{t.records.data(), MAX_SPELLS, index}, GetParam().id, name),
                  GetParam().index);
        EXPECT_STREQ(name.data(), GetParam().found);
    }
}

const LookupRow kLookups[] = {
    {"first record", 500, 0, "First"},
    {"last record", 77, MAX_SPELLS - 1, "Last"},
    {"largest id", INT_MAX, 1, "Top"},
    {"smallest id", INT_MIN, 4, "Bottom"},
    {"negative id", -3, 3, "Negative"},
    {"id of the fillers", 0, 5, ""},
    {"absent id", 100, -1, ""},
    {"absent next to the largest", INT_MAX - 1, -1, ""},
    {"absent next to the smallest", INT_MIN + 1, -1, ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, SpellLookup, testing::ValuesIn(kLookups), testsupport::RowName());

// The index answers only for the records it was built for; otherwise the
// lookup scans the loaded records.
TEST_F(Effects, LoadedSpellsAreFoundPastAStaleIndex)
{
    AddSpell(500, "First");
    AddSpell(500, "Second");
    BuildSpellIdIndex();
    AddSpell(9, "Added");  // not in the index
    TextField name;
    EXPECT_EQ(FindSpell(9, name), 3);
    g_spellArray[1].id = 600;  // "First" rewritten: the second 500 is now the first
    EXPECT_EQ(FindSpell(500, name), 2);
    EXPECT_STREQ(name.data(), "Second");
}

TEST_F(Effects, OutOfRangeSlotsAndIndexesWriteOnlyTheCallersBuffer)
{
    // Slot 12 would land on the instant flag, which only a duration of 0 sets.
    TextField text{};
    GenerateEffectString(0, kArmor, 5, 0, 100, 10, 0, NUM_EFFECT_SLOTS, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
    EXPECT_EQ(Self().isInstant, 0);
    GenerateEffectString(0, kArmor, 5, 0, 100, 0, 0, NUM_EFFECT_SLOTS, text, nullptr);
    EXPECT_EQ(Self().isInstant, 1);
    Self().teleportZone.fill('z');  // no terminator; must not be read
    GenerateEffectString(MAX_SPELLS, 83, 5, 0, 100, 0, 0, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Teleport to Location 5, 0, 0 in Zone: ");
    GenerateEffectString(-1, kArmor, 5, 0, 100, 0, 0, -1, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
    EXPECT_FALSE(IsSlotShown(Self(), -1) || IsSlotShown(Self(), NUM_EFFECT_SLOTS));
}

}  // namespace
