#include "list/search.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/text_encoding.h"
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

// A search text as it must occur in a name. Names are shown as UTF-8 when
// they are valid UTF-8 and as Latin-1 otherwise, so the text is compared in
// the encoding of each name: as UTF-8 with a UTF-8 name, as Latin-1 with a
// Latin-1 one. Only the letters a to z are upper-cased, in both.
class NameMatcher {
public:
    explicit NameMatcher(const char* searchText)
    {
        // A text that is not UTF-8 reads as Latin-1, as a name does.
        TextToUtf8(searchText, utf8_.data(), utf8_.size());
        hasLatin1_ = Utf8ToLatin1(utf8_.data(), latin1_.data(), latin1_.size());
        UpperCaseInPlace(utf8_.data());
        UpperCaseInPlace(latin1_.data());
        ascii_ = true;
        for (const char* p = utf8_.data(); *p != '\0'; ++p)
            ascii_ = ascii_ && static_cast<unsigned char>(*p) < 0x80;
    }

    bool MatchesEveryName() const { return utf8_[0] == '\0'; }

    // `upperName` is the name upper-cased like the text.
    bool Matches(const char* upperName) const
    {
        // ASCII reads the same in both encodings.
        if (ascii_ || IsValidUtf8(upperName, ::strnlen(upperName, SPELL_FIELD_CHARS)))
            return std::strstr(upperName, utf8_.data()) != nullptr;
        return hasLatin1_ && std::strstr(upperName, latin1_.data()) != nullptr;
    }

private:
    std::array<char, 2 * SPELL_FIELD_CHARS> utf8_{};
    TextField latin1_{};
    bool hasLatin1_ = false;
    bool ascii_ = true;
};

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

int BuildSpellRows(const char* searchText, int classValue, int effectId, const SpellCondition* condition)
{
    TextField text;
    CopyText(text, searchText);
    const NameMatcher matcher(text.data());
    const bool everyName = matcher.MatchesEveryName();

    const int numSpells = LoadedSpellCount();
    int count = 0;
    TextField name;
    for (int i = 0; i < numSpells; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        if (!everyName) {
            UpperCaseCopy(name, spell.name.data());
            if (!matcher.Matches(name.data())) continue;
        }
        const int level = ClassSearchLevel(spell, classValue);
        if (level == 0 && classValue != 0) continue;
        if (!SpellHasShownEffect(spell, effectId)) continue;
        if (condition && !condition->Matches(i)) continue;
        FormatSpellRow(g_stringArray[static_cast<std::size_t>(count)], level, spell.name.data(), i);
        ++count;
    }
    SortSpellRows(count, classValue);
    return count;
}
