// Sentences of the effect catalogue: fallback ids, one-line entries with
// decimals, and the special sentences with their links.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

#include "effects/effects.h"

namespace {

class EffectCatalogue : public testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
            spell = SpellStruct{};
            spell.id = 9000 + i;
            spell.classLevel.fill(CLASS_LEVEL_NONE);
            spell.classLevel[CLASS_ENC] = 1;
            spell.attrib.fill(UNUSED_EFFECT);
        }
        g_numSpells = 4;
        g_levelEnable = 0;
        g_displayLevel = MAX_LEVEL;
    }

    static SpellStruct& Spell(int index = 0) { return g_spellArray[static_cast<std::size_t>(index)]; }

    static std::string Describe(int attrib, int base, int max = 0, int calc = 100, int slot = 0,
                                int* link = nullptr)
    {
        TextField text{};
        GenerateEffectString(0, attrib, base, max, calc, 10, g_levelEnable, slot, text, link);
        EXPECT_STREQ(Spell().effectText[static_cast<std::size_t>(slot)].data(), text.data());
        return text.data();
    }
};

constexpr int kNoEntryIds[] = {16, 17, 34, 37,  38,  39,  43,  45,  51,  60,  62,
                               70, 72, 80, 122, 126, 133, 144, 145, 146, 151, 152};

TEST_F(EffectCatalogue, IdsWithoutEntryGiveTheFallbackLine)
{
    auto fallback = [](int id, const char* numbers) {
        return "Effect " + std::to_string(id) + " (Unknown Spell Effect) " + numbers;
    };
    std::vector<int> ids(std::begin(kNoEntryIds), std::end(kNoEntryIds));
    ids.insert(ids.end(), {-1, 154, 200, 254, INT_MIN, INT_MAX});
    for (int id : ids) {
        EXPECT_EQ(Describe(id, 5, 0, 102), fallback(id, "(5, 0, 102)"));  // growth without a cap
        EXPECT_EQ(Describe(id, 5, 0, 100), fallback(id, "(5, 5, 100)"));  // a fixed value
    }
    EXPECT_EQ(Describe(200, 1, 0, 0), "Effect 200 (Unknown Spell Effect) (1, 0, 0)");
}

TEST_F(EffectCatalogue, EveryOtherIdUpTo153HasItsOwnSentence)
{
    Spell().beneficial = 1;
    CopyText(Spell().teleportZone, "arena");
    for (int id = 0; id <= 153; ++id) {
        if (std::find(std::begin(kNoEntryIds), std::end(kNoEntryIds), id) != std::end(kNoEntryIds)) continue;
        const std::string text = Describe(id, 5, 0, 100);
        EXPECT_EQ(text.find("Unknown Spell Effect"), std::string::npos) << id;
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_NE(text, "Unknown") << id;
    }
}

