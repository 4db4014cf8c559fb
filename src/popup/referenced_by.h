// Which spells refer to a spell: spell j is referenced by spell i when i's
// linked spell, or the link of one of the effect slots i's detail window
// shows, is j. Built once per load of the table.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "data/spell.h"

struct ReferencedByIndex {
    // The spells that refer to spell j are refs[starts[j] .. starts[j + 1]),
    // in table order, each once.
    std::array<int32_t, MAX_SPELLS + 1> starts{};
    // A spell refers through its linked spell and its twelve slots at most.
    std::array<int16_t, MAX_SPELLS*(NUM_EFFECT_SLOTS + 1)> refs{};
    int count = 0;        // spells indexed
    int generation = -1;  // the load of the table it was built for
};

// The index of the loaded table.
extern ReferencedByIndex g_referencedBy;

// Builds `index` over the loaded table (g_spellArray[0 .. g_numSpells)).
// Reads the table only.
void BuildReferencedBy(ReferencedByIndex& index);

// Builds g_referencedBy unless it was built for the loaded table.
void UpdateReferencedBy();

// Where the spell window shows its "Referenced by:" list of `count` spells
// below the rest of a panel `panelHeight` high: five rows at most, more
// scroll. No list for a count of 0: the panel keeps its height.
struct ReferencedByPlace {
    int top = 0;
    int listHeight = 0;
    int panelHeight = 0;
};
ReferencedByPlace PlaceReferencedBy(int panelHeight, int count);

// The table indexes of the spells that refer to the spell at `index`, in
// ascending order; empty for an index that is not that of an indexed spell.
std::span<const int16_t> ReferencedBy(const ReferencedByIndex& index, int spell);
