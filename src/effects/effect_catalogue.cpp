#include "effects/effect_catalogue.h"

namespace effects {
namespace {

using enum EffectKind;

// Every effect id that has an entry. Ids left out give the fallback line.
constexpr EffectEntry kEntries[] = {
    {0, "Hitpoints", ScaledPerTick},
    {1, "Armor Class", Scaled},
    {2, "Attack", Scaled},
    {3, "Movement Speed", ScaledPercent},
    {4, "Strength", Scaled},
    {5, "Dexterity", Scaled},
    {6, "Agility", Scaled},
    {7, "Stamina", Scaled},
    {8, "Intelligence", Scaled},
    {9, "Wisdom", Scaled},
    {10, "Charisma", Scaled},
    {11, "Attack Speed", AttackSpeed},
    {12, "Invisibility", Text, "%s"},
    {13, "See Invisible", TextBase, "%s (%d)"},
    {14, "Water Breathing", TextBase, "%s (%d)"},
    {15, "Mana", ScaledPerTick},
    {18, "Pacify", Text, "%s"},
    {19, "Faction", Scaled},
    {20, "Blindness", TextBase, "%s (%d)"},
    {21, "Stun", TextSeconds, "%s (%0.2f seconds)"},
    {22, "Charm", TextBase, "%s up to level %d"},
    {23, "Fear", Text, "%s"},
    {24, "Stamina Regen", Scaled},
    {25, "Bind Affinity", Text, "%s"},
    {26, "Gate to Bind", Text, "%s"},
    {27, "Cancel Magic", TextBase, "%s (%d)"},
    {28, "Invisibile to Undead", Text, "%s"},
    {29, "Invisibile to Animals", Text, "%s"},
    {30, "Frenzy Radius", TextBaseMax, "%s (%d/%d)"},
    {31, "Mesmerize", TextBase, "%s (Level %d max)"},
    {32, "Summon Item", TextItem, "%s (%s)"},
    {33, "Summon Pet", Text, "%s"},
    {35, "Disease Counter", Scaled},
    {36, "Poison Counter", Scaled},
    {40, "Invulnerability", Text, "%s"},
    {41, "Destroy Target", TextBase, "%s (Max level %d)"},
    {42, "Shadow Step", Text, "%s"},
    {44, "Lycanthorpy", Text, "%s"},
    {46, "Fire Resist", Scaled},
    {47, "Cold Resist", Scaled},
    {48, "Poison Resist", Scaled},
    {49, "Disease Resist", Scaled},
    {50, "Magic Resist", Scaled},
    {52, "Sense Undead", Text, "%s"},
    {53, "Sense Summoned", Text, "%s"},
    {54, "Sense Animal", Text, "%s"},
    {55, "Absorb Damage", Scaled},
    {56, "True North", Text, "%s"},
    {57, "Levitate", TextBase, "%s (%d)"},
    {58, "Illusion", TextRace, "%s: %s"},
    {59, "Damage Shield", DamageShield},
    {61, "Identify", Text, "%s"},
    {63, "Wipe Hate List", Text, "%s"},
    {64, "SpinStun", Text, "%s"},
    {65, "Infravision", Text, "%s"},
    {66, "Ultravision", Text, "%s"},
    {67, "Eye of Zomm", Text, "%s"},
    {68, "Reclaim Energy", Text, "%s"},
    {69, "Max Hitpoints", Scaled},
    {71, "Summon Necro Pet (Skeleton)", Text, "%s"},
    {73, "Bind Sight", Text, "%s"},
    {74, "Feign Death", Text, "%s"},
    {75, "Voice Graft", Text, "%s"},
    {76, "Sentinel", Text, "%s"},
    {77, "Locate Corpse", Text, "%s"},
    {78, "Absorb Magic Damage", Scaled},
    {79, "Current Hitpoints", Scaled},
    {81, "Resurrect", TextBase, "%s and restore %d%% experience"},
    {82, "Summon Player", Text, "%s"},
    {83, "Teleport", Location},
    {84, "Throw Into the Air", TextBase, "%s(%d)"},
    {85, "Add Weapon Proc", TextWeaponProc, "%s: %d (%s)"},
    {86, "Reaction Radius", TextBaseMax, "%s (%d/%d)"},
    {87, "Magnification", TextBase, "%s(%d)"},
    {88, "Evacuate", Location},
    {89, "Player Size", PlayerSize},
    {90, "Cloak", Text, "%s"},
    {91, "Summon Corpse", Text, "%s"},
    {92, "Hate", Scaled},
    {93, "Stop Rain", Text, "%s"},
    {94, "Fragile (Vanishes if a spell is cast or melee attack initiated)", Text, "%s"},
    {95, "Sacrifice", Text, "%s"},
    {96, "Silence", Text, "%s"},
    {97, "Maximum Mana", Scaled},
    {98, "Mana Drain", Text, "%s?"},
    {99, "Root", Text, "%s"},
    {100, "Hitpoints V2", ScaledPerTick},
    {101, "Complete Heal", Scaled},
    {102, "Fearless", TextBase, "%s? (%d)"},
    {103, "Summon Pet to You", Text, "%s"},
    {104, "Translocate", LocationOrBind},
    {105, "Anchor", TextBase, "%s? (%d)"},
    {106, "Summon Beastlord Pet", Text, "%s"},
    {107, "Beastlord Pet Rank", Text, "%s"},
    {108, "Summon Falimiar", TextZone, "%s (%s)"},
    {109, "Summon Item v2", TextItem, "%s: %s"},
    {110, "Improve Archery", TextBase, "%s? (%d)"},
    {111, "All Resists", Scaled},
    {112, "Effective Casting Level", TextBase, "%s (%d)"},
    {113, "Summon Horse", Text, "%s"},
    {114, "Aggression Multiplier", ScaledPercent},
    {115, "Food/Water", TextBase, "%s? (%d)"},
    {116, "Curse", ScaledCounter},
    {117, "Addon Magic Attribute", TextBase, "%s? (%d)"},
    {118, "Singing Skill", ScaledPercent},
    {119, "Attack Speed (Bard Overhaste)", Overhaste},
    {120, "Reduce Healing Effectiveness", ScaledPercent},
    {121, "Reverse Damage Shield", Scaled},
    {123, "Screech", TextBase, "%s? (%d)"},
    {124, "Spell Damage", ScaledPercent},
    {125, "Healing", ScaledPercent},
    {127, "Spell Haste", ScaledPercent},
    {128, "Spell Duration", ScaledPercent},
    {129, "Spell Range", ScaledPercent},
    {130, "Spell Hate", ScaledPercent},
    {131, "Reagent Conservation", ScaledPercent},
    {132, "Mana Cost", ScaledPercent},
    {134, "Limit - Max Level", TextBase, "%s: %d"},
    {135, "Limit - Resist", TextBase, "%s: %d"},
    {136, "Limit - Target", TextBase, "%s: %d"},
    {137, "Limit - Effect", TextBase, "%s: %d"},
    {138, "Limit - Spell Type", TextBase, "%s: %d"},
    {139, "Limit - Spell", SpellLimit},
    {140, "Limit - Min Duration", TextTicks, "%s: %d ticks (%0.1f minutes)"},
    {141, "Limit - Instant Cast", TextBase, "%s: %d"},
    {142, "Limit - Min Level", TextBase, "%s: %d"},
    {143, "Limit - Min Cast Time", TextSeconds, "%s: %0.2f seconds"},
    {147, "Limit - 75% heal", TextBase, "%s: %d"},
    {148, "Stacking 1", TextBase, "%s? (%d)"},
    {149, "Stacking 2", TextBase, "%s? (%d)"},
    {150, "Death Save", TextBase, "%s (%d)"},
    {153, "Balance Party Health", TextBase, "%s? (%d)"},
};

// The entries indexed by effect id.
constexpr auto kCatalogue = [] {
    std::array<EffectEntry, kHighestEffectId + 1> table{};
    for (const EffectEntry& entry : kEntries) table[static_cast<std::size_t>(entry.id)] = entry;
    return table;
}();

constexpr bool EntriesAreWellFormed()
{
    int previous = -1;
    for (const EffectEntry& entry : kEntries) {
        if (entry.id <= previous || entry.id > kHighestEffectId) return false;  // ascending, unique
        if (entry.kind == None || entry.label[0] == '\0') return false;
        const char* expected = ExpectedConversions(entry.kind);
        if (expected ? !ListConversions(entry.format).Equals(expected) : entry.format[0] != '\0')
            return false;
        previous = entry.id;
    }
    return true;
}
static_assert(EntriesAreWellFormed(), "effect ids ascending; each one-line format matches its kind's values");
static_assert(std::size(kEntries) == kNumEffectEntries, "22 ids from 0 to 153 have no entry");

constexpr EffectEntry kNoEntry{};

}  // namespace

const EffectEntry& LookUpEffect(int attrib)
{
    if (attrib < 0 || attrib > kHighestEffectId) return kNoEntry;
    return kCatalogue[static_cast<std::size_t>(attrib)];
}

}  // namespace effects
