// The stacking check, computed without any window: for one spell, which
// other spells put the same effect into the same effect slot, with their
// values sorted largest first, and where the stacking panel shows each part.
// StackingCallback draws this content; the exporter prints it.
//
// While one slot is worked on, each listed spell is one scratch row,
// "%+0.5d %0.5d %s": the value, the spell's table index and its effect
// sentence. The rows are sorted with EffectComparison and read back in that
// order. DescribeStacking checks any table at any level and writes only its
// scratch rows; ForEachStackingSlot, for the loaded table at the main
// window's level, uses g_stringArray and caches the listed sentences in the
// records, as the stacking window always has.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "data/spell.h"
#include "data/spell_table.h"
#include "effects/effects.h"
#include "popup/panel_rect.h"

// ---- Layout of the stacking panel (pixels of its scrolling canvas) ----------

inline constexpr int STACK_FIRST_HEADER_TOP = 25;
inline constexpr int STACK_HEADER_GAP = 50;   // below the previous slot's last line
inline constexpr int STACK_LINE_OFFSET = 20;  // line r (1, 2, ...) at header + 20 + 25r
inline constexpr int STACK_LINE_STEP = 25;

inline constexpr int STACK_HEADER_LEFT = 100;
inline constexpr int STACK_HEADER_WIDTH = 600;
inline constexpr int STACK_HEADER_POINTS = 16;

inline constexpr int STACK_FRAME_LEFT = 30;
inline constexpr int STACK_FRAME_OFFSET = 30;  // below the header top
inline constexpr int STACK_FRAME_WIDTH = 675;
inline constexpr int STACK_FRAME_BASE_HEIGHT = 30;  // plus 25 a line
inline constexpr int STACK_FRAME_COLOR = 0x000080;

inline constexpr int STACK_LINK_LEFT = 40;
inline constexpr int STACK_LINK_OFFSET = 2;  // below the line top
inline constexpr int STACK_LINK_WIDTH = 20;
inline constexpr int STACK_LINK_HEIGHT = 8;
inline constexpr int STACK_LINK_POINTS = 8;
inline constexpr int STACK_LINK_LABEL_COLOR = 0xFFFFFF;
inline constexpr int STACK_LINK_COLOR = 0x008000;

inline constexpr int STACK_NAME_LEFT = 70;
inline constexpr int STACK_NAME_WIDTH = 220;
inline constexpr int STACK_TEXT_LEFT = 290;
inline constexpr int STACK_TEXT_WIDTH = 415;
inline constexpr int STACK_NONE_LEFT = 80;
inline constexpr int STACK_NONE_WIDTH = 300;

inline constexpr const char* kNoStackingConflicts = "No stacking conflicts";

// ---- The rules ----------------------------------------------------------------

// True when slot (0..11) of the given spell takes part in the check: not
// unused, not effect 10 with base 0, not a counter, current hitpoints or
// curse effect (35, 36, 79, 116), and the spell's isInstant is 0.
bool IsStackingSlot(const SpellStruct& spell, int slot);

// True when `other` is listed for slot (0..11) of `given`: another id, a
// duration, not effect 10 with base 0 there, and the same effect id in the
// slot of the same number.
bool IsStackingConflict(const SpellStruct& given, const SpellStruct& other, int slot);

// The value a listed spell shows for its slot: base when max is 0, max when
// base is 0 or more, otherwise minus the magnitude of max.
int StackingValue(int base, int max);

// ---- Rows -----------------------------------------------------------------------

// Writes "%+0.5d %0.5d %s". A row holds 259 characters: a sentence too long
// for the rest is cut, the value and the index are always whole.
void FormatStackingRow(TextField& row, int value, int index, const char* sentence);

// Reads a row back: the value, the index and the sentence (everything after
// the second number and the blank behind it; it points into the row).
// Returns false when the row does not start with two numbers.
bool ReadStackingRow(const TextField& row, int& value, int& index, const char*& sentence);

// Sorts rows with EffectComparison, rows of the same value in the order of
// the table indices they carry (so in file order, whatever the sort routine
// does with equal keys).
void SortStackingRows(std::span<TextField> rows);

// Sorts the first `count` rows of g_stringArray the same way.
void SortStackingRows(int count);

// Writes into `rows` one row per spell of the table listed for slot (0..11)
// of `given`, in table order, describing each listed spell's slot at the
// level, and sorts them (SortStackingRows). onSentence(index, sentence) sees
// each listed spell's table index and whole sentence (a row may cut it).
// Rows beyond the room of `rows` are not kept (a table's count of rows is
// always enough). Returns the number of rows.
template <typename OnSentence>
int CollectStackingRows(const SpellTable& table, const SpellStruct& given, int slot, LevelSetting level,
                        std::span<TextField> rows, OnSentence&& onSentence)
{
    if (slot < 0 || slot >= NUM_EFFECT_SLOTS) return 0;
    const auto k = static_cast<std::size_t>(slot);
    std::size_t count = 0;
    TextField sentence;
    for (int i = 0; i < table.count && count < rows.size(); ++i) {
        const SpellStruct& other = table[i];
        if (!IsStackingConflict(given, other, slot)) continue;
        sentence[0] = '\0';
        DescribeEffect(table, other, other.attrib[k], other.base[k], other.max[k], other.calc[k],
                       other.duration, slot, level, sentence, nullptr);
        onSentence(i, sentence);
        FormatStackingRow(rows[count++], StackingValue(other.base[k], other.max[k]), i, sentence.data());
    }
    SortStackingRows(rows.first(count));
    return static_cast<int>(count);
}

