// The exporter's "panel" object: the texts a spell's detail window shows in
// its fixed elements, keyed by the record field each one shows.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "popup/spell_panel.h"

// Appends the object as JSON text. Keys in this order: id, name, col19,
// col9, duration, seconds13, seconds14, seconds15, col10, timeOfDay,
// environment, linkedSpell, message1, message2, message3, col18, col11,
// reagentId (the components text), classLevel (the class text), skill,
// beneficial, resistType, targetType, col147, each with exactly the text the
// window shows (as UTF-8); then linkedSpellIndex (the linked spell's table
// index or -1), stacking (true when the window has the "Stacking" button) and
// referencedBy (the table indexes of the spells that refer to this one).
void AppendPanelJson(std::string& out, const SpellPanelContent& content,
                     std::span<const int16_t> referencedBy);

// The "panel" object of g_spellArray[index] (generating its effect sentences
// as the window does), or null when the index is not that of a loaded spell.
nlohmann::ordered_json BuildPanelJson(int index);
