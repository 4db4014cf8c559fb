// The effect catalogue: for each effect id from 0 to 153, its label and how
// its sentence is written.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace effects {

inline constexpr int kHighestEffectId = 153;

// How many ids from 0 to 153 have an entry (and so a label).
inline constexpr int kNumEffectEntries = kHighestEffectId + 1 - 22;

enum class EffectKind : std::uint8_t {
    None,  // no entry: the fallback line

    // Level-scaled values in one of three forms.
    Scaled,
    ScaledPercent,
    ScaledPerTick,
    ScaledCounter,

    // One line: `format` filled with the label and ...
    Text,            // nothing else
    TextBase,        // base
    TextBaseMax,     // base, max as passed
    TextSeconds,     // base milliseconds as seconds
    TextTicks,       // base ticks, and as minutes
    TextZone,        // the spell's teleport zone
    TextItem,        // the name of item `base`
    TextRace,        // the name of race `base`
    TextWeaponProc,  // base, the name of spell `base`; links to it

    // Sentences with rules of their own.
    AttackSpeed,
    Overhaste,
    DamageShield,
    Location,
    LocationOrBind,
    PlayerSize,
    SpellLimit,
};

struct EffectEntry {
    int id = -1;
    const char* label = "";
    EffectKind kind = EffectKind::None;
    const char* format = "";  // one-line kinds only
};

// The entry of an effect id; kind None for ids without one, below 0 and
// above 153.
const EffectEntry& LookUpEffect(int attrib);

// True for the kinds whose sentence names a spell and links to it; every
// other sentence has no link.
constexpr bool LinksToSpell(EffectKind kind)
{
    return kind == EffectKind::TextWeaponProc || kind == EffectKind::SpellLimit;
}

// ---- Compile-time check of the one-line formats ------------------------------

// The conversions of a printf format, one letter each ("%s (%d)" gives "sd").
struct ConversionList {
    std::array<char, 8> letters{};
    int count = 0;
    bool valid = true;

    constexpr bool Equals(std::string_view expected) const
    {
        if (!valid || static_cast<std::size_t>(count) != expected.size()) return false;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (letters[i] != expected[i]) return false;
        }
        return true;
    }
};

constexpr ConversionList ListConversions(std::string_view format)
{
    ConversionList list;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        while (i < format.size() && (format[i] == '.' || (format[i] >= '0' && format[i] <= '9'))) ++i;
        if (i == format.size()) {
            list.valid = false;
            break;
        }
        const char letter = format[i];
        if (letter == '%') continue;
        if (letter != 'd' && letter != 's' && letter != 'f') list.valid = false;
        if (list.count == static_cast<int>(list.letters.size())) {
            list.valid = false;
            break;
        }
        list.letters[static_cast<std::size_t>(list.count++)] = letter;
    }
    return list;
}

// The conversions a one-line kind fills, or nullptr for other kinds.
constexpr const char* ExpectedConversions(EffectKind kind)
{
    switch (kind) {
        case EffectKind::Text:
            return "s";
        case EffectKind::TextBase:
            return "sd";
        case EffectKind::TextBaseMax:
            return "sdd";
        case EffectKind::TextSeconds:
            return "sf";
        case EffectKind::TextTicks:
            return "sdf";
        case EffectKind::TextZone:
        case EffectKind::TextItem:
        case EffectKind::TextRace:
            return "ss";
        case EffectKind::TextWeaponProc:
            return "sds";
        default:
            return nullptr;
    }
}

}  // namespace effects
