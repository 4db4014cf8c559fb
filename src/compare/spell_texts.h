// What the detail window shows of every spell of a spell file, kept as UTF-8
// texts, so that two files can be compared after each has left the table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/spell.h"
#include "popup/spell_panel.h"

// Fields of a described spell: the panel texts in PanelText order, then the
// sentences of effect slots 1 to 12 (empty for a slot the window does not show).
inline constexpr int SLOT_FIELD_FIRST = PANEL_TEXT_COUNT;
inline constexpr int SPELL_TEXT_FIELDS = PANEL_TEXT_COUNT + NUM_EFFECT_SLOTS;

// The field's name: the exporter's panel key ("name", "duration", ...) or
// "slot 1" to "slot 12"; "" for any other number.
const char* SpellTextFieldName(int field);

// The texts of a table's spells in table order. Two allocations in all (the
// text and its offsets), none per spell.
class SpellTexts {
public:
    int Count() const { return static_cast<int>(ids_.size()); }
    int32_t Id(int index) const { return ids_[static_cast<std::size_t>(index)]; }
    std::string_view Text(int index, int field) const;
    std::string_view Name(int index) const { return Text(index, PANEL_TEXT_NAME); }

    void Clear();
    void Reserve(int spells);
    // Appends g_spellArray[index] as its detail window shows it now.
    void AddLoadedSpell(int index);

private:
    void AppendText(const char* text);

    std::vector<int32_t> ids_;
    std::vector<uint32_t> ends_;  // SPELL_TEXT_FIELDS per spell: where each text ends
    std::string text_;
};

// The level setting the texts are made at: 0 shows values as ranges over
// the levels, 1 to 65 the values at that character level.
using CompareLevel = int;

// Describes every loaded spell at the level. The table is left exactly as it
// was, including the sentences and the instant flag the effect engine caches
// in each record, and so are the level globals.
void DescribeLoadedSpells(CompareLevel level, SpellTexts& texts);

// Reads a spell file and describes its spells at the level. For that time
// the file's records stand in g_spellArray; afterwards the table, g_numSpells,
// the id index and the level globals are exactly as before. Returns the
// number of spells (at most the table's 4000; `moreLines` tells whether the
// file held more), or -1 when the file does not open, after reporting the
// same "Error" message a load gives.
int DescribeSpellFile(const char* path, CompareLevel level, SpellTexts& texts, bool* moreLines = nullptr);
