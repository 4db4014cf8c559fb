// Names of linked spells, items and races, and which slots are shown.
#include <gtest/gtest.h>

#include <climits>

#include "data/spell_index.h"
#include "effects/effects.h"
#include "test_support.h"

namespace {

using SpellLookup = testsupport::SpellTableTest;

TEST_F(SpellLookup, FirstLoadedRecordWithTheIdWinsWithOrWithoutTheIndex)
{
    AddSpell(0, "Zero");
    AddSpell(500, "First");
    AddSpell(7, "Seven");
    AddSpell(500, "Second");
    AddSpell(-3, "Negative");
    const struct {
        int id;
        int index;
        const char* name;
    } cases[] = {{500, 1, "First"}, {0, 0, "Zero"}, {-3, 4, "Negative"}, {8, -1, ""}, {INT_MIN, -1, ""}};
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "index" : "scan");
        if (indexed) BuildSpellIdIndex();
        for (const auto& c : cases) {
            TextField name;
            name.fill('x');
            EXPECT_EQ(FindSpell(c.id, name), c.index) << c.id;
            EXPECT_STREQ(name.data(), c.name);
        }
    }
    // An index built for another table is not used; only loaded records count.
    TextField name{};
    g_numSpells = 4;
    EXPECT_EQ(FindSpell(-3, name), -1);
    g_numSpells = 5;
    g_spellArray[1].id = 9;  // "First" rewritten: the second 500 is now the first
    EXPECT_EQ(FindSpell(500, name), 3);
    EXPECT_STREQ(name.data(), "Second");
    for (int count : {0, -1, INT_MAX}) {  // the scan stops at the table's end
        g_numSpells = count;
        EXPECT_EQ(FindSpell(8, name), -1);
        EXPECT_STREQ(name.data(), "");
    }
}

TEST(ItemAndRaceLookup, KnownUnknownAndNegativeIds)
{
    const struct {
        int id;
        const char* item;
        const char* race;
    } cases[] = {
        {-2, "-2", "Armor"},
        {-1, "-1", "Gender"},
        {0, "Unknown", "Unknown(0)"},
        {1, "1", "Human"},
        {13, "13", "Unknown(13)"},
        {367, "367", "Frost Bone Skeleton"},
        {16504, "Enchanged Silver Bar", "Unknown(16504)"},
        {31291, "Summoned: Peridot", "Unknown(31291)"},
        {INT_MIN, "-2147483648", "Unknown(-2147483648)"},
    };
    for (const auto& c : cases) {
        TextField item{};
        TextField race{};
        EXPECT_EQ(FindItem(c.id, item), item.data());
        EXPECT_STREQ(item.data(), c.item);
        EXPECT_EQ(FindIllusion(c.id, race), race.data());
        EXPECT_STREQ(race.data(), c.race);
    }
}

TEST(SlotShown, NotUnusedAndNotCharismaWithBaseZero)
{
    SpellStruct spell{};
    spell.attrib = {UNUSED_EFFECT, 10, 10, 0, 153, 200, 254, 1, 1, 1, 1, 1};
    spell.base = {5, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const bool expected[] = {false, false, true, true, true, true, false, true, true, true, true, true};
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot)
        EXPECT_EQ(IsSlotShown(spell, slot), expected[slot]) << slot;
    EXPECT_FALSE(IsSlotShown(spell, -1));
    EXPECT_FALSE(IsSlotShown(spell, NUM_EFFECT_SLOTS));
}

}  // namespace
