#include <algorithm>
#include <cstring>

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

void InitGlobals()
{
    std::memset(static_cast<void*>(g_spellArray.data()), 0, sizeof(g_spellArray));
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
