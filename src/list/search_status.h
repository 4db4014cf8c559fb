// The main window's status line after a search.
#pragma once

#include "data/spell.h"

// "312 of 4000 spells": how many spells the list shows of those loaded. An
// empty list says why: no spell matches (the filter expression too, when
// `filtered`), or no spell file is loaded.
void FormatSearchStatus(TextField& status, int shown, int loaded, bool filtered = false);
