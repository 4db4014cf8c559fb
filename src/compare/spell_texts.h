// What the detail window shows of every spell of a spell file, kept as UTF-8
// texts, so that two files can be compared after each has left the table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/side_by_side.h"
#include "data/spell.h"
#include "data/spell_index.h"
#include "data/spell_table.h"
#include "effects/effects.h"
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
    // Appends table[index] as its detail window shows it at the level.
    void AddSpell(const SpellTable& table, int index, LevelSetting level);
    // Appends every spell of `other`, after those already held.
    void Append(const SpellTexts& other);

private:
    void AppendText(const char* text);

    std::vector<int32_t> ids_;
    std::vector<uint32_t> ends_;  // SPELL_TEXT_FIELDS per spell: where each text ends
    std::string text_;
};

// The level setting the texts are made at: 0 shows values as ranges over
// the levels, 1 to 65 the values at that character level.
using CompareLevel = int;

// Describes every spell of the table at the level, replacing what `texts`
// held. Writes only `texts`. With `threads` above 1 the table is shared out
// among that many threads (the texts are the same).
void DescribeSpells(const SpellTable& table, CompareLevel level, SpellTexts& texts, int threads = 1);

// Describes every loaded spell at the level. The table, the records'
// cached sentences and instant flags, and the level globals are left alone.
void DescribeLoadedSpells(CompareLevel level, SpellTexts& texts);

// A spell file read into records of its own, with an id index of its own:
// the loaded table and its globals are not touched.
class SpellFile {
public:
    // Reads the file. Returns the number of spells (at most the table's
    // 4000; MoreLines() tells whether the file held more), or -1 when the
    // file does not open, after reporting the same "Error" message a load
    // gives (so call it on the thread that may show messages).
    int Read(const char* path);
    SpellTable Table() const { return {records_.get(), count_, ids_.get()}; }
    bool MoreLines() const { return moreLines_; }

private:
    struct FreeRecords {
        void operator()(SpellStruct* records) const;
    };
    std::unique_ptr<SpellStruct[], FreeRecords> records_;
    std::unique_ptr<SpellIdIndex> ids_;
    int count_ = 0;
    bool moreLines_ = false;
};

// Reads a spell file and describes its spells at the level, from a buffer
// and an id index of its own. Returns what SpellFile::Read returns; `texts`
// is empty when the file does not open.
int DescribeSpellFile(const char* path, CompareLevel level, SpellTexts& texts, bool* moreLines = nullptr);
