#include "list/search.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/text_encoding.h"
#include "data/text_rules.h"

namespace {

constexpr int kMaxRowChars = SPELL_FIELD_CHARS - 1;

constexpr int DecimalDigits(int value)
{
    int digits = value < 0 ? 2 : 1;  // the minus sign counts
    for (long long v = value < 0 ? -static_cast<long long>(value) : value; v >= 10; v /= 10) ++digits;
    return digits;
}

// The integer that starts a row, read the way "%d" reads it.
int ReadLeadingInt(const char* row)
{
    return ReadInt(row, row + ::strnlen(row, SPELL_FIELD_CHARS));
}

const char* RowText(const void* row)
{
    return static_cast<const TextField*>(row)->data();
}

// The table index in the last five characters of a list row.
int RowIndex(const void* row)
{
    const char* text = RowText(row);
    const std::size_t length = ::strnlen(text, SPELL_FIELD_CHARS);
    int index = 0;
    for (std::size_t i = length < ROW_INDEX_DIGITS ? 0 : length - ROW_INDEX_DIGITS; i < length; ++i)
        index = index * 10 + (text[i] - '0');
    return index;
}

// Class rows: by level, and spells of the same level in table order.
int LevelThenIndexComparison(const void* first, const void* second)
{
    const int byLevel = LevelComparison(first, second);
    if (byLevel != 0) return byLevel;
    const int a = RowIndex(first);
    const int b = RowIndex(second);
    return a > b ? 1 : (a < b ? -1 : 0);
}

}  // namespace

int ClassSearchLevel(const SpellStruct& spell, int classValue)
{
    for (const ClassSelectorEntry& entry : kClassSelector) {
        if (entry.classIndex < 0 || (classValue & entry.value) == 0) continue;
        const int level = spell.classLevel[static_cast<std::size_t>(entry.classIndex)];
        if (IsUsableClassLevel(level)) return level;
    }
    return 0;
}

void FormatSpellRow(TextField& row, int level, const char* name, int index)
{
    // Room for the level prefix and the name; the index digits always fit.
    constexpr int kRoom = kMaxRowChars - ROW_INDEX_DIGITS;
    const int nameLength = static_cast<int>(::strnlen(name, kMaxRowChars));
    if (level >= 1) {
        const int prefix = DecimalDigits(level) + 4;
        const int keep = std::clamp(kRoom - prefix, 0, nameLength);
        std::snprintf(row.data(), row.size(), "%d    %.*s%05d", level, keep, name, index);
    } else {
        const int keep = std::min(kRoom, nameLength);
        std::snprintf(row.data(), row.size(), "%.*s%05d", keep, name, index);
    }
}

int CutRowIndex(TextField& row)
{
    const std::size_t length = ::strnlen(row.data(), row.size());
    if (length == row.size() || length < ROW_INDEX_DIGITS) return -1;
    int index = 0;
    for (std::size_t i = length - ROW_INDEX_DIGITS; i < length; ++i) {
        if (row[i] < '0' || row[i] > '9') return -1;
        index = index * 10 + (row[i] - '0');
    }
    row[length - ROW_INDEX_DIGITS] = '\0';
    return index;
}

int StringComparison(const void* first, const void* second)
{
    return std::strncmp(RowText(first), RowText(second), SPELL_FIELD_CHARS);
}

int LevelComparison(const void* first, const void* second)
{
    const int a = ReadLeadingInt(RowText(first));
    const int b = ReadLeadingInt(RowText(second));
    return a > b ? 1 : (a < b ? -1 : 0);
}

int EffectComparison(const void* first, const void* second)
{
    const int a = ReadLeadingInt(RowText(first));
    const int b = ReadLeadingInt(RowText(second));
    return a < b ? 1 : (a > b ? -1 : 0);
}

void SortSpellRows(int count, int classValue)
{
    std::qsort(g_stringArray.data(), static_cast<std::size_t>(std::clamp(count, 0, MAX_SPELLS)),
               sizeof(TextField), classValue == 0 ? StringComparison : LevelThenIndexComparison);
}

int BuildSpellRows(const char* searchText, int classValue, int effectId)
{
    TextField text;
    CopyText(text, searchText);
    const NameSearchText matcher(text.data());
    const bool everyName = matcher.IsEmpty();

    const int numSpells = LoadedSpellCount();
    int count = 0;
    for (int i = 0; i < numSpells; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        if (!everyName &&
            !matcher.FoundIn({spell.name.data(), ::strnlen(spell.name.data(), spell.name.size())}))
            continue;
        const int level = ClassSearchLevel(spell, classValue);
        if (level == 0 && classValue != 0) continue;
        if (!SpellHasShownEffect(spell, effectId)) continue;
        FormatSpellRow(g_stringArray[static_cast<std::size_t>(count)], level, spell.name.data(), i);
        ++count;
    }
    SortSpellRows(count, classValue);
    return count;
}
