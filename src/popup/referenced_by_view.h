// The spell window's "Referenced by:" list.
#pragma once

// Below everything the spell panel shows so far (it ends at panelHeight),
// lists the spells that refer to g_spellArray[index], each row a link that
// opens its spell window as a "Link" does; a long list scrolls. Shows nothing when no
// spell refers to it. Returns the panel's height with the list.
int ShowReferencedBy(int panel, int index, int panelHeight);
