// The effect filter of the spell search: which effect ids the main window's
// effect selector offers, and whether a spell carries an effect in a slot
// that its detail window shows.
#pragma once

#include <array>

#include "data/spell.h"
#include "effects/effect_catalogue.h"

// The effect selector's value that filters nothing.
inline constexpr int ANY_EFFECT = -1;

// One entry of the effect selector: an effect id (or ANY_EFFECT) and the text
// shown for it, "Hitpoints (0)".
struct EffectSelectorEntry {
    int value;
    TextField label;
};

// "Any effect" and one entry per effect id that the catalogue labels.
inline constexpr int NUM_EFFECT_SELECTOR_VALUES = effects::kNumEffectEntries + 1;

// The selector's entries: "Any effect" first, then the labelled effect ids
// ordered by their labels (byte by byte; equal labels by id). Built once.
const std::array<EffectSelectorEntry, NUM_EFFECT_SELECTOR_VALUES>& EffectSelector();

// True when the effect id can be chosen in the selector: 0 to 153 with a
// catalogue label.
bool IsSelectableEffect(int effectId);

// True when one of the slots the detail window shows (IsSlotShown) holds the
// effect id. ANY_EFFECT matches every spell.
bool SpellHasShownEffect(const SpellStruct& spell, int effectId);
