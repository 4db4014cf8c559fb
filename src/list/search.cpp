#include "list/search.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "list/upper_case.h"

namespace {

constexpr int kMaxRowChars = SPELL_FIELD_CHARS - 1;

constexpr int DecimalDigits(int value)
{
    int digits = value < 0 ? 2 : 1;  // the minus sign counts
    for (long long v = value < 0 ? -static_cast<long long>(value) : value; v >= 10; v /= 10) ++digits;
    return digits;
}

constexpr bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The integer that starts a row, read the way "%d" reads it: leading white
// space, an optional sign, digits. No digits give 0; values beyond the int
// range stop at its ends.
int ReadLeadingInt(const char* row)
{
    const char* p = row;
    const char* const end = row + ::strnlen(row, SPELL_FIELD_CHARS);
    while (p < end && IsSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

const char* RowText(const void* row)
{
    return static_cast<const TextField*>(row)->data();
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

int BuildSpellRows(const char* searchText, int classValue, int effectId)
{
    TextField text;
    UpperCaseCopy(text, searchText);
    const bool everyName = text[0] == '\0';

    const int numSpells = std::clamp(g_numSpells, 0, MAX_SPELLS);
    int count = 0;
    TextField name;
    for (int i = 0; i < numSpells; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        if (!everyName) {
            UpperCaseCopy(name, spell.name.data());
            if (std::strstr(name.data(), text.data()) == nullptr) continue;
        }
        const int level = ClassSearchLevel(spell, classValue);
        if (level == 0 && classValue != 0) continue;
        if (!SpellHasShownEffect(spell, effectId)) continue;
        FormatSpellRow(g_stringArray[static_cast<std::size_t>(count)], level, spell.name.data(), i);
        ++count;
    }
    std::qsort(g_stringArray.data(), static_cast<std::size_t>(count), sizeof(TextField),
               classValue == 0 ? StringComparison : LevelComparison);
    return count;
}
