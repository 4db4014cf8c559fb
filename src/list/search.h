// The spell search: which spells a search text and a class value list, the
// rows that carry them, their sort orders, and the table index each row
// hands to the list.
//
// A row is a 260-byte buffer of g_stringArray. Its text is the sort key and
// ends in the spell's table index as five digits with leading zeros; the
// index is cut off again before the row becomes a list label.
#pragma once

#include <array>
#include <cstddef>

#include "data/spell.h"
#include "list/effect_filter.h"

// ---- Class selector -----------------------------------------------------------

// One value of the class selector: its number, its label and the classLevel
// entry its bit selects (-1 for the value without a class filter).
struct ClassSelectorEntry {
    int value;
    const char* label;
    int classIndex;
};

inline constexpr int NUM_CLASS_SELECTOR_VALUES = 16;

// The bits follow the alphabetical order of the class abbreviations.
inline constexpr std::array<ClassSelectorEntry, NUM_CLASS_SELECTOR_VALUES> kClassSelector = {{
    {0, "All classes", -1},
    {1, "BRD", CLASS_BRD},
    {2, "BST", CLASS_BST},
    {4, "CLR", CLASS_CLR},
    {8, "DRU", CLASS_DRU},
    {16, "ENC", CLASS_ENC},
    {32, "MAG", CLASS_MAG},
    {64, "MNK", CLASS_MNK},
    {128, "NEC", CLASS_NEC},
    {256, "PAL", CLASS_PAL},
    {512, "RNG", CLASS_RNG},
    {1024, "ROG", CLASS_ROG},
    {2048, "SHD", CLASS_SHD},
    {4096, "SHM", CLASS_SHM},
    {8192, "WAR", CLASS_WAR},
    {16384, "WIZ", CLASS_WIZ},
}};

// A class can use a spell when its class level is from 1 to 254.
constexpr bool IsUsableClassLevel(int level)
{
    return level >= 1 && level <= 254;
}

// The level a class search shows for the spell: the class level of the first
// selector bit, in ascending bit order, that is set in classValue and whose
// class can use the spell. 0 when there is none (always for classValue 0).
int ClassSearchLevel(const SpellStruct& spell, int classValue);

// ---- Rows ---------------------------------------------------------------------

inline constexpr int ROW_INDEX_DIGITS = 5;

// Formats one row: "%d    %s%05d" (level, name, index) for a level of 1 or
// more, "%s%05d" (name, index) for a level below 1. The name is cut so that
// the five index digits always fit into the row; index is 0..99999.
void FormatSpellRow(TextField& row, int level, const char* name, int index);

// Takes the last five characters of a row as the table index and cuts them
// off. Returns the index, or -1 (row unchanged) when the row does not end in
// five digits.
int CutRowIndex(TextField& row);

// ---- Sort orders (qsort comparators over rows of g_stringArray) ---------------

// The whole row, byte by byte as unsigned characters; ascending.
int StringComparison(const void* first, const void* second);
// The integer that starts the row; ascending: 1, -1 or 0.
int LevelComparison(const void* first, const void* second);
// The signed integer that starts the row; descending: 1 when the first is
// smaller, -1 when it is greater, 0 when equal.
int EffectComparison(const void* first, const void* second);

// Sorts the first `count` rows of g_stringArray: with StringComparison when
// classValue is 0, otherwise with LevelComparison, rows of the same level in
// the order of the table indices they carry (so in file order, whatever the
// sort routine does with equal keys).
void SortSpellRows(int count, int classValue);

// ---- The search ---------------------------------------------------------------

// Writes one row per listed spell into g_stringArray, in table order, and
// sorts them (SortSpellRows). A spell is listed when the search text occurs
// in its name (an empty text matches every name), with a class value when a
// class of the value can use it, and with an effect id other than ANY_EFFECT
// when a slot its detail window shows holds that effect. The name test
// (NameSearchText) ignores the case of the letters of Latin-1 and compares
// text and name in the encoding each is shown in.
// Returns the number of rows.
int BuildSpellRows(const char* searchText, int classValue, int effectId = ANY_EFFECT);

// Runs the search and hands each row, in list order, to
// sink(const char* label, int index): the label is the row without its index
// suffix. The label stays valid until the next search or stacking check.
// Returns the number of rows.
template <typename Sink>
int ForEachSpellRow(const char* searchText, int classValue, int effectId, Sink&& sink)
{
    const int count = BuildSpellRows(searchText, classValue, effectId);
    for (int i = 0; i < count; ++i) {
        TextField& row = g_stringArray[static_cast<std::size_t>(i)];
        const int index = CutRowIndex(row);
        if (index >= 0) sink(static_cast<const char*>(row.data()), index);
    }
    return count;
}

// The same without an effect filter.
template <typename Sink>
int ForEachSpellRow(const char* searchText, int classValue, Sink&& sink)
{
    return ForEachSpellRow(searchText, classValue, ANY_EFFECT, sink);
}
