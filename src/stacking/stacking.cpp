#include "stacking/stacking.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/text_rules.h"
#include "effects/effects.h"
#include "list/search.h"

namespace {

// Effects that never take part: disease counter, poison counter, current
// hitpoints, curse.
constexpr int kLeftOutEffects[] = {35, 36, 79, 116};

constexpr bool IsEmptyCharisma(int attrib, int base)
{
    return attrib == 10 && base == 0;
}

// Stacking rows: by value, largest first, and equal values in the order of
// the table indices the rows carry.
int EffectThenIndexComparison(const void* first, const void* second)
{
    const int byValue = EffectComparison(first, second);
    if (byValue != 0) return byValue;
    int value = 0;
    int a = 0;
    int b = 0;
    const char* sentence = nullptr;
    ReadStackingRow(*static_cast<const TextField*>(first), value, a, sentence);
    ReadStackingRow(*static_cast<const TextField*>(second), value, b, sentence);
    return a > b ? 1 : (a < b ? -1 : 0);
}

}  // namespace

bool IsStackingSlot(const SpellStruct& spell, int slot)
{
    if (slot < 0 || slot >= NUM_EFFECT_SLOTS || spell.isInstant != 0) return false;
    const auto k = static_cast<std::size_t>(slot);
    const int attrib = spell.attrib[k];
    if (attrib == UNUSED_EFFECT || IsEmptyCharisma(attrib, spell.base[k])) return false;
    return std::ranges::find(kLeftOutEffects, attrib) == std::end(kLeftOutEffects);
}

bool IsStackingConflict(const SpellStruct& given, const SpellStruct& other, int slot)
{
    if (slot < 0 || slot >= NUM_EFFECT_SLOTS) return false;
    const auto k = static_cast<std::size_t>(slot);
    return other.id != given.id && other.duration != 0 && !IsEmptyCharisma(other.attrib[k], other.base[k]) &&
           other.attrib[k] == given.attrib[k];
}

int StackingValue(int base, int max)
{
    if (max == 0) return base;
    if (base >= 0) return max;
    return max < 0 ? max : -max;
}

void FormatStackingRow(TextField& row, int value, int index, const char* sentence)
{
    // The numbers come first and take at most 18 characters, so cutting at
    // the end of the row only ever shortens the sentence. The '0' flags have
    // no effect beside a precision (at least five digits either way); the
    // format is kept as the rows have always been written.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    std::snprintf(row.data(), row.size(), "%+0.5d %0.5d %s", value, index, sentence ? sentence : "");
#pragma GCC diagnostic pop
}

bool ReadStackingRow(const TextField& row, int& value, int& index, const char*& sentence)
{
    const char* p = row.data();
    const char* const end = p + ::strnlen(p, row.size());
    int first = 0;
    int second = 0;
    if (!ScanInt(p, end, first) || !ScanInt(p, end, second)) return false;
    if (p < end && *p == ' ') ++p;
    value = first;
    index = second;
    sentence = p;
    return true;
}

int DescribeStackingRows(const SpellTable& table, int index, int slot, LevelSetting level,
                         std::span<TextField> rows)
{
    if (!table.Contains(index)) return 0;
    return CollectStackingRows(table, table[index], slot, level, rows, [](int, const TextField&) {});
}

void CacheStackingSentence(int index, int slot, const TextField& sentence)
{
    if (index < 0 || index >= MAX_SPELLS) return;
    // Listed spells have a duration: only the sentence is cached.
    SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    CacheEffectText(&spell, spell.duration, slot, sentence);
}

int BuildStackingRows(int index, int slot)
{
    if (index < 0 || index >= MAX_SPELLS || slot < 0 || slot >= NUM_EFFECT_SLOTS) return 0;
    return CollectStackingRows(
        LoadedTable(), g_spellArray[static_cast<std::size_t>(index)], slot, CurrentLevelSetting(),
        std::span(g_stringArray),
        [slot](int i, const TextField& sentence) { CacheStackingSentence(i, slot, sentence); });
}

void SortStackingRows(std::span<TextField> rows)
{
    std::qsort(rows.data(), rows.size(), sizeof(TextField), EffectThenIndexComparison);
}

void SortStackingRows(int count)
{
    SortStackingRows(
        std::span(g_stringArray).first(static_cast<std::size_t>(std::clamp(count, 0, MAX_SPELLS))));
}

StackingSlot LayOutStackingSlot(const SpellStruct& given, int slot, int headerTop, int rowCount)
{
    StackingSlot s;
    s.slot = slot;
    std::snprintf(s.label.data(), s.label.size(), "Slot %d: ", slot + 1);
    s.header = given.effectText[static_cast<std::size_t>(std::clamp(slot, 0, NUM_EFFECT_SLOTS - 1))].data();
    s.rowCount = std::max(rowCount, 0);
    s.lineCount = std::max(s.rowCount, 1);
    s.headerField = {headerTop, STACK_HEADER_LEFT, STACK_HEADER_WIDTH, 0};
    s.frame = {headerTop + STACK_FRAME_OFFSET, STACK_FRAME_LEFT, STACK_FRAME_WIDTH,
               STACK_FRAME_BASE_HEIGHT + STACK_LINE_STEP * s.lineCount};
    s.noConflictField = {headerTop + STACK_LINE_OFFSET + STACK_LINE_STEP, STACK_NONE_LEFT, STACK_NONE_WIDTH,
                         0};
    return s;
}

StackingLine LayOutStackingLine(const StackingSlot& slot, int row)
{
    StackingLine line;
    line.row = row;
    const int top = slot.headerField.top + STACK_LINE_OFFSET + STACK_LINE_STEP * (row + 1);
    line.nameField = {top, STACK_NAME_LEFT, STACK_NAME_WIDTH, 0};
    line.textField = {top, STACK_TEXT_LEFT, STACK_TEXT_WIDTH, 0};
    line.linkButton = {top + STACK_LINK_OFFSET, STACK_LINK_LEFT, STACK_LINK_WIDTH, STACK_LINK_HEIGHT};
    return line;
}
