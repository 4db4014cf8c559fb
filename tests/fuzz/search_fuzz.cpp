// The search row building on arbitrary names, class levels, search texts and
// class values.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "data/text_encoding.h"
#include "fuzz_support.h"
#include "list/search.h"

namespace {

constexpr int kFilledRecords = 64;

constexpr std::array<int, 10> kEdgeLevels = {INT_MIN, -1, 0, 1, 65, 66, 254, 255, 256, INT_MAX};

// Upper-cases a to z only, as the search does, cut at 259 bytes unless told.
std::string Upper(const std::string& text, bool cut = true)
{
    std::string out = cut ? text.substr(0, ::strnlen(text.c_str(), SPELL_FIELD_CHARS - 1)) : text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Whether the search lists the spell, worked out independently: text and
// name are compared as the window shows them (UTF-8, or Latin-1 read as
// UTF-8), letters a to z in either case.
bool IsListed(const SpellStruct& spell, const std::string& upperText, int classValue)
{
    if (!upperText.empty() &&
        Upper(TextToUtf8(spell.name.data()), false).find(upperText) == std::string::npos)
        return false;
    if (classValue == 0) return true;
    for (const ClassSelectorEntry& entry : kClassSelector) {
        if (entry.classIndex < 0 || (classValue & entry.value) == 0) continue;
        const int level = spell.classLevel[static_cast<std::size_t>(entry.classIndex)];
        if (level >= 1 && level <= 254) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    g_numSpells = input.ConsumeIntegralInRange<int>(-1, kFilledRecords);
    const int classValue =
        input.ConsumeBool() ? input.PickValueInArray(kClassSelector).value : input.ConsumeIntegral<int>();
    const std::string searchText = input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 40);
    TextField box;  // the search box holds 259 characters
    CopyText(box, searchText.c_str());
    // The records take whatever the input has left.
    for (int i = 0; i < kFilledRecords; ++i) {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        std::memset(static_cast<void*>(&spell), 0, sizeof spell);
        if (input.remaining_bytes() == 0) continue;
        CopyText(spell.name, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 10).c_str());
        for (int& level : spell.classLevel) {
            level = input.ConsumeBool() ? input.PickValueInArray(kEdgeLevels) : input.ConsumeIntegral<int>();
        }
    }

    std::vector<bool> seen(kFilledRecords);
    int calls = 0;
    int lastLevel = INT_MIN;
    const int count = ForEachSpellRow(box.data(), classValue, [&](const char* label, int index) {
        ++calls;
        FUZZ_CHECK(index >= 0 && index < g_numSpells);
        FUZZ_CHECK(!seen[static_cast<std::size_t>(index)]);
        seen[static_cast<std::size_t>(index)] = true;
        FUZZ_CHECK(::strnlen(label, SPELL_FIELD_CHARS) <= SPELL_FIELD_CHARS - 1 - ROW_INDEX_DIGITS);
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        if (classValue == 0) {
            // The label is the name, cut to leave room for the index.
            FUZZ_CHECK(std::strncmp(spell.name.data(), label, std::strlen(label)) == 0);
        } else {
            // The label starts with the class level; rows come by level.
            const int level = ClassSearchLevel(spell, classValue);
            FUZZ_CHECK(level >= 1 && level <= 254);
            FUZZ_CHECK(std::atoi(label) == level);
            FUZZ_CHECK(level >= lastLevel);
            lastLevel = level;
        }
    });
    FUZZ_CHECK(count == calls);

    const std::string upperText = Upper(TextToUtf8(box.data()), false);
    for (int i = 0; i < kFilledRecords; ++i) {
        const bool expected =
            i < g_numSpells && IsListed(g_spellArray[static_cast<std::size_t>(i)], upperText, classValue);
        FUZZ_CHECK(seen[static_cast<std::size_t>(i)] == expected);
    }
    return 0;
}
