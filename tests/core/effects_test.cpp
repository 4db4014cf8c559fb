// The effect sentences: the per-level step of each formula code, the value
// forms over levels, the catalogue's sentences, links to other spells, and
// what happens at the ends of the int range and of the buffers.
#include "effects/effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "effects/effect_levels.h"

namespace {

TEST(EffectLevels, PerLevelStepLowestClassLevelAndSaturation)
{
    const struct {
        int calc;
        double step;
    } steps[] = {{INT_MIN, -2147483648.0},
                 {-5, -5},
                 {0, 0},
                 {98, 98},
                 {99, 0},
                 {100, 0},
                 {101, 0.5},
                 {102, 1},
                 {106, 5},
                 {107, 0},
                 {108, 0},
                 {109, 0.25},
                 {110, 0.2},
                 {111, 1.0 / 6},
                 {118, 1.0 / 13},
                 {119, 0.15},
                 {120, 1.0 / 15},
                 {121, 0.5},
                 {122, 1.0 / 17},
                 {199, 1.0 / 94},
                 {200, 0},
                 {INT_MAX, 0}};
    for (const auto& c : steps) EXPECT_EQ(effects::PerLevelStep(c.calc), c.step) << "calc " << c.calc;

    const struct {
        std::array<int, NUM_CLASSES> levels;
        int lowest;
    } classes[] = {
        {{}, 1},  // all 0: no class gets it
        {{255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}, 1},
        {{66, 70, 255, 0, -3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {{0, 255, 66, 30, -5, 12, 255, 0, 0, 0, 0, 0, 0, 0, 40}, 12},
        {{65, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}, 65},
        {{INT_MIN, INT_MAX, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 20},
    };
    for (const auto& c : classes) {
        SpellStruct spell{};
        spell.classLevel = c.levels;
        EXPECT_EQ(effects::LowestClassLevel(spell), c.lowest);
    }

    const struct {
        double value;
        int expected;
    } doubles[] = {{2.9, 2},
                   {-2.9, -2},
                   {-0.7, 0},
                   {2147483648.0, INT_MAX},
                   {INFINITY, INT_MAX},
                   {-2147483648.9, INT_MIN},
                   {-1e300, INT_MIN},
                   {NAN, 0}};
    for (const auto& c : doubles) EXPECT_EQ(effects::SaturateToInt(c.value), c.expected) << c.value;
    EXPECT_EQ(effects::SaturatingNegate(INT_MIN), INT_MAX);
    EXPECT_EQ(effects::SaturatingSubtract(100, INT_MIN), INT_MAX);
    EXPECT_EQ(effects::SaturatingSubtract(INT_MIN, 100), INT_MIN);
}

constexpr int kHitpoints = 0;   // scaled, per tick
constexpr int kArmorClass = 1;  // scaled
constexpr int kMovement = 3;    // scaled percent
constexpr int kAttackSpeed = 11;
constexpr int kNoEntry = 16;  // no catalogue entry: the fallback line
constexpr int kDamageShield = 59;
constexpr int kPlayerSize = 89;
constexpr int kCurse = 116;  // scaled counter
constexpr int kOverhaste = 119;

// One slot described for spell 0, whose lowest class level is `lowest`.
struct Sentence {
    const char* name;
    int attrib, base, max, calc;
    int lowest;
    int display;  // the level shown; 0: level display off
    const char* expected;
    int duration = 10;
    int beneficial = 0;
    int id = 100;
};

class Effects : public testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            SpellStruct& spell = Spell(i);
            spell = SpellStruct{};
            spell.id = 9000 + i;
            spell.classLevel.fill(CLASS_LEVEL_NONE);
            spell.attrib.fill(UNUSED_EFFECT);
        }
        CopyText(Spell().teleportZone, "grove");
        g_numSpells = 4;
        g_levelEnable = 0;
        g_displayLevel = MAX_LEVEL;
    }

    static SpellStruct& Spell(int index = 0) { return g_spellArray[static_cast<std::size_t>(index)]; }

    static std::string Describe(int attrib, int base, int max = 0, int calc = 100, int slot = 0,
                                int* link = nullptr, int duration = 10)
    {
        TextField text{};
        GenerateEffectString(0, attrib, base, max, calc, duration, g_levelEnable, slot, text, link);
        if (slot >= 0 && slot < NUM_EFFECT_SLOTS) {
            EXPECT_STREQ(Spell().effectText[static_cast<std::size_t>(slot)].data(), text.data()) << "cached";
        }
        return text.data();
    }

    static std::string Describe(const Sentence& s)
    {
        Spell().id = s.id;
        Spell().beneficial = s.beneficial;
        Spell().classLevel[CLASS_WAR] = s.lowest;
        g_levelEnable = s.display != 0;
        g_displayLevel = s.display != 0 ? s.display : MAX_LEVEL;
        return Describe(s.attrib, s.base, s.max, s.calc, 0, nullptr, s.duration);
    }
};

TEST_F(Effects, Sentences)
{
    const Sentence rows[] = {
        // The value forms: a fixed value (single), growth without a cap
        // (range up to 65, or the value at the shown level), growth up to a
        // cap, a negative max.
        {"worked example", kHitpoints, 10, 0, 102, 5, 0,
         "Increase Hitpoints by 15 (L5) to 75 (L65) per tick"},
        {"worked example at 40", kHitpoints, 10, 0, 102, 5, 40, "Increase Hitpoints by 50 (L40) per tick"},
        {"fixed decrease", kHitpoints, -200, 0, 100, 5, 40, "Decrease Hitpoints by 200 per tick"},
        {"capped", kHitpoints, 10, 30, 102, 1, 0, "Increase Hitpoints by 11 (L1) to 30 (L20) per tick"},
        {"capped, shown above the cap", kHitpoints, 10, 30, 102, 1, 50,
         "Increase Hitpoints by 30 (L50) per tick"},
        {"capped, shown one level past the cap", kHitpoints, 10, 30, 102, 1, 21,
         "Increase Hitpoints by 30 (L21) per tick"},
        {"no tick suffix at duration 0", kHitpoints, 5, 0, 100, 1, 0, "Increase Hitpoints by 5", 0},
        {"no tick suffix below 0", kHitpoints, 5, 0, 100, 1, 0, "Increase Hitpoints by 5", INT_MIN},
        {"suffix at duration 1", kHitpoints, 5, 0, 100, 1, 0, "Increase Hitpoints by 5 per tick", 1},
        {"scaled single", kArmorClass, 7, 0, 100, 10, 0, "Increase Armor Class by 7"},
        {"scaled level", kArmorClass, 7, 0, 102, 10, 20, "Increase Armor Class by 27 (L20)"},
        {"scaled range", kArmorClass, 7, 0, 102, 10, 0, "Increase Armor Class by 17 (L10) to 72 (L65)"},
        {"percent single", kMovement, 7, 0, 100, 10, 0, "Increase Movement Speed by 7%"},
        {"percent level", kMovement, 7, 0, 102, 10, 20, "Increase Movement Speed by 27% (L20)"},
        {"percent range", kMovement, 7, 0, 102, 10, 0, "Increase Movement Speed by 17% (L10) to 72% (L65)"},
        {"counter single", kCurse, 7, 0, 100, 10, 0, "Increase Curse Counter by 7"},
        {"counter level has no Counter", kCurse, 7, 0, 102, 10, 20, "Increase Curse by 27 (L20)"},
        {"counter range", kCurse, 7, 0, 102, 10, 0, "Increase Curse Counter by 17 (L10) to 72 (L65)"},
        {"D negative", kArmorClass, -5, 0, 100, 30, 0, "Decrease Armor Class by 5"},
        {"D zero", kArmorClass, 0, 0, 100, 30, 0, "Increase Armor Class by 0"},
        {"D ignores level display", kArmorClass, 5, 0, 100, 30, 40, "Increase Armor Class by 5"},
        {"B negative", kArmorClass, -10, 0, 102, 5, 0, "Decrease Armor Class by 15 (L5) to 75 (L65)"},
        {"B negative at level", kArmorClass, -10, 0, 102, 5, 20, "Decrease Armor Class by 30 (L20)"},
        {"B shown below the lowest", kArmorClass, 10, 0, 102, 30, 20,
         "Increase Armor Class by 40 (L30) to 75 (L65)"},
        {"B shown at the lowest", kArmorClass, 0, 0, 102, 30, 30, "Increase Armor Class by 30 (L30)"},
        {"B step 0 (99)", kArmorClass, 50, 0, 99, 30, 0, "Increase Armor Class by 50"},
        {"B step 0 (107)", kArmorClass, 50, 0, 107, 1, 0, "Increase Armor Class by 50"},
        {"B step 0 (200)", kArmorClass, -50, 0, 200, 1, 40, "Decrease Armor Class by 50"},
        {"B equal ends", kArmorClass, 10, 0, 199, 1, 0, "Increase Armor Class by 10"},
        {"B fraction", kArmorClass, 0, 0, 111, 1, 0, "Increase Armor Class by 0 (L1) to 10 (L65)"},
        {"B quarter", kArmorClass, 10, 0, 109, 5, 30, "Increase Armor Class by 17 (L30)"},
        {"B negative step", kArmorClass, 100, 0, -1, 1, 0, "Increase Armor Class by 99 (L1) to 35 (L65)"},
        {"B negative step at a level", kArmorClass, 100, 0, -1, 1, 64, "Increase Armor Class by 35 (L64)"},
        {"A negative", kArmorClass, -10, 30, 102, 1, 0, "Decrease Armor Class by 11 (L1) to 30 (L20)"},
        {"A negative at level", kArmorClass, -10, 30, 102, 1, 15, "Decrease Armor Class by 25 (L15)"},
        {"A cap at lowest level", kArmorClass, 10, 20, 102, 12, 0, "Increase Armor Class by 20"},
        {"A cap beyond 65", kArmorClass, 1, 1000, 102, 1, 0, "Increase Armor Class by 2 (L1) to 66 (L65)"},
        {"A fifth a level", kArmorClass, 10, 20, 110, 1, 65, "Increase Armor Class by 20 (L65)"},
        {"A step 0", kArmorClass, 10, 40, 100, 1, 0, "Increase Armor Class by 40"},
        {"A cap below base", kArmorClass, 50, 10, 102, 1, 0, "Increase Armor Class by 10"},
        {"C", kArmorClass, 5, -20, 102, 1, 0, "Increase Armor Class by -20"},
        {"C negative", kArmorClass, -10, -50, 102, 1, 0, "Decrease Armor Class by 50"},
        {"C negative step", kArmorClass, 10, -20, -2, 1, 0, "Increase Armor Class by 8 (L1) to -50 (L15)"},
        {"C negative both", kArmorClass, -10, -20, -2, 1, 0, "Decrease Armor Class by 8 (L1) to -10 (L15)"},
        {"C at level", kArmorClass, -10, -20, -2, 1, 10, "Decrease Armor Class by -10 (L10)"},
        // Spell 1589 prints its base with its sign when growing without a cap.
        {"1589", kArmorClass, -7, 0, 102, 10, 0, "Decrease Armor Class by -7", 10, 0, 1589},
        {"1589 at level", kArmorClass, -7, 0, 102, 10, 40, "Decrease Armor Class by -7", 10, 0, 1589},
        {"1589 fixed", kArmorClass, -7, 0, 100, 10, 0, "Decrease Armor Class by 7", 10, 0, 1589},
        {"1589 capped", kArmorClass, -7, 30, 102, 10, 40, "Decrease Armor Class by 30 (L40)", 10, 0, 1589},
        {"1588", kArmorClass, -7, 0, 102, 10, 0, "Decrease Armor Class by 17 (L10) to 72 (L65)", 10, 0, 1588},
        // The fallback's third number is the limit value of each case.
        {"fallback D", kNoEntry, -5, 0, 100, 1, 0, "Effect 16 (Unknown Spell Effect) (-5, 5, 100)"},
        {"fallback B", kNoEntry, -5, 0, 102, 1, 0, "Effect 16 (Unknown Spell Effect) (-5, 0, 102)"},
        {"fallback A", kNoEntry, -5, 30, 102, 1, 0, "Effect 16 (Unknown Spell Effect) (-5, 30, 102)"},
        {"fallback C", kNoEntry, 5, -30, 102, 1, 0, "Effect 16 (Unknown Spell Effect) (5, -30, 102)"},
        {"fallback C negative", kNoEntry, -5, -30, 102, 1, 0,
         "Effect 16 (Unknown Spell Effect) (-5, 30, 102)"},
        {"fallback 1589", kNoEntry, -7, 0, 102, 1, 40, "Effect 16 (Unknown Spell Effect) (-7, -7, 102)", 10,
         0, 1589},
        // Ends of the int range saturate.
        {"most negative base", kArmorClass, INT_MIN, 0, 100, 1, 0, "Decrease Armor Class by 2147483647"},
        {"growth past the top", kArmorClass, INT_MAX, 0, 102, 1, 0, "Increase Armor Class by 2147483647"},
        {"most negative step", kArmorClass, 0, 0, INT_MIN, 1, 0, "Increase Armor Class by -2147483648"},
        {"largest step", kArmorClass, 0, 0, 98, 1, 0, "Increase Armor Class by 98 (L1) to 6370 (L65)"},
        {"most negative max", kArmorClass, -1, INT_MIN, 102, 1, 0, "Decrease Armor Class by 2147483647"},
        {"largest max", kArmorClass, INT_MIN, INT_MAX, 102, 1, 0, "Decrease Armor Class by 2147483647"},
        {"fallback extremes", kNoEntry, -1, INT_MIN, INT_MIN, 1, 0,
         "Effect 16 (Unknown Spell Effect) (-1, 2147483647, -2147483648)"},
        // One-line entries print base as passed.
        {"see invisible", 13, -3, 0, 100, 1, 0, "See Invisible (-3)"},
        {"charm", 22, 46, 0, 102, 1, 0, "Charm up to level 46"},
        {"frenzy radius", 30, 40, 0, 100, 1, 0, "Frenzy Radius (40/0)"},
        {"reaction radius", 86, 40, -5, 102, 1, 0, "Reaction Radius (40/-5)"},
        {"spin stun", 64, 1, 0, 100, 1, 0, "SpinStun"},
        {"resurrect", 81, 90, 0, 100, 1, 0, "Resurrect and restore 90% experience"},
        {"throw", 84, 7, 0, 100, 1, 0, "Throw Into the Air(7)"},
        {"mana drain", 98, 7, 0, 100, 1, 0, "Mana Drain?"},
        {"limit heal", 147, 5, 0, 100, 1, 0, "Limit - 75% heal: 5"},
        {"limit max level", 134, -60, 0, 100, 1, 0, "Limit - Max Level: -60"},
        {"stun", 21, 2500, 0, 100, 1, 0, "Stun (2.50 seconds)"},
        {"stun rounds", 21, 1234, 0, 100, 1, 0, "Stun (1.23 seconds)"},
        {"stun negative", 21, -2500, 0, 100, 1, 0, "Stun (-2.50 seconds)"},
        {"stun largest", 21, INT_MAX, 0, 100, 1, 0, "Stun (2147483.65 seconds)"},
        {"min duration", 140, 35, 0, 100, 1, 0, "Limit - Min Duration: 35 ticks (3.5 minutes)"},
        {"min duration smallest", 140, INT_MIN, 0, 100, 1, 0,
         "Limit - Min Duration: -2147483648 ticks (-214748364.8 minutes)"},
        {"min cast time", 143, 999, 0, 100, 1, 0, "Limit - Min Cast Time: 1.00 seconds"},
        {"item", 32, 10026, 0, 100, 1, 0, "Summon Item (Cat's Eye Agate)"},
        {"unknown item", 32, 10025, 0, 100, 1, 0, "Summon Item (10025)"},
        {"item v2", 109, 16507, 0, 100, 1, 0, "Summon Item v2: Enchnated Platinum Bar"},
        {"item v2 unknown", 109, -7, 0, 100, 1, 0, "Summon Item v2: -7"},
        {"illusion", 58, 130, 0, 100, 1, 0, "Illusion: Vah Shir"},
        {"illusion of armor", 58, -2, 0, 100, 1, 0, "Illusion: Armor"},
        {"unknown illusion", 58, 13, 0, 100, 1, 0, "Illusion: Unknown(13)"},
        {"familiar", 108, 3, 0, 100, 1, 0, "Summon Falimiar (grove)"},
        {"size at 100", kPlayerSize, 100, 5, 102, 1, 0, "Increase Player Size by 0%"},
        {"size below", kPlayerSize, 60, 5, 102, 1, 0, "Decrease Player Size by 40%"},
        {"size smallest", kPlayerSize, INT_MIN, 5, 102, 1, 0, "Decrease Player Size by 2147483647%"},
        {"size largest", kPlayerSize, INT_MAX, 5, 102, 1, 0, "Increase Player Size by 2147483547%"},
        // A damage shield always increases.
        {"shield single", kDamageShield, -10, 0, 100, 1, 0, "Increase Damage Shield by 10"},
        {"shield level", kDamageShield, -10, 0, 102, 1, 20, "Increase Damage Shield by 30 (L20)"},
        {"shield range", kDamageShield, -10, 0, 102, 1, 0, "Increase Damage Shield by 11 (L1) to 75 (L65)"},
        // Attack speed reads values against 100; on a beneficial spell a
        // value below 100 may be meant as an increase.
        {"haste below 100", kAttackSpeed, 70, 0, 100, 1, 0,
         "Decrease Attack Speed by 30% (possibly increase by 70%)", 10, 1},
        {"haste at 100", kAttackSpeed, 100, 0, 100, 1, 0, "Increase Attack Speed by 0%", 10, 1},
        {"haste above 100", kAttackSpeed, 130, 0, 100, 1, 0, "Increase Attack Speed by 30%", 10, 1},
        {"slow", kAttackSpeed, 70, 0, 100, 1, 0, "Decrease Attack Speed by 30%"},
        {"group beneficial reads as detrimental", kAttackSpeed, 130, 0, 100, 1, 0,
         "Decrease Attack Speed by -30%", 10, 2},
        {"haste below 100 at a level", kAttackSpeed, 50, 0, 102, 1, 20,
         "Decrease Attack Speed by 30% (L20) (possibly increase by 70)", 10, 1},
        {"haste below 100 growing", kAttackSpeed, 50, 0, 102, 1, 0,
         "Increase Attack Speed by 51% (L1) to 115% (L65)", 10, 1},
        {"haste below 100 shrinking", kAttackSpeed, 50, 0, -1, 1, 0,
         "Decrease Attack Speed by 51% (L1) to 115% (L65)", 10, 1},
        {"haste from 100 at a level", kAttackSpeed, 100, 0, 102, 1, 30, "Increase Attack Speed by 30% (L30)",
         10, 1},
        {"haste from 100 range", kAttackSpeed, 100, 0, 102, 1, 0,
         "Increase Attack Speed by 1% (L1) to 65% (L65)", 10, 1},
        {"slow at a level", kAttackSpeed, 50, 0, 102, 1, 20, "Decrease Attack Speed by 30% (L20)"},
        {"slow range", kAttackSpeed, 50, 0, 102, 1, 0, "Decrease Attack Speed by 49% (L1) to -15% (L65)"},
        {"haste extreme", kAttackSpeed, 5, INT_MIN, 102, 1, 0,
         "Decrease Attack Speed by 2147483647% (possibly increase by -2147483648%)", 10, 1},
        // Overhaste: on a beneficial spell a value below 100 is an increase.
        {"overhaste below 100", kOverhaste, 30, 0, 100, 1, 0, "Increase Attack Speed (Bard Overhaste) by 30%",
         10, 1},
        {"overhaste above 100", kOverhaste, 130, 0, 100, 1, 0,
         "Increase Attack Speed (Bard Overhaste) by 30%", 10, 1},
        {"overhaste detrimental", kOverhaste, 70, 0, 100, 1, 0,
         "Decrease Attack Speed (Bard Overhaste) by 30%"},
        {"overhaste below 100 at a level", kOverhaste, 10, 0, 102, 1, 20,
         "Increase Attack Speed (Bard Overhaste) by 30% (L20)", 10, 1},
        {"overhaste below 100 range", kOverhaste, 10, 0, 102, 1, 0,
         "Increase Attack Speed (Bard Overhaste) by 11% (L1) to 75% (L65)", 10, 1},
        {"overhaste from 100 range", kOverhaste, 100, 0, 102, 1, 0,
         "Increase Attack Speed (Bard Overhaste) by 1% (L1) to 65% (L65)", 10, 1},
        {"overhaste detrimental range", kOverhaste, 50, 0, 102, 1, 0,
         "Decrease Attack Speed (Bard Overhaste) by 49% (L1) to -15% (L65)"},
        {"overhaste extreme", kOverhaste, 5, INT_MIN, 102, 1, 0,
         "Decrease Attack Speed (Bard Overhaste) by 2147483647%"},
    };
    for (const Sentence& s : rows) EXPECT_EQ(Describe(s), s.expected) << s.name;
}

constexpr int kNoEntryIds[] = {16, 17, 34, 37,  38,  39,  43,  45,  51,  60,  62,
                               70, 72, 80, 122, 126, 133, 144, 145, 146, 151, 152};

TEST_F(Effects, IdsWithoutEntryGiveTheFallbackAndEveryOtherIdItsOwnSentence)
{
    for (int id : {16, 152, -1, 154, 254, INT_MIN, INT_MAX}) {
        const std::string prefix = "Effect " + std::to_string(id) + " (Unknown Spell Effect) ";
        EXPECT_EQ(Describe(id, 5, 0, 102), prefix + "(5, 0, 102)");
        EXPECT_EQ(Describe(id, 5, 0, 100), prefix + "(5, 5, 100)");
    }
    Spell().beneficial = 1;
    for (int id = 0; id <= 153; ++id) {
        const bool noEntry = std::ranges::find(kNoEntryIds, id) != std::end(kNoEntryIds);
        const std::string text = Describe(id, 5, 0, 100);
        EXPECT_EQ(text.find("Unknown Spell Effect") != std::string::npos, noEntry) << id;
        EXPECT_NE(text, "") << id;
    }
}

TEST_F(Effects, LocationReadsTheNextTwoSlots)
{
    Spell().base = {1, 2, 100, 200, -50, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(Describe(83, 100, 0, 100, 2), "Teleport to Location 100, 200, -50 in Zone: grove");
    EXPECT_EQ(Describe(88, 100, 0, 100, 2), "Evacuate to Location 100, 200, -50 in Zone: grove");
    EXPECT_EQ(Describe(104, 100, 0, 100, 2), "Translocate to Location 100, 200, -50 in Zone: grove");
    // Past the last slot the coordinates are 0, whatever the slot number.
    EXPECT_EQ(Describe(83, 12, 0, 100, 11), "Teleport to Location 12, 0, 0 in Zone: grove");
    for (int slot : {INT_MAX, INT_MIN})
        EXPECT_EQ(Describe(83, 5, 0, 100, slot), "Teleport to Location 5, 0, 0 in Zone: grove");
    EXPECT_EQ(Describe(88, 11, 0, 100, 10), "Evacuate to Location 11, 12, 0 in Zone: grove");
    // Without a zone, a translocation goes to the bind point.
    Spell().teleportZone[0] = '\0';
    EXPECT_EQ(Describe(104, -99, 5, 102, 11), "Translocate to Bind");
    EXPECT_EQ(Describe(83, 1), "Teleport to Location 1, 2, 100 in Zone: ");
}

TEST_F(Effects, ProcsAndSpellLimitsNameAndLinkTheFirstLoadedSpellWithTheId)
{
    Spell(2).id = 1234;
    CopyText(Spell(2).name, "Ember Strike");
    Spell(3).id = 1234;
    CopyText(Spell(3).name, "Second Strike");
    const struct {
        int attrib, base;
        const char* expected;
        int link;
    } cases[] = {
        {85, 1234, "Add Weapon Proc: 1234 (Ember Strike)", 2},
        {85, 4321, "Add Weapon Proc: 4321 ()", -1},
        {139, 1234, "Limit - Spell - Include Spell: Ember Strike", 2},
        {139, -1234, "Limit - Spell - Exclude Spell: Ember Strike", 2},
        {139, 77, "Limit - Spell - Include Spell: ", -1},
        {139, INT_MIN, "Limit - Spell - Exclude Spell: ", -1},
        {kArmorClass, 1234, "Increase Armor Class by 1234", -1},
    };
    for (const auto& c : cases) {
        int link = 99;
        EXPECT_EQ(Describe(c.attrib, c.base, 0, 100, 0, &link), c.expected);
        EXPECT_EQ(link, c.link) << c.expected;
        EXPECT_EQ(Describe(c.attrib, c.base), c.expected) << "without a link asked for";
    }
    // Records past the loaded count are not looked at.
    g_numSpells = 2;
    int link = 99;
    EXPECT_EQ(Describe(85, 1234, 0, 100, 0, &link), "Add Weapon Proc: 1234 ()");
    EXPECT_EQ(link, -1);
}

TEST_F(Effects, LongNamesAreCutTo259Characters)
{
    const std::string longName(259, 'n');
    Spell(1).id = 55;
    CopyText(Spell(1).name, longName.c_str());
    CopyText(Spell().teleportZone, longName.c_str());
    EXPECT_EQ(Describe(85, 55), ("Add Weapon Proc: 55 (" + longName).substr(0, 259));
    EXPECT_EQ(Describe(108, 0).size(), 259u);
    EXPECT_EQ(Describe(83, 0, 0, 100, 11).size(), 259u);
    EXPECT_EQ(Describe(139, -55).size(), 259u);
}

TEST_F(Effects, SpellStateOutOfRangeCallsAndTheLevelArgument)
{
    // Duration 0 marks the spell instant for good.
    Describe(kArmorClass, 1, 0, 100, 0, nullptr, -1);
    EXPECT_EQ(Spell().isInstant, 0);
    Describe(kArmorClass, 1, 0, 100, 0, nullptr, 0);
    Describe(kArmorClass, 1, 0, 100, 0, nullptr, 10);
    EXPECT_EQ(Spell().isInstant, 1);

    // An out-of-range slot or index writes only the caller's buffer (a
    // slot past the last would land on the instant flag).
    Spell().isInstant = 0;
    TextField text{};
    GenerateEffectString(0, 1, 5, 0, 100, 10, 0, NUM_EFFECT_SLOTS, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
    EXPECT_EQ(Spell().isInstant, 0);
    Spell().teleportZone.fill('z');  // no terminator; must not be read
    GenerateEffectString(MAX_SPELLS, 83, 5, 0, 100, 0, 0, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Teleport to Location 5, 0, 0 in Zone: ");
    GenerateEffectString(-1, 1, 5, 0, 100, 0, 0, -1, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");

    // The cached sentence may be the buffer itself.
    GenerateEffectString(0, 1, 5, 0, 100, 10, 0, 3, Spell().effectText[3], nullptr);
    EXPECT_STREQ(Spell().effectText[3].data(), "Increase Armor Class by 5");

    // The level setting, not the argument, chooses the form.
    Spell().classLevel[CLASS_WAR] = 1;
    GenerateEffectString(0, kArmorClass, 0, 0, 102, 10, 1, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 1 (L1) to 65 (L65)");
    g_levelEnable = 1;
    g_displayLevel = 10;
    GenerateEffectString(0, kArmorClass, 0, 0, 102, 10, 0, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 10 (L10)");
}

}  // namespace
