// The effect description engine: one effect slot of a spell as one line of
// English, with values scaled over character levels.
#pragma once

#include "data/spell.h"
#include "data/spell_table.h"

// How level-dependent values are shown: as ranges over the levels
// (levelEnable 0) or at one character level, displayLevel (1..65).
struct LevelSetting {
    int levelEnable = 0;
    int displayLevel = MAX_LEVEL;
};

// The setting of the main window: g_levelEnable and g_displayLevel.
LevelSetting CurrentLevelSetting();

// The setting for a level number as the exporter and the comparison give
// it: 0 (or below) shows ranges over the levels, 1..65 the values at that
// level (a number above 65 counts as 65).
LevelSetting LevelSettingFor(int level);

// Writes the sentence of one effect slot of `spell` into `text`. `link`,
// when not null, receives the index in `table` of a spell the sentence
// names, or -1. Names of linked spells come from `table`. Writes only
// `text` and `*link`; reads only its arguments and constant tables. Always
// returns 0.
int DescribeEffect(const SpellTable& table, const SpellStruct& spell, int attrib, int base, int max, int calc,
                   int duration, int slot, LevelSetting level, TextField& text, int* link);

// Writes the sentence of one effect slot of g_spellArray[spellIndex], at the
// main window's level setting, into `text` and into the spell's
// effectText[slot]; sets the spell's isInstant when duration is 0. `link`,
// when not null, receives the table index of a spell the sentence names, or
// -1. Always returns 0.
int GenerateEffectString(int spellIndex, int attrib, int base, int max, int calc, int duration,
                         int levelEnable, int slot, TextField& text, int* link);

// What generating a sentence leaves in its record: `text` as the slot's
// effectText, and isInstant set when the duration is 0 (never cleared). A
// null record or a slot outside 0..11 caches no text.
void CacheEffectText(SpellStruct* record, int duration, int slot, const TextField& text);

// Table index of the first loaded spell with this id, or -1. `name` receives
// its name, or the empty string.
int FindSpell(int spellId, TextField& name);

// The same in any table.
int FindSpell(const SpellTable& table, int spellId, TextField& name);

// The item's name, or the id in decimal. Returns name.data().
char* FindItem(int itemId, TextField& name);

// The race's name, or "Unknown(%d)". Returns name.data().
char* FindIllusion(int raceId, TextField& name);

// True when the detail window shows this slot (not unused, not effect 10
// with base 0).
bool IsSlotShown(const SpellStruct& spell, int slot);