TEST_F(EffectCatalogue, OneLineEntriesPrintBaseAsPassed)
{
    const struct {
        int attrib, base, max, calc;
        const char* expected;
    } cases[] = {
        {13, -3, 0, 100, "See Invisible (-3)"},
        {22, 46, 0, 102, "Charm up to level 46"},
        {30, 40, 0, 100, "Frenzy Radius (40/0)"},
        {86, 40, -5, 102, "Reaction Radius (40/-5)"},
        {64, 1, 0, 100, "SpinStun"},
        {81, 90, 0, 100, "Resurrect and restore 90% experience"},
        {84, 7, 0, 100, "Throw Into the Air(7)"},
        {98, 7, 0, 100, "Mana Drain?"},
        {147, 5, 0, 100, "Limit - 75% heal: 5"},
        {134, -60, 0, 100, "Limit - Max Level: -60"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(c.attrib, c.base, c.max, c.calc), c.expected);
}

TEST_F(EffectCatalogue, DecimalsOfStunMinDurationAndMinCastTime)
{
    const struct {
        int attrib, base;
        const char* expected;
    } cases[] = {
        {21, 2500, "Stun (2.50 seconds)"},
        {21, 1234, "Stun (1.23 seconds)"},
        {21, 1, "Stun (0.00 seconds)"},
        {21, -2500, "Stun (-2.50 seconds)"},
        {21, INT_MAX, "Stun (2147483.65 seconds)"},
        {140, 35, "Limit - Min Duration: 35 ticks (3.5 minutes)"},
        {140, 1, "Limit - Min Duration: 1 ticks (0.1 minutes)"},
        {140, -35, "Limit - Min Duration: -35 ticks (-3.5 minutes)"},
        {140, INT_MIN, "Limit - Min Duration: -2147483648 ticks (-214748364.8 minutes)"},
        {143, 1500, "Limit - Min Cast Time: 1.50 seconds"},
        {143, 999, "Limit - Min Cast Time: 1.00 seconds"},
        {143, 0, "Limit - Min Cast Time: 0.00 seconds"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(c.attrib, c.base), c.expected);
}

struct PercentRow {
    const char* what;
    int beneficial;
    int base, max, calc;
    int displayLevel;  // 0: level display off
    const char* expected;
};

void RunPercentRows(int attrib, std::initializer_list<PercentRow> rows)
{
    for (const PercentRow& r : rows) {
        g_spellArray[0].beneficial = r.beneficial;
        g_levelEnable = r.displayLevel != 0;
        g_displayLevel = r.displayLevel != 0 ? r.displayLevel : MAX_LEVEL;
        TextField text{};
        GenerateEffectString(0, attrib, r.base, r.max, r.calc, 10, g_levelEnable, 0, text, nullptr);
        EXPECT_STREQ(text.data(), r.expected) << r.what;
    }
}

TEST_F(EffectCatalogue, AttackSpeedRowByRow)
{
    RunPercentRows(
        11, {
                // Single form.
                {"beneficial below 100", 1, 70, 0, 100, 0,
                 "Decrease Attack Speed by 30% (possibly increase by 70%)"},
                {"beneficial at 100", 1, 100, 0, 100, 0, "Increase Attack Speed by 0%"},
                {"beneficial above 100", 1, 130, 0, 100, 0, "Increase Attack Speed by 30%"},
                {"detrimental", 0, 70, 0, 100, 0, "Decrease Attack Speed by 30%"},
                {"group beneficial reads as detrimental", 2, 130, 0, 100, 0, "Decrease Attack Speed by -30%"},
                // Level and range forms, in the order the rows are tested.
                {"below 100, at a level", 1, 50, 0, 102, 20,
                 "Decrease Attack Speed by 30% (L20) (possibly increase by 70)"},
                {"below 100, growing", 1, 50, 0, 102, 0, "Increase Attack Speed by 51% (L1) to 115% (L65)"},
                {"below 100, shrinking", 1, 50, 0, -1, 0, "Decrease Attack Speed by 51% (L1) to 115% (L65)"},
                {"from 100, at a level", 1, 100, 0, 102, 30, "Increase Attack Speed by 30% (L30)"},
                {"from 100, range", 1, 100, 0, 102, 0, "Increase Attack Speed by 1% (L1) to 65% (L65)"},
                {"detrimental, at a level", 0, 50, 0, 102, 20, "Decrease Attack Speed by 30% (L20)"},
                {"detrimental, range", 0, 50, 0, 102, 0, "Decrease Attack Speed by 49% (L1) to -15% (L65)"},
                {"extreme", 1, 5, INT_MIN, 102, 0,
                 "Decrease Attack Speed by 2147483647% (possibly increase by -2147483648%)"},
            });
}

TEST_F(EffectCatalogue, OverhasteRowByRow)
{
    RunPercentRows(
        119, {
                 // Single form.
                 {"beneficial below 100", 1, 30, 0, 100, 0, "Increase Attack Speed (Bard Overhaste) by 30%"},
                 {"beneficial above 100", 1, 130, 0, 100, 0, "Increase Attack Speed (Bard Overhaste) by 30%"},
                 {"detrimental", 0, 70, 0, 100, 0, "Decrease Attack Speed (Bard Overhaste) by 30%"},
                 // Level and range forms.
                 {"below 100, at a level", 1, 10, 0, 102, 20,
                  "Increase Attack Speed (Bard Overhaste) by 30% (L20)"},
                 {"below 100, range", 1, 10, 0, 102, 0,
                  "Increase Attack Speed (Bard Overhaste) by 11% (L1) to 75% (L65)"},
                 {"from 100, at a level", 1, 100, 0, 102, 30,
                  "Increase Attack Speed (Bard Overhaste) by 30% (L30)"},
                 {"from 100, range", 1, 100, 0, 102, 0,
                  "Increase Attack Speed (Bard Overhaste) by 1% (L1) to 65% (L65)"},
                 {"detrimental, at a level", 0, 50, 0, 102, 20,
                  "Decrease Attack Speed (Bard Overhaste) by 30% (L20)"},
                 {"detrimental, range", 0, 50, 0, 102, 0,
                  "Decrease Attack Speed (Bard Overhaste) by 49% (L1) to -15% (L65)"},
                 {"extreme", 0, 5, INT_MIN, 102, 0, "Decrease Attack Speed (Bard Overhaste) by 2147483647%"},
             });
}

TEST_F(EffectCatalogue, DamageShieldAlwaysIncreases)
{
    RunPercentRows(59, {
                           {"single", 0, -10, 0, 100, 0, "Increase Damage Shield by 10"},
                           {"level", 0, -10, 0, 102, 20, "Increase Damage Shield by 30 (L20)"},
                           {"range", 0, -10, 0, 102, 0, "Increase Damage Shield by 11 (L1) to 75 (L65)"},
                       });
}

TEST_F(EffectCatalogue, LocationReadsTheNextTwoSlots)
{
    CopyText(Spell().teleportZone, "arena");
    Spell().base = {1, 2, 100, 200, -50, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(Describe(83, 100, 0, 100, 2), "Teleport to Location 100, 200, -50 in Zone: arena");
    EXPECT_EQ(Describe(88, 100, 0, 100, 2), "Evacuate to Location 100, 200, -50 in Zone: arena");
    EXPECT_EQ(Describe(104, 100, 0, 100, 2), "Translocate to Location 100, 200, -50 in Zone: arena");
    // Past the last slot the coordinates are 0.
    EXPECT_EQ(Describe(83, 12, 0, 100, 11), "Teleport to Location 12, 0, 0 in Zone: arena");
    EXPECT_EQ(Describe(88, 11, 0, 100, 10), "Evacuate to Location 11, 12, 0 in Zone: arena");
}

TEST_F(EffectCatalogue, TranslocateWithoutZoneGoesToBind)
{
    Spell().base = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(Describe(104, 1), "Translocate to Bind");
    EXPECT_EQ(Describe(104, -99, 5, 102, 11), "Translocate to Bind");
    EXPECT_EQ(Describe(83, 1), "Teleport to Location 1, 2, 3 in Zone: ");
}

TEST_F(EffectCatalogue, WeaponProcNamesAndLinksTheFirstSpellWithTheId)
{
    Spell(2).id = 1234;
    CopyText(Spell(2).name, "Ember Strike");
    Spell(3).id = 1234;
    CopyText(Spell(3).name, "Second Strike");

    int link = 99;
    EXPECT_EQ(Describe(85, 1234, 0, 100, 0, &link), "Add Weapon Proc: 1234 (Ember Strike)");
    EXPECT_EQ(link, 2);
    EXPECT_EQ(Describe(85, 4321, 0, 100, 0, &link), "Add Weapon Proc: 4321 ()");
    EXPECT_EQ(link, -1);
    EXPECT_EQ(Describe(85, 1234), "Add Weapon Proc: 1234 (Ember Strike)");  // no link asked for
    // Records past the loaded count are not looked at.
    g_numSpells = 2;
    EXPECT_EQ(Describe(85, 1234, 0, 100, 0, &link), "Add Weapon Proc: 1234 ()");
    EXPECT_EQ(link, -1);
}

TEST_F(EffectCatalogue, SpellLimitIncludesOrExcludesAndLinks)
{
    Spell(1).id = 1234;
    CopyText(Spell(1).name, "Ember Strike");
    Spell(3).id = 1234;
    int link = 99;
    EXPECT_EQ(Describe(139, 1234, 0, 100, 0, &link), "Limit - Spell - Include Spell: Ember Strike");
    EXPECT_EQ(link, 1);
    link = 99;
    EXPECT_EQ(Describe(139, -1234, 0, 100, 0, &link), "Limit - Spell - Exclude Spell: Ember Strike");
    EXPECT_EQ(link, 1);
    EXPECT_EQ(Describe(139, 77, 0, 100, 0, &link), "Limit - Spell - Include Spell: ");
    EXPECT_EQ(link, -1);
    EXPECT_EQ(Describe(139, INT_MIN, 0, 100, 0, &link), "Limit - Spell - Exclude Spell: ");
    EXPECT_EQ(link, -1);
    // Other effects never link.
    link = 99;
    Describe(1, 1234, 0, 100, 0, &link);
    EXPECT_EQ(link, -1);
}

TEST_F(EffectCatalogue, ItemIllusionAndZoneNames)
{
    CopyText(Spell().teleportZone, "grove");
    const struct {
        int attrib, base;
        const char* expected;
    } cases[] = {
        {32, 10026, "Summon Item (Cat's Eye Agate)"},
        {32, 10025, "Summon Item (10025)"},
        {109, 16507, "Summon Item v2: Enchnated Platinum Bar"},
        {109, -7, "Summon Item v2: -7"},
        {58, 130, "Illusion: Vah Shir"},
        {58, -2, "Illusion: Armor"},
        {58, 13, "Illusion: Unknown(13)"},
        {108, 3, "Summon Falimiar (grove)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(c.attrib, c.base), c.expected);
}

TEST_F(EffectCatalogue, PlayerSizeReadsBaseAgainstOneHundred)
{
    const struct {
        int base;
        const char* expected;
    } cases[] = {
        {100, "Increase Player Size by 0%"},
        {60, "Decrease Player Size by 40%"},
        {150, "Increase Player Size by 50%"},
        {INT_MIN, "Decrease Player Size by 2147483647%"},
        {INT_MAX, "Increase Player Size by 2147483547%"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(89, c.base, 5, 102), c.expected);
}

TEST_F(EffectCatalogue, LongNamesAreCutTo259Characters)
{
    const std::string longName(259, 'n');
    Spell(1).id = 55;
    CopyText(Spell(1).name, longName.c_str());
    CopyText(Spell().teleportZone, longName.c_str());

    const std::string proc = Describe(85, 55);
    EXPECT_EQ(proc.size(), 259u);
    EXPECT_EQ(proc, ("Add Weapon Proc: 55 (" + longName).substr(0, 259));
    EXPECT_EQ(Describe(108, 0).size(), 259u);
    EXPECT_EQ(Describe(83, 0, 0, 100, 11).size(), 259u);
    EXPECT_EQ(Describe(139, -55).size(), 259u);
}

TEST_F(EffectCatalogue, OutOfRangeSlotOrIndexWritesOnlyTheCallersBuffer)
{
    TextField text{};
    GenerateEffectString(0, 1, 5, 0, 100, 10, 0, NUM_EFFECT_SLOTS, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
    EXPECT_EQ(Spell().isInstant, 0);

    Spell().teleportZone.fill('z');  // no terminator; must not be read
    GenerateEffectString(MAX_SPELLS, 83, 5, 0, 100, 0, 0, 0, text, nullptr);
    EXPECT_STREQ(text.data(), "Teleport to Location 5, 0, 0 in Zone: ");
    GenerateEffectString(-1, 1, 5, 0, 100, 0, 0, -1, text, nullptr);
    EXPECT_STREQ(text.data(), "Increase Armor Class by 5");
}

TEST_F(EffectCatalogue, TheCachedSentenceMayBeTheBufferItself)
{
    TextField& cached = Spell().effectText[3];
    GenerateEffectString(0, 1, 5, 0, 100, 10, 0, 3, cached, nullptr);
    EXPECT_STREQ(cached.data(), "Increase Armor Class by 5");
}

}  // namespace
