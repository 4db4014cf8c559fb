#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "data/spell.h"
#include "data/spell_index.h"

std::array<SpellStruct, MAX_SPELLS> g_spellArray;
int g_numSpells = 0;
std::array<TextField, MAX_SPELLS> g_stringArray;
std::array<int, MAX_SPELLS + 1> g_intArray;
TextField g_fileName;
int g_displayLevel = MAX_LEVEL;
int g_levelEnable = 0;
std::array<int, MAX_POPUPS> g_popupHandles;
int g_nextPopup = 0;
int g_numPopups = 0;
int g_lastPopup = -1;
int g_popupX = 200;
int g_popupY = 200;

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

// The whole 2 MB pages inside a block: [first, last), empty when none.
std::pair<std::uintptr_t, std::uintptr_t> WholeHugePages(const void* data, std::size_t bytes)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
    return {first, std::max(first, last)};
}

// Sets every byte of the spell table to 0. Its whole 2 MB pages are handed
// back to the system, which gives zero-filled pages again when they are next
// touched (the table lies in zero-initialised storage that no file backs),
// so that a table never used, such as the exporter's when it compares two
// other files, is never written; the rest is cleared by hand.
void ClearSpellTable()
{
    auto* const bytes = reinterpret_cast<unsigned char*>(g_spellArray.data());
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes);
    const auto end = begin + sizeof g_spellArray;
    auto [first, last] = WholeHugePages(bytes, sizeof g_spellArray);
    if (first == last || ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) != 0)
        first = last = end;
    std::memset(bytes, 0, first - begin);
    std::memset(bytes + (last - begin), 0, end - last);
}

}  // namespace

void AdviseHugePages(void* data, std::size_t bytes)
{
    // The hint changes no byte.
    const auto [first, last] = WholeHugePages(data, bytes);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void InitGlobals()
{
    AdviseHugePages(g_spellArray.data(), sizeof g_spellArray);
    ClearSpellTable();
    g_numSpells = 0;
    ClearSpellIdIndex();
    for (auto& row : g_stringArray) row.fill('\0');
    for (std::size_t i = 0; i < g_intArray.size(); ++i) g_intArray[i] = static_cast<int>(i);
    g_fileName.fill('\0');
    g_displayLevel = MAX_LEVEL;
    g_levelEnable = 0;
    g_popupHandles.fill(-1);
    g_nextPopup = 0;
    g_numPopups = 0;
    g_lastPopup = -1;
    g_popupX = 200;
    g_popupY = 200;
}

void CopyText(TextField& dest, const char* src)
{
    std::size_t n = src ? ::strnlen(src, dest.size() - 1) : 0;
    std::memcpy(dest.data(), src ? src : "", n);
    dest[n] = '\0';
}
