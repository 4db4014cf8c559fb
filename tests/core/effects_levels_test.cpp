// The level computation and the sentence forms of level-scaled effects.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "effects/effect_levels.h"
#include "effects/effects.h"

namespace {

using effects::LevelValues;

// Effect ids of one entry per scaled pattern.
constexpr int kHitpoints = 0;   // Scaled per tick
constexpr int kArmorClass = 1;  // Scaled
constexpr int kMovement = 3;    // Scaled percent
constexpr int kCurse = 116;     // Scaled counter
constexpr int kNoEntry = 16;    // fallback

class EffectLevels : public testing::Test {
protected:
    void SetUp() override
    {
        g_spellArray[0] = SpellStruct{};
        g_spellArray[0].id = 100;
        g_spellArray[0].classLevel.fill(CLASS_LEVEL_NONE);
        g_numSpells = 1;
        g_levelEnable = 0;
        g_displayLevel = MAX_LEVEL;
    }

    static SpellStruct& Spell() { return g_spellArray[0]; }

    // Only one class gets the spell, at `level`.
    static void SetLowestLevel(int level) { Spell().classLevel[CLASS_WAR] = level; }

    static void ShowLevel(int level)
    {
        g_levelEnable = 1;
        g_displayLevel = level;
    }

    static std::string Describe(int attrib, int base, int max, int calc, int duration = 10, int slot = 0)
    {
        TextField text{};
        GenerateEffectString(0, attrib, base, max, calc, duration, g_levelEnable, slot, text, nullptr);
        return text.data();
    }
};

TEST(PerLevelStep, FollowsTheCalcTableAtEachBoundary)
{
    const struct {
        int calc;
        double step;
    } cases[] = {
        {INT_MIN, -2147483648.0},
        {-5, -5},
        {0, 0},
        {1, 1},
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
        {201, 0},
        {INT_MAX, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(effects::PerLevelStep(c.calc), c.step) << "calc " << c.calc;
}

TEST(LowestClassLevel, TakesTheSmallestLevelFromOneToSixtyFive)
{
    const struct {
        std::array<int, NUM_CLASSES> levels;
        int expected;
    } cases[] = {
        {{}, 1},  // all 0: no class gets it
        {{255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}, 1},
        {{66, 70, 255, 0, -3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {{0, 255, 66, 30, -5, 12, 255, 0, 0, 0, 0, 0, 0, 0, 40}, 12},
        {{65, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255}, 65},
        {{255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 1}, 1},
        {{INT_MIN, INT_MAX, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 20},
    };
    for (const auto& c : cases) {
        SpellStruct spell{};
        spell.classLevel = c.levels;
        EXPECT_EQ(effects::LowestClassLevel(spell), c.expected);
    }
}

TEST(SaturateToInt, TruncatesTowardZeroAndClampsAtTheIntRange)
{
    const struct {
        double value;
        int expected;
    } cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {-0.7, 0},
        {2147483647.9, INT_MAX},
        {2147483648.0, INT_MAX},
        {1e300, INT_MAX},
        {INFINITY, INT_MAX},
        {-2147483648.9, INT_MIN},
        {-2147483649.0, INT_MIN},
        {-1e300, INT_MIN},
        {NAN, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(effects::SaturateToInt(c.value), c.expected) << c.value;
    EXPECT_EQ(effects::SaturatingNegate(INT_MIN), INT_MAX);
    EXPECT_EQ(effects::SaturatingNegate(INT_MAX), -INT_MAX);
    EXPECT_EQ(effects::SaturatingSubtract(100, INT_MIN), INT_MAX);
    EXPECT_EQ(effects::SaturatingSubtract(INT_MIN, 100), INT_MIN);
}

TEST_F(EffectLevels, WorkedExamples)
{
    SetLowestLevel(5);
    EXPECT_EQ(Describe(kHitpoints, 10, 0, 102), "Increase Hitpoints by 15 (L5) to 75 (L65) per tick");
    ShowLevel(40);
    EXPECT_EQ(Describe(kHitpoints, 10, 0, 102), "Increase Hitpoints by 50 (L40) per tick");
    EXPECT_EQ(Describe(kHitpoints, -200, 0, 100), "Decrease Hitpoints by 200 per tick");

    SetLowestLevel(1);
    g_levelEnable = 0;
    EXPECT_EQ(Describe(kHitpoints, 10, 30, 102), "Increase Hitpoints by 11 (L1) to 30 (L20) per tick");
    // Above the level where growth stops, the level form prints the cap.
    ShowLevel(50);
    EXPECT_EQ(Describe(kHitpoints, 10, 30, 102), "Increase Hitpoints by 30 (L50) per tick");
}

TEST_F(EffectLevels, EachPatternHasThreeForms)
{
    SetLowestLevel(10);
    const struct {
        int attrib;
        int displayLevel;  // 0: level display off
        int calc;
        const char* expected;
    } cases[] = {
        {kArmorClass, 0, 100, "Increase Armor Class by 7"},
        {kArmorClass, 20, 102, "Increase Armor Class by 27 (L20)"},
        {kArmorClass, 0, 102, "Increase Armor Class by 17 (L10) to 72 (L65)"},
        {kMovement, 0, 100, "Increase Movement Speed by 7%"},
        {kMovement, 20, 102, "Increase Movement Speed by 27% (L20)"},
        {kMovement, 0, 102, "Increase Movement Speed by 17% (L10) to 72% (L65)"},
        {kHitpoints, 0, 100, "Increase Hitpoints by 7 per tick"},
        {kHitpoints, 20, 102, "Increase Hitpoints by 27 (L20) per tick"},
        {kHitpoints, 0, 102, "Increase Hitpoints by 17 (L10) to 72 (L65) per tick"},
        {kCurse, 0, 100, "Increase Curse Counter by 7"},
        {kCurse, 20, 102, "Increase Curse by 27 (L20)"},
        {kCurse, 0, 102, "Increase Curse Counter by 17 (L10) to 72 (L65)"},
    };
    for (const auto& c : cases) {
        g_levelEnable = c.displayLevel != 0;
        g_displayLevel = c.displayLevel != 0 ? c.displayLevel : MAX_LEVEL;
        EXPECT_EQ(Describe(c.attrib, 7, 0, c.calc), c.expected);
    }
}

TEST_F(EffectLevels, TickSuffixOnlyWithAPositiveDuration)
{
    EXPECT_EQ(Describe(kHitpoints, 5, 0, 100, 1), "Increase Hitpoints by 5 per tick");
    EXPECT_EQ(Describe(kHitpoints, 5, 0, 100, 0), "Increase Hitpoints by 5");
    EXPECT_EQ(Describe(kHitpoints, 5, 0, 100, -1), "Increase Hitpoints by 5");
    EXPECT_EQ(Describe(kHitpoints, 5, 0, 100, INT_MIN), "Increase Hitpoints by 5");
}

struct CaseRow {
    const char* what;
    int lowestLevel;
    int displayLevel;  // 0: level display off
    int base, max, calc;
    const char* expected;
};

TEST_F(EffectLevels, CasesABCDWithPositiveAndNegativeBases)
{
    const CaseRow rows[] = {
        // D: a fixed value.
        {"D", 30, 0, 5, 0, 100, "Increase Armor Class by 5"},
        {"D negative", 30, 0, -5, 0, 100, "Decrease Armor Class by 5"},
        {"D zero", 30, 0, 0, 0, 100, "Increase Armor Class by 0"},
        {"D ignores level display", 30, 40, 5, 0, 100, "Increase Armor Class by 5"},
        // B: growth without a cap.
        {"B", 5, 0, 10, 0, 102, "Increase Armor Class by 15 (L5) to 75 (L65)"},
        {"B negative", 5, 0, -10, 0, 102, "Decrease Armor Class by 15 (L5) to 75 (L65)"},
        {"B at level", 5, 20, -10, 0, 102, "Decrease Armor Class by 30 (L20)"},
        {"B below the lowest level", 30, 20, 10, 0, 102, "Increase Armor Class by 40 (L30) to 75 (L65)"},
        {"B step 0", 30, 0, 50, 0, 99, "Increase Armor Class by 50"},
        {"B step 0 (107)", 1, 0, 50, 0, 107, "Increase Armor Class by 50"},
        {"B step 0 (200)", 1, 40, -50, 0, 200, "Decrease Armor Class by 50"},
        {"B equal ends", 1, 0, 10, 0, 199, "Increase Armor Class by 10"},  // 1/94 a level: 10 at 1 and 65
        {"B fraction", 1, 0, 0, 0, 111, "Increase Armor Class by 0 (L1) to 10 (L65)"},
        {"B negative step", 1, 0, 100, 0, -1, "Increase Armor Class by 99 (L1) to 35 (L65)"},
        // A: growth up to a cap.
        {"A", 1, 0, 10, 30, 102, "Increase Armor Class by 11 (L1) to 30 (L20)"},
        {"A negative", 1, 0, -10, 30, 102, "Decrease Armor Class by 11 (L1) to 30 (L20)"},
        {"A at level", 1, 15, -10, 30, 102, "Decrease Armor Class by 25 (L15)"},
        {"A cap at lowest level", 12, 0, 10, 20, 102, "Increase Armor Class by 20"},
        {"A cap beyond 65", 1, 0, 1, 1000, 102, "Increase Armor Class by 2 (L1) to 66 (L65)"},
        {"A step 0", 1, 0, 10, 40, 100, "Increase Armor Class by 40"},
        {"A cap below base", 1, 0, 50, 10, 102, "Increase Armor Class by 10"},
        // C: a negative max.
        {"C", 1, 0, 5, -20, 102, "Increase Armor Class by -20"},
        {"C negative", 1, 0, -10, -50, 102, "Decrease Armor Class by 50"},
        {"C negative step", 1, 0, 10, -20, -2, "Increase Armor Class by 8 (L1) to -50 (L15)"},
        {"C negative step, negative base", 1, 0, -10, -20, -2, "Decrease Armor Class by 8 (L1) to -10 (L15)"},
        {"C at level", 1, 10, -10, -20, -2, "Decrease Armor Class by -10 (L10)"},
    };
    for (const auto& r : rows) {
        SetLowestLevel(r.lowestLevel);
        g_levelEnable = r.displayLevel != 0;
        g_displayLevel = r.displayLevel != 0 ? r.displayLevel : MAX_LEVEL;
        EXPECT_EQ(Describe(kArmorClass, r.base, r.max, r.calc), r.expected) << r.what;
    }
}

TEST_F(EffectLevels, LimitValueIsTheFallbacksThirdNumber)
{
    SetLowestLevel(1);
    const CaseRow rows[] = {
        {"D: magnitude", 1, 0, -5, 0, 100, "Effect 16 (Unknown Spell Effect) (-5, 5, 100)"},
        {"B: 0", 1, 0, -5, 0, 102, "Effect 16 (Unknown Spell Effect) (-5, 0, 102)"},
        {"A: max", 1, 0, -5, 30, 102, "Effect 16 (Unknown Spell Effect) (-5, 30, 102)"},
        {"C: max", 1, 0, 5, -30, 102, "Effect 16 (Unknown Spell Effect) (5, -30, 102)"},
        {"C negative: -max", 1, 0, -5, -30, 102, "Effect 16 (Unknown Spell Effect) (-5, 30, 102)"},
    };
    for (const auto& r : rows) EXPECT_EQ(Describe(kNoEntry, r.base, r.max, r.calc), r.expected) << r.what;
}

TEST_F(EffectLevels, SpellId1589PrintsBaseWithItsSign)
{
    SetLowestLevel(10);
    Spell().id = 1589;
    EXPECT_EQ(Describe(kArmorClass, -7, 0, 102), "Decrease Armor Class by -7");
    EXPECT_EQ(Describe(kArmorClass, 7, 0, 102), "Increase Armor Class by 7");
    ShowLevel(40);
    EXPECT_EQ(Describe(kArmorClass, -7, 0, 102), "Decrease Armor Class by -7");
    EXPECT_EQ(Describe(kNoEntry, -7, 0, 102), "Effect 16 (Unknown Spell Effect) (-7, -7, 102)");
    // Only growth without a cap is affected.
    EXPECT_EQ(Describe(kArmorClass, -7, 0, 100), "Decrease Armor Class by 7");
    EXPECT_EQ(Describe(kArmorClass, -7, 30, 102), "Decrease Armor Class by 30 (L40)");

    Spell().id = 1588;
    g_levelEnable = 0;
    EXPECT_EQ(Describe(kArmorClass, -7, 0, 102), "Decrease Armor Class by 17 (L10) to 72 (L65)");
}

TEST_F(EffectLevels, LevelFormNeedsTheDisplayLevelAtOrAboveTheLowestLevel)
{
    SetLowestLevel(30);
    ShowLevel(20);
    EXPECT_EQ(Describe(kArmorClass, 0, 0, 102), "Increase Armor Class by 30 (L30) to 65 (L65)");
    ShowLevel(30);
    EXPECT_EQ(Describe(kArmorClass, 0, 0, 102), "Increase Armor Class by 30 (L30)");
}

TEST_F(EffectLevels, TheLevelEnableArgumentDoesNotOverrideTheSetting)
{
    SetLowestLevel(1);
    TextField text{};
    GenerateEffectString(0, kArmorClass, 0, 0, 102, 10, 1, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 1 (L1) to 65 (L65)");
    ShowLevel(10);
    GenerateEffectString(0, kArmorClass, 0, 0, 102, 10, 0, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 10 (L10)");
}

TEST_F(EffectLevels, ComputedValuesOfEachCase)
{
    SetLowestLevel(5);
    const LevelValues d = effects::ComputeLevelValues(Spell(), -8, 0, 100, 1, 30);
    EXPECT_EQ(d.minLevel, 1);
    EXPECT_EQ(d.maxLevel, 1);
    EXPECT_EQ(d.singleValue, 8);
    EXPECT_EQ(d.limitValue, 8);

    const LevelValues b = effects::ComputeLevelValues(Spell(), 10, 0, 109, 1, 30);  // 0.25 a level
    EXPECT_EQ(b.minLevel, 5);
    EXPECT_EQ(b.maxLevel, 65);
    EXPECT_EQ(b.minValue, 11);    // 10 + 1.25
    EXPECT_EQ(b.maxValue, 26);    // 10 + 16.25
    EXPECT_EQ(b.levelValue, 17);  // 10 + 7.5
    EXPECT_EQ(b.limitValue, 0);

    const LevelValues a = effects::ComputeLevelValues(Spell(), 10, 20, 110, 1, 65);  // 0.2 a level
    EXPECT_EQ(a.maxLevel, 50);                                                       // 10 / 0.2
    EXPECT_EQ(a.maxValue, 20);
    EXPECT_EQ(a.levelValue, 20);  // 23 at level 65, lowered to the cap
    EXPECT_EQ(a.singleValue, 20);
}

TEST_F(EffectLevels, DurationZeroMarksTheSpellInstantForGood)
{
    Describe(kArmorClass, 1, 0, 100, -1);
    EXPECT_EQ(Spell().isInstant, 0);
    Describe(kArmorClass, 1, 0, 100, 0);
    EXPECT_EQ(Spell().isInstant, 1);
    Describe(kArmorClass, 1, 0, 100, 10);
    EXPECT_EQ(Spell().isInstant, 1);
}

// Every combination of extreme values runs without undefined behaviour (the
// sanitizer build checks) and gives a terminated line; the values saturate.
TEST_F(EffectLevels, ExtremeIntsSaturate)
{
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, 100, 102, 200, INT_MAX - 1, INT_MAX};
    const int attribs[] = {0, 1, 3, 11, 21, 30, 59, 83, 89, 116, 119, 139, 140, 143, 200, INT_MIN, INT_MAX};
    Spell().classLevel.fill(INT_MIN);
    Spell().classLevel[CLASS_BST] = 1;
    for (int levelOn = 0; levelOn < 2; ++levelOn) {
        g_levelEnable = levelOn;
        for (int attrib : attribs) {
            for (int base : extremes) {
                for (int max : extremes) {
                    for (int calc : extremes) {
                        TextField text;
                        text.fill('x');
                        int link = 7;
                        GenerateEffectString(0, attrib, base, max, calc, INT_MAX, 1, NUM_EFFECT_SLOTS - 1,
                                             text, &link);
                        ASSERT_NE(std::memchr(text.data(), '\0', text.size()), nullptr);
                        ASSERT_GE(link, -1);
                    }
                }
            }
        }
    }

    g_levelEnable = 0;
    const CaseRow rows[] = {
        {"most negative base", 1, 0, INT_MIN, 0, 100, "Decrease Armor Class by 2147483647"},
        {"growth past the top", 1, 0, INT_MAX, 0, 102, "Increase Armor Class by 2147483647"},
        {"most negative step", 1, 0, 0, 0, INT_MIN, "Increase Armor Class by -2147483648"},
        {"largest step", 1, 0, 0, 0, 98, "Increase Armor Class by 98 (L1) to 6370 (L65)"},
        {"most negative max", 1, 0, -1, INT_MIN, 102, "Decrease Armor Class by 2147483647"},
        {"largest max", 1, 0, INT_MIN, INT_MAX, 102, "Decrease Armor Class by 2147483647"},
    };
    for (const auto& r : rows) EXPECT_EQ(Describe(kArmorClass, r.base, r.max, r.calc), r.expected) << r.what;
    EXPECT_EQ(Describe(kNoEntry, INT_MIN, 0, 100),
              "Effect 16 (Unknown Spell Effect) (-2147483648, 2147483647, 100)");
    EXPECT_EQ(Describe(kNoEntry, -1, INT_MIN, INT_MIN),
              "Effect 16 (Unknown Spell Effect) (-1, 2147483647, -2147483648)");
}

}  // namespace
