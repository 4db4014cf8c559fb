// The spell record and the program-wide tables every subsystem shares.
//
// All program data lives in fixed global tables for the whole run: nothing is
// allocated per spell. Text fields are 260-byte buffers holding at most 259
// characters and a terminating zero.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "data/text_field.h"

inline constexpr int MAX_SPELLS = 4000;
inline constexpr int MAX_POPUPS = 50;
inline constexpr int MAX_LEVEL = 65;
inline constexpr int SPELL_FIELD_COUNT = 174;
inline constexpr int SPELL_LINE_CHARS = 5000;
inline constexpr int NUM_EFFECT_SLOTS = 12;
inline constexpr int NUM_CLASSES = 15;
inline constexpr int NUM_REAGENTS = 4;

// Marks an effect slot that holds no effect.
inline constexpr int UNUSED_EFFECT = 254;

// Order of the fifteen entries of SpellStruct::classLevel.
enum ClassIndex : int {
    CLASS_BST = 0,
    CLASS_ENC = 1,
    CLASS_NEC = 2,
    CLASS_WIZ = 3,
    CLASS_MAG = 4,
    CLASS_RNG = 5,
    CLASS_PAL = 6,
    CLASS_SHD = 7,
    CLASS_BRD = 8,
    CLASS_SHM = 9,
    CLASS_CLR = 10,
    CLASS_DRU = 11,
    CLASS_WAR = 12,
    CLASS_ROG = 13,
    CLASS_MNK = 14,
};

// Three-letter abbreviations in ClassIndex order.
inline constexpr std::array<const char*, NUM_CLASSES> kClassAbbreviations = {
    "BST", "ENC", "NEC", "WIZ", "MAG", "RNG", "PAL", "SHD", "BRD", "SHM", "CLR", "DRU", "WAR", "ROG", "MNK"};

// A class level of 255 means the class does not get the spell.
inline constexpr int CLASS_LEVEL_NONE = 255;

struct SpellStruct {
    int32_t id;
    TextField name;
    TextField column2Text;
    TextField teleportZone;
    TextField column4Text;  // always empty: column 4 is not stored
    TextField column5Text;  // always empty: column 5 is not stored
    TextField message1;
    TextField message2;  // "Someone" + column 7, or empty
    TextField message3;
    double seconds13;  // column 13 / 1000.0
    double seconds14;
    double seconds15;
    int32_t col19;
    int32_t duration;  // ticks; 0 means instant
    int32_t col9;
    int32_t col10;
    int32_t col11;
    int32_t col12;
    int32_t col16;
    int32_t col18;
    std::array<int32_t, NUM_EFFECT_SLOTS> attrib;  // effect id per slot; 254 unused
    std::array<int32_t, NUM_EFFECT_SLOTS> base;
    std::array<int32_t, NUM_EFFECT_SLOTS> max;
    std::array<int32_t, NUM_EFFECT_SLOTS> calc;  // formula code per slot
    std::array<int32_t, NUM_EFFECT_SLOTS> unknown;
    std::array<int32_t, NUM_REAGENTS> reagentId;  // below 1 means none
    std::array<int32_t, NUM_REAGENTS> reagentCount;
    std::array<int32_t, NUM_REAGENTS> col66;
    int32_t col82;
    int32_t beneficial;  // 0 detrimental, 1 beneficial, 2 beneficial group
    int32_t col84;
    int32_t resistType;
    int32_t targetType;
    int32_t col99;
    int32_t skill;
    int32_t environment;  // -1 any, 1 outdoor, 2 indoor
    int32_t col102;
    int32_t timeOfDay;                            // 0 any, 2 night
    std::array<int32_t, NUM_CLASSES> classLevel;  // in ClassIndex order
    int32_t col56;
    int32_t col57;
    int32_t col144;
    int32_t col145;
    int32_t col120;
    int32_t col121;
    int32_t col122;
    int32_t col123;
    std::array<int32_t, NUM_CLASSES> col125;
    int32_t col147;
    int32_t col148;
    int32_t col149;
    int32_t linkedSpell;  // id of a related spell
    int32_t col156;
    int32_t col157;
    std::array<TextField, NUM_EFFECT_SLOTS> effectText;  // last sentence per slot
    int32_t isInstant;                                   // 1 once a sentence was generated with duration 0
};

// ---- Program-wide tables -------------------------------------------------

extern std::array<SpellStruct, MAX_SPELLS> g_spellArray;
extern int g_numSpells;  // records filled by the last load; -1 after a failed open

// Scratch rows whose text doubles as a sort key (spell list, stacking check).
extern std::array<TextField, MAX_SPELLS> g_stringArray;

// Element i holds i, so that callback data can point at a constant number.
// One element more than the table holds records: a link passes index + 1.
extern std::array<int, MAX_SPELLS + 1> g_intArray;

extern TextField g_fileName;  // path of the spell file
extern int g_displayLevel;    // 1..65
extern int g_levelEnable;     // 1: values at g_displayLevel; 0: ranges

// Popup slot table (the popup manager owns these).
extern std::array<int, MAX_POPUPS> g_popupHandles;  // panel handle or -1
extern int g_nextPopup;
extern int g_numPopups;
extern int g_lastPopup;
extern int g_popupX;
extern int g_popupY;

// Gives every global above its start-up value.
void InitGlobals();

// Asks the system to back the block with 2 MB pages where it can: a table of
// thousands of records is then touched with a few page faults instead of
// thousands. Changes no byte; a system without them ignores the hint.
void AdviseHugePages(void* data, std::size_t bytes);

// The number of records the last load filled: g_numSpells kept within
// 0..MAX_SPELLS (a failed load counts as none).
inline int LoadedSpellCount()
{
    return g_numSpells < 0 ? 0 : (g_numSpells > MAX_SPELLS ? MAX_SPELLS : g_numSpells);
}

// True when `index` names a record the last load filled.
inline bool IsLoadedIndex(int index)
{
    return index >= 0 && index < LoadedSpellCount();
}