// The rows of slot (0..11) of table[index], with nothing else to do.
int DescribeStackingRows(const SpellTable& table, int index, int slot, LevelSetting level,
                         std::span<TextField> rows);

// Fills g_stringArray with the rows of slot (0..11) of g_spellArray[index]
// (0 <= index < MAX_SPELLS) among the loaded spells at the main window's
// level setting, and caches each listed spell's sentence in its effectText,
// as GenerateEffectString does. Returns the number of rows.
int BuildStackingRows(int index, int slot);

// ---- The panel's content, slot by slot ----------------------------------------

struct StackingSlot {
    int slot = 0;          // 0..11; the header's label shows slot + 1
    TextField label{};     // "Slot %d: "
    const char* header{};  // the given spell's cached effectText[slot]
    int rowCount = 0;      // listed spells
    int lineCount = 0;     // rowCount, or 1 for the "No stacking conflicts" line
    PanelRect headerField;
    PanelRect frame;
    PanelRect noConflictField;  // used when rowCount is 0
};

struct StackingLine {
    int row = 0;  // 0-based position in the sorted rows
    int value = 0;
    int index = 0;       // the listed spell's table index
    const char* name{};  // its name
    const char* text{};  // its sentence as the row holds it
    PanelRect nameField;
    PanelRect textField;
    PanelRect linkButton;
};

// Caches a listed spell's sentence in g_spellArray[index].effectText[slot],
// as generating it with GenerateEffectString does.
void CacheStackingSentence(int index, int slot, const TextField& sentence);

// Lays out one taking-part slot whose header stands at headerTop and which
// has rowCount rows.
StackingSlot LayOutStackingSlot(const SpellStruct& given, int slot, int headerTop, int rowCount);

// Lays out row r (0-based) of a slot; value, index and texts stay empty.
StackingLine LayOutStackingLine(const StackingSlot& slot, int row);

// Top of the next header below a slot.
constexpr int NextStackingHeaderTop(const StackingSlot& slot)
{
    return slot.headerField.top + STACK_LINE_OFFSET + STACK_LINE_STEP * slot.lineCount + STACK_HEADER_GAP;
}

// The check of `given` against the table at the level: for each taking-part
// slot in slot order, onSlot(const StackingSlot&) once, then
// onLine(const StackingSlot&, const StackingLine&) for each row in sorted
// order; onSentence(index, slot, sentence) for each listed spell before its
// slot is shown. `rows` is the scratch the rows are written to (room for
// table.count rows lists every spell). The texts stay valid until the next
// slot is worked on. Returns the number of slots shown.
template <typename OnSlot, typename OnLine, typename OnSentence>
int CheckStacking(const SpellTable& table, const SpellStruct& given, LevelSetting level,
                  std::span<TextField> rows, OnSlot&& onSlot, OnLine&& onLine, OnSentence&& onSentence)
{
    int shown = 0;
    int headerTop = STACK_FIRST_HEADER_TOP;
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        if (!IsStackingSlot(given, k)) continue;
        const int rowCount = CollectStackingRows(
            table, given, k, level, rows,
            [&](int index, const TextField& sentence) { onSentence(index, k, sentence); });
        const StackingSlot slot = LayOutStackingSlot(given, k, headerTop, rowCount);
        onSlot(slot);
        for (int r = 0; r < rowCount; ++r) {
            StackingLine line = LayOutStackingLine(slot, r);
            const TextField& row = rows[static_cast<std::size_t>(r)];
            if (!ReadStackingRow(row, line.value, line.index, line.text)) continue;
            if (!table.Contains(line.index)) continue;
            line.name = table[line.index].name.data();
            onLine(slot, line);
        }
        headerTop = NextStackingHeaderTop(slot);
        ++shown;
    }
    return shown;
}

// The stacking check of table[index] at the level, with `rows` as scratch.
// Reads only its arguments: the slot headers are the given record's cached
// effectText. Returns the number of slots shown, or -1 when the index is not
// in the table.
template <typename OnSlot, typename OnLine>
int DescribeStacking(const SpellTable& table, int index, LevelSetting level, std::span<TextField> rows,
                     OnSlot&& onSlot, OnLine&& onLine)
{
    if (!table.Contains(index)) return -1;
    return CheckStacking(table, table[index], level, rows, onSlot, onLine, [](int, int, const TextField&) {});
}

// The same with scratch rows of its own, allocated once for the call.
template <typename OnSlot, typename OnLine>
int DescribeStacking(const SpellTable& table, int index, LevelSetting level, OnSlot&& onSlot, OnLine&& onLine)
{
    if (!table.Contains(index)) return -1;
    std::vector<TextField> rows(static_cast<std::size_t>(table.count));
    return DescribeStacking(table, index, level, std::span(rows), onSlot, onLine);
}

// Runs the check for g_spellArray[index] (0 <= index < MAX_SPELLS) among the
// loaded spells at the main window's level setting, with g_stringArray as
// the rows, caching each listed spell's sentence in its effectText. Returns
// the number of slots shown, or -1 when index is outside the table.
template <typename OnSlot, typename OnLine>
int ForEachStackingSlot(int index, OnSlot&& onSlot, OnLine&& onLine)
{
    if (index < 0 || index >= MAX_SPELLS) return -1;
    return CheckStacking(LoadedTable(), g_spellArray[static_cast<std::size_t>(index)], CurrentLevelSetting(),
                         std::span(g_stringArray), onSlot, onLine, CacheStackingSentence);
}
