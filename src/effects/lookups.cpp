// Names of the spells, items and races that effect slots refer to by number.
#include <algorithm>
#include <array>
#include <cstdio>

#include "effects/effects.h"

namespace {

struct NamedId {
    int id;
    const char* name;
};

// Every item name the program knows.
constexpr std::array<NamedId, 31> kItemNames{{
    {0, "Unknown"},
    {1350, "Fresh Fish"},
    {2093, "Small Portal Fragments"},
    {6002, "Bat Wing"},
    {9963, "Essence Emerald"},
    {10015, "Malachite"},
    {10019, "Bloodstone"},
    {10020, "Jasper"},
    {10024, "Pearl"},
    {10026, "Cat's Eye Agate"},
    {10028, "Peridot"},
    {10030, "Opal"},
    {10031, "Fire Opal"},
    {10035, "Ruby"},
    {13000, "Hand Drum"},
    {13011, "Lute"},
    {13073, "Bone Chips"},
    {13076, "Fish Scales"},
    {13080, "Tiny Dagger"},
    {16500, "Silver Bar"},
    {16501, "Electrum Bar"},
    {16502, "Gold Bar"},
    {16503, "Platinum Bar"},
    {16504, "Enchanged Silver Bar"},
    {16505, "Enchanted Electrum Bar"},
    {16506, "Enchanted Gold Bar"},
    {16507, "Enchnated Platinum Bar"},
    {31288, "Summoned: Cat's Eye Agate"},
    {31289, "Summoned: Bloodstone"},
    {31290, "Summoned: Jasper"},
    {31291, "Summoned: Peridot"},
}};

// Every race name the program knows; -2 and -1 are illusions of armor and
// gender rather than of a race.
constexpr std::array<NamedId, 28> kRaceNames{{
    {-2, "Armor"},        {-1, "Gender"},
    {1, "Human"},         {2, "Barbarian"},
    {3, "Erudite"},       {4, "Wood Elf"},
    {5, "High Elf"},      {6, "Dark Elf"},
    {7, "Half-Elf"},      {8, "Dwarf"},
    {9, "Troll"},         {10, "Ogre"},
    {11, "Halfling"},     {12, "Gnome"},
    {14, "Werewolf"},     {27, "Froglok"},
    {42, "Wolf"},         {46, "Imp"},
    {58, "Guktan"},       {60, "Skeleton"},
    {75, "Elemental"},    {82, "Scarecrow"},
    {120, "Spirit Wolf"}, {128, "Iksar"},
    {130, "Vah Shir"},    {142, "Minor Illusion"},
    {143, "Tree"},        {367, "Frost Bone Skeleton"},
}};

static_assert(std::ranges::is_sorted(kItemNames, {}, &NamedId::id));
static_assert(std::ranges::is_sorted(kRaceNames, {}, &NamedId::id));

// The tables are sorted by id: a binary search finds exact matches.
template <std::size_t N>
const char* FindName(const std::array<NamedId, N>& table, int id)
{
    auto it = std::ranges::lower_bound(table, id, {}, &NamedId::id);
    return it == table.end() || it->id != id ? nullptr : it->name;
}

}  // namespace

int FindSpell(const SpellTable& table, int spellId, TextField& name)
{
    const int index = table.Find(spellId);
    if (index < 0) {
        name[0] = '\0';
        return -1;
    }
    CopyText(name, table[index].name.data());
    return index;
}

int FindSpell(int spellId, TextField& name)
{
    return FindSpell(LoadedTable(), spellId, name);
}

char* FindItem(int itemId, TextField& name)
{
    if (const char* known = FindName(kItemNames, itemId)) {
        CopyText(name, known);
    } else {
        std::snprintf(name.data(), name.size(), "%d", itemId);
    }
    return name.data();
}

char* FindIllusion(int raceId, TextField& name)
{
    if (const char* known = FindName(kRaceNames, raceId)) {
        CopyText(name, known);
    } else {
        std::snprintf(name.data(), name.size(), "Unknown(%d)", raceId);
    }
    return name.data();
}

bool IsSlotShown(const SpellStruct& spell, int slot)
{
    if (slot < 0 || slot >= NUM_EFFECT_SLOTS) return false;
    const auto k = static_cast<std::size_t>(slot);
    return spell.attrib[k] != UNUSED_EFFECT && !(spell.attrib[k] == 10 && spell.base[k] == 0);
}
