// What a spell's detail window would show, computed without leaving traces:
// the record's cached sentences and instant flag, and the level globals, stay
// as they were.
#pragma once

#include "popup/spell_panel.h"

// The content of the detail window of g_spellArray[index] at a level setting:
// 0 shows values over the levels, 1 to 65 at that character level. Returns
// 0, or -1 when the index is not that of a loaded spell (content untouched).
int DescribeSpellSnapshot(int index, int level, SpellPanelContent& content);

// The table index the sentence of slot (0..11) of g_spellArray[index] links
// to, or -1, leaving no trace as above.
int DescribeSlotLink(int index, int slot);
