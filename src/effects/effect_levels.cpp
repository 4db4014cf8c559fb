#include "effects/effect_levels.h"

namespace effects {

double PerLevelStep(int calc)
{
    if (calc <= 98) return static_cast<double>(calc);
    if (calc >= 200) return 0.0;
    switch (calc) {
        case 99:
        case 100:
        case 107:
        case 108:
            return 0.0;
        case 101:
        case 121:
            return 0.5;
        case 109:
            return 0.25;
        case 110:
            return 0.2;
        case 119:
            return 0.15;
        default:
            break;
    }
    if (calc <= 106) return static_cast<double>(calc - 101);  // 102..106: 1 to 5 a level
    return 1.0 / static_cast<double>(calc - 105);             // 111..118, 120, 122..199
}

int LowestClassLevel(const SpellStruct& spell)
{
    int lowest = MAX_LEVEL + 1;
    for (int level : spell.classLevel) {
        if (level > 0 && level < lowest) lowest = level;
    }
    return lowest > MAX_LEVEL ? 1 : lowest;
}

namespace {

// start + level * step, each step rounded to double, truncated toward zero.
int ValueAtLevel(double start, int level, double perLevel)
{
    const double growth = static_cast<double>(level) * perLevel;
    const double sum = start + growth;
    return SaturateToInt(sum);
}

}  // namespace

LevelValues ComputeLevelValues(const SpellStruct& spell, int base, int max, int calc, int levelEnable,
                               int displayLevel)
{
    LevelValues v;
    v.isDecrease = base < 0;
    v.baseMagnitude = v.isDecrease ? SaturatingNegate(base) : base;
    v.perLevel = PerLevelStep(calc);
    const double magnitude = static_cast<double>(v.baseMagnitude);

    // A fixed value: nothing grows, the single form prints it.
    if (max == 0 && calc == 100) {
        v.minLevel = v.maxLevel = 1;
        v.limitValue = v.singleValue = v.baseMagnitude;
        return v;
    }

    v.minLevel = LowestClassLevel(spell);

    // Growth without a cap: up to level 65.
    if (max == 0) {
        v.maxLevel = v.perLevel == 0.0 ? 1 : MAX_LEVEL;
        v.limitValue = 0;
        if (spell.id == kFixedBaseSpellId) {
            v.minValue = v.maxValue = v.limitValue = base;
        } else {
            v.minValue = ValueAtLevel(magnitude, v.minLevel, v.perLevel);
            v.maxValue = ValueAtLevel(magnitude, v.maxLevel, v.perLevel);
            if (levelEnable != 0) {
                v.levelValue = ValueAtLevel(magnitude, displayLevel, v.perLevel);
                if (v.levelValue > v.maxValue) v.levelValue = v.maxValue;
            }
        }
        if (v.minValue == v.maxValue) v.maxLevel = v.minLevel;
        v.singleValue = v.minValue;
        return v;
    }

    // Growth up to a cap (max > 0), or towards a negative max.
    if (v.perLevel == 0.0) {
        v.maxLevel = 1;
    } else {
        const double span = static_cast<double>(max) - magnitude;
        v.maxLevel = SaturateToInt(span / v.perLevel);
        if (v.maxLevel > MAX_LEVEL) v.maxLevel = MAX_LEVEL;
    }
    v.minValue = ValueAtLevel(magnitude, v.minLevel, v.perLevel);
    if (max > 0) {
        v.maxValue = ValueAtLevel(magnitude, v.maxLevel, v.perLevel);
        v.limitValue = max;
    } else if (v.isDecrease) {
        v.maxValue = ValueAtLevel(-static_cast<double>(max), v.maxLevel, v.perLevel);
        v.limitValue = SaturatingNegate(max);
    } else {
        v.maxValue = ValueAtLevel(static_cast<double>(max), v.maxLevel, v.perLevel);
        v.limitValue = max;
    }
    if (levelEnable != 0) {
        v.levelValue = ValueAtLevel(magnitude, displayLevel, v.perLevel);
        if (v.levelValue > v.maxValue) v.levelValue = v.maxValue;
    }
    v.singleValue = v.limitValue;
    return v;
}

ValueForm ChooseValueForm(const LevelValues& values, int levelEnable, int displayLevel)
{
    if (values.maxLevel <= values.minLevel) return ValueForm::Single;
    if (levelEnable != 0 && displayLevel >= values.minLevel) return ValueForm::Level;
    return ValueForm::Range;
}

}  // namespace effects
