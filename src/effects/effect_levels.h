// How an effect value grows with character level: the per-level step chosen
// by a slot's formula code, the spell's lowest class level, and the values at
// the levels a sentence prints.
#pragma once

#include <climits>
#include <cstdint>

#include "data/spell.h"

namespace effects {

// ---- Integer arithmetic that saturates instead of overflowing -------------

// Truncates toward zero; values beyond the int range give its ends, NaN 0.
constexpr int SaturateToInt(double value)
{
    if (!(value == value)) return 0;
    if (value >= 2147483648.0) return INT_MAX;
    if (value <= -2147483649.0) return INT_MIN;
    return static_cast<int>(value);
}

constexpr int SaturateToInt(std::int64_t value)
{
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

constexpr int SaturatingNegate(int value)
{
    return SaturateToInt(-static_cast<std::int64_t>(value));
}

constexpr int SaturatingSubtract(int a, int b)
{
    return SaturateToInt(static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b));
}

// ---- Level computation ------------------------------------------------------

// The amount a value grows per character level for a formula code.
double PerLevelStep(int calc);

// The smallest class level from 1 to 65 of the spell, or 1 when no class
// gets it (entries of 0, below 0 and above 65 are ignored).
int LowestClassLevel(const SpellStruct& spell);

// Spell id whose uncapped growing values print the base with its sign.
inline constexpr int kFixedBaseSpellId = 1589;

// The values one slot's sentence may print. Values that a case does not
// compute stay 0.
struct LevelValues {
    bool isDecrease = false;  // base is negative
    int baseMagnitude = 0;    // base without its sign
    double perLevel = 0.0;
    int minLevel = 1;     // lowest class level
    int maxLevel = 1;     // level where the value stops growing, at most 65
    int minValue = 0;     // value at minLevel
    int maxValue = 0;     // value at maxLevel
    int levelValue = 0;   // value at the display level, never above maxValue
    int limitValue = 0;   // the max value, adjusted by the case
    int singleValue = 0;  // value printed by the single form
};

// Computes the values of one slot of `spell`. `levelEnable` and
// `displayLevel` are the level display settings.
LevelValues ComputeLevelValues(const SpellStruct& spell, int base, int max, int calc, int levelEnable,
                               int displayLevel);

// Which of the three sentence forms a scaled value is printed in.
enum class ValueForm {
    Single,  // one value
    Level,   // the value at the display level
    Range,   // from the lowest class level to the level where growth stops
};

ValueForm ChooseValueForm(const LevelValues& values, int levelEnable, int displayLevel);

}  // namespace effects
