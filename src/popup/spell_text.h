// A spell as its detail window shows it, written to be shared: each caption
// with its text in the window's order, then the level setting and the
// effect rows. "Copy" on a spell window and `rivizuzi-export --describe`
// give exactly this.
#pragma once

#include <string>

#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "share/text_formats.h"

// Appends the content, made at the level setting `level`, in the format:
//  - Text: one line per text, "Name: Ember Ward", then "Effects (values
//    over levels):" and one line per row, "Slot 1: Increase Hitpoints ...".
//  - Markdown and HTML: a table of two columns, caption and text, whose
//    header row is the name; then the row "Effects" with the level setting
//    and one row per effect row. HTML is a fragment: the table alone.
void WriteSpellText(const SpellPanelContent& content, LevelSetting level, TextFormat format,
                    std::string& out);

// Fills `content` with what the detail window of loaded spell `index` shows
// at the main window's level setting, changing nothing else. Returns 0, or
// -1 when the index is not that of a loaded spell.
int DescribeLoadedSpell(int index, SpellPanelContent& content);
