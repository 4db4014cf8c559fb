// The effect description engine: one effect slot of a spell as one line of
// English, with values scaled over character levels.
#pragma once

#include "data/spell.h"

// Writes the sentence of one effect slot into `text` and into the spell's
// effectText[slot]; sets the spell's isInstant when duration is 0. `link`,
// when not null, receives the table index of a spell the sentence names, or
// -1. Always returns 0.
int GenerateEffectString(int spellIndex, int attrib, int base, int max, int calc, int duration,
                         int levelEnable, int slot, TextField& text, int* link);

// Table index of the first loaded spell with this id, or -1. `name` receives
// its name, or the empty string.
int FindSpell(int spellId, TextField& name);

// The item's name, or the id in decimal. Returns name.data().
char* FindItem(int itemId, TextField& name);

// The race's name, or "Unknown(%d)". Returns name.data().
char* FindIllusion(int raceId, TextField& name);

// True when the detail window shows this slot (not unused, not effect 10
// with base 0).
bool IsSlotShown(const SpellStruct& spell, int slot);
