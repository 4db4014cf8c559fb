// GenerateEffectString: the level computation, then the sentence of the
// effect id from the catalogue.
#include "effects/effects.h"

#include <cstdarg>
#include <cstdio>

#include "effects/effect_catalogue.h"
#include "effects/effect_levels.h"

namespace effects {
namespace {

// Three format strings of a scaled pattern. Each is filled with the change
// word, the label and the form's values; a per-tick pattern adds the tick
// suffix last.
struct ScaledPattern {
    const char* single;  // value
    const char* level;   // value, display level
    const char* range;   // min value, min level, max value, max level
    bool perTick;
};

constexpr ScaledPattern kScaled{"%s %s by %d", "%s %s by %d (L%d)", "%s %s by %d (L%d) to %d (L%d)", false};
constexpr ScaledPattern kScaledPercent{"%s %s by %d%%", "%s %s by %d%% (L%d)",
                                       "%s %s by %d%% (L%d) to %d%% (L%d)", false};
constexpr ScaledPattern kScaledPerTick{"%s %s by %d%s", "%s %s by %d (L%d)%s",
                                       "%s %s by %d (L%d) to %d (L%d)%s", true};
// The level form has no "Counter".
constexpr ScaledPattern kScaledCounter{"%s %s Counter by %d", "%s %s by %d (L%d)",
                                       "%s %s Counter by %d (L%d) to %d (L%d)", false};

constexpr bool PatternIsWellFormed(const ScaledPattern& p)
{
    const std::string_view tail = p.perTick ? "s" : "";
    auto matches = [&tail](const char* format, std::string_view values) {
        char expected[8] = {};
        std::size_t n = 0;
        for (char c : values) expected[n++] = c;
        for (char c : tail) expected[n++] = c;
        return ListConversions(format).Equals(std::string_view(expected, n));
    };
    return matches(p.single, "ssd") && matches(p.level, "ssdd") && matches(p.range, "ssdddd");
}
static_assert(PatternIsWellFormed(kScaled) && PatternIsWellFormed(kScaledPercent) &&
              PatternIsWellFormed(kScaledPerTick) && PatternIsWellFormed(kScaledCounter));

// Everything the sentence of one slot is written from.
struct SlotContext {
    const SpellTable& table;  // where linked spells are looked up
    const SpellStruct& spell;
    const EffectEntry& entry;
    int attrib;
    int base;
    int givenMax;
    int calc;
    int duration;
    int slot;
    const LevelValues& values;
    ValueForm form;
    int displayLevel;
    TextField& text;
    int* link;
};

// Writes a formatted line into a text buffer, cut to the buffer's 259
// characters and always terminated.
[[gnu::format(printf, 2, 3)]] void FormatText(TextField& text, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
}

void SetLink(const SlotContext& c, int index)
{
    if (c.link) *c.link = index;
}

// ---- Level-scaled values ---------------------------------------------------------

void WriteScaled(const SlotContext& c, const ScaledPattern& pattern)
{
    const LevelValues& v = c.values;
    const char* word = v.isDecrease ? "Decrease" : "Increase";
    const char* suffix = c.duration > 0 ? " per tick" : "";
    switch (c.form) {
        case ValueForm::Single:
            if (pattern.perTick) {
                FormatText(c.text, pattern.single, word, c.entry.label, v.singleValue, suffix);
            } else {
                FormatText(c.text, pattern.single, word, c.entry.label, v.singleValue);
            }
            break;
        case ValueForm::Level:
            if (pattern.perTick) {
                FormatText(c.text, pattern.level, word, c.entry.label, v.levelValue, c.displayLevel, suffix);
            } else {
                FormatText(c.text, pattern.level, word, c.entry.label, v.levelValue, c.displayLevel);
            }
            break;
        case ValueForm::Range:
            if (pattern.perTick) {
                FormatText(c.text, pattern.range, word, c.entry.label, v.minValue, v.minLevel, v.maxValue,
                           v.maxLevel, suffix);
            } else {
                FormatText(c.text, pattern.range, word, c.entry.label, v.minValue, v.minLevel, v.maxValue,
                           v.maxLevel);
            }
            break;
    }
}

// The Scaled pattern, always with "Increase": a damage shield stored with a
// negative base still shields.
void WriteDamageShield(const SlotContext& c)
{
    const LevelValues& v = c.values;
    const char* label = c.entry.label;
    switch (c.form) {
        case ValueForm::Single:
            FormatText(c.text, "Increase %s by %d", label, v.singleValue);
            break;
        case ValueForm::Level:
            FormatText(c.text, "%s %s by %d (L%d)", "Increase", label, v.levelValue, c.displayLevel);
            break;
        case ValueForm::Range:
            FormatText(c.text, "Increase %s by %d (L%d) to %d (L%d)", label, v.minValue, v.minLevel,
                       v.maxValue, v.maxLevel);
            break;
    }
}

// Percentages of normal attack speed, read against 100. On a beneficial
// spell a value below 100 may be meant as an increase, and the line says so.
void WriteAttackSpeed(const SlotContext& c)
{
    const LevelValues& v = c.values;
    const char* label = c.entry.label;
    const bool beneficial = c.spell.beneficial == 1;

    if (c.form == ValueForm::Single) {
        if (beneficial && v.singleValue < 100) {
            FormatText(c.text, "Decrease %s by %d%% (possibly increase by %d%%)", label,
                       SaturatingSubtract(100, v.singleValue), v.singleValue);
        } else if (beneficial) {
            FormatText(c.text, "Increase %s by %d%%", label, SaturatingSubtract(v.singleValue, 100));
        } else {
            FormatText(c.text, "Decrease %s by %d%%", label, SaturatingSubtract(100, v.singleValue));
        }
        return;
    }
    const bool atLevel = c.form == ValueForm::Level;
    if (beneficial && v.minValue < 100) {
        if (atLevel) {
            FormatText(c.text, "Decrease %s by %d%% (L%d) (possibly increase by %d)", label,
                       SaturatingSubtract(100, v.levelValue), c.displayLevel, v.levelValue);
        } else if (v.maxValue > v.minValue) {
            FormatText(c.text, "Increase %s by %d%% (L%d) to %d%% (L%d)", label, v.minValue, v.minLevel,
                       v.maxValue, v.maxLevel);
        } else {
            FormatText(c.text, "Decrease %s by %d%% (L%d) to %d%% (L%d)", label,
                       SaturatingSubtract(100, v.minValue), v.minLevel, SaturatingSubtract(100, v.maxValue),
                       v.maxLevel);
        }
    } else if (beneficial) {
        if (atLevel) {
            FormatText(c.text, "Increase %s by %d%% (L%d)", label, SaturatingSubtract(v.levelValue, 100),
                       c.displayLevel);
        } else {
            FormatText(c.text, "Increase %s by %d%% (L%d) to %d%% (L%d)", label,
                       SaturatingSubtract(v.minValue, 100), v.minLevel, SaturatingSubtract(v.maxValue, 100),
                       v.maxLevel);
        }
    } else if (atLevel) {
        FormatText(c.text, "Decrease %s by %d%% (L%d)", label, SaturatingSubtract(100, v.levelValue),
                   c.displayLevel);
    } else {
        FormatText(c.text, "Decrease %s by %d%% (L%d) to %d%% (L%d)", label,
                   SaturatingSubtract(100, v.minValue), v.minLevel, SaturatingSubtract(100, v.maxValue),
                   v.maxLevel);
    }
}

// Bard overhaste: like attack speed, but on a beneficial spell a value below
// 100 is always an increase of that many percent.
void WriteOverhaste(const SlotContext& c)
{
    const LevelValues& v = c.values;
    const char* label = c.entry.label;
    const bool beneficial = c.spell.beneficial == 1;

    if (c.form == ValueForm::Single) {
        if (beneficial) {
            const int percent = v.singleValue < 100 ? v.singleValue : SaturatingSubtract(v.singleValue, 100);
            FormatText(c.text, "Increase %s by %d%%", label, percent);
        } else {
            FormatText(c.text, "Decrease %s by %d%%", label, SaturatingSubtract(100, v.singleValue));
        }
        return;
    }
    const bool atLevel = c.form == ValueForm::Level;
    if (beneficial) {
        // Values from 100 up count from 100; values below it are the increase.
        const int offset = v.minValue < 100 ? 0 : 100;
        if (atLevel) {
            FormatText(c.text, "Increase %s by %d%% (L%d)", label, SaturatingSubtract(v.levelValue, offset),
                       c.displayLevel);
        } else {
            FormatText(c.text, "Increase %s by %d%% (L%d) to %d%% (L%d)", label,
                       SaturatingSubtract(v.minValue, offset), v.minLevel,
                       SaturatingSubtract(v.maxValue, offset), v.maxLevel);
        }
    } else if (atLevel) {
        FormatText(c.text, "Decrease %s by %d%% (L%d)", label, SaturatingSubtract(100, v.levelValue),
                   c.displayLevel);
    } else {
        FormatText(c.text, "Decrease %s by %d%% (L%d) to %d%% (L%d)", label,
                   SaturatingSubtract(100, v.minValue), v.minLevel, SaturatingSubtract(100, v.maxValue),
                   v.maxLevel);
    }
}

// ---- One-line entries ------------------------------------------------------------

void WriteTextLine(const SlotContext& c)
{
    const EffectEntry& e = c.entry;
    TextField nameText{};
    switch (e.kind) {
        case EffectKind::Text:
            FormatText(c.text, e.format, e.label);
            break;
        case EffectKind::TextBase:
            FormatText(c.text, e.format, e.label, c.base);
            break;
        case EffectKind::TextBaseMax:
            FormatText(c.text, e.format, e.label, c.base, c.givenMax);
            break;
        case EffectKind::TextSeconds:  // base is in milliseconds
            FormatText(c.text, e.format, e.label, c.base / 1000.0);
            break;
        case EffectKind::TextTicks:  // ten ticks to the minute
            FormatText(c.text, e.format, e.label, c.base, c.base / 10.0);
            break;
        case EffectKind::TextZone:
            FormatText(c.text, e.format, e.label, c.spell.teleportZone.data());
            break;
        case EffectKind::TextItem:
            FormatText(c.text, e.format, e.label, FindItem(c.base, nameText));
            break;
        case EffectKind::TextRace:
            FormatText(c.text, e.format, e.label, FindIllusion(c.base, nameText));
            break;
        case EffectKind::TextWeaponProc:
            SetLink(c, FindSpell(c.table, c.base, nameText));
            FormatText(c.text, e.format, e.label, c.base, nameText.data());
            break;
        default:
            break;
    }
}

// ---- Special sentences -----------------------------------------------------------

// Coordinates are the bases of this slot and the two after it; slots past
// the last one count as 0.
void WriteLocation(const SlotContext& c)
{
    auto baseAfter = [&c](int offset) {
        const long long slot = static_cast<long long>(c.slot) + offset;  // no overflow for any slot
        return slot >= 0 && slot < NUM_EFFECT_SLOTS ? c.spell.base[static_cast<std::size_t>(slot)] : 0;
    };
    FormatText(c.text, "%s to Location %d, %d, %d in Zone: %s", c.entry.label, c.base, baseAfter(1),
               baseAfter(2), c.spell.teleportZone.data());
}

// Without a zone, translocation goes to the bind point.
void WriteLocationOrBind(const SlotContext& c)
{
    if (c.spell.teleportZone[0] == '\0') {
        FormatText(c.text, "%s to Bind", c.entry.label);
    } else {
        WriteLocation(c);
    }
}

// Base is a percentage of normal size.
void WritePlayerSize(const SlotContext& c)
{
    if (c.base < 100) {
        FormatText(c.text, "Decrease %s by %d%%", c.entry.label, SaturatingSubtract(100, c.base));
    } else {
        FormatText(c.text, "Increase %s by %d%%", c.entry.label, SaturatingSubtract(c.base, 100));
    }
}

// A negative base excludes the spell with the negated id.
void WriteSpellLimit(const SlotContext& c)
{
    TextField nameText{};
    if (c.base < 0) {
        SetLink(c, FindSpell(c.table, SaturatingNegate(c.base), nameText));
        FormatText(c.text, "%s - Exclude Spell: %s", c.entry.label, nameText.data());
    } else {
        SetLink(c, FindSpell(c.table, c.base, nameText));
        FormatText(c.text, "%s - Include Spell: %s", c.entry.label, nameText.data());
    }
}

void WriteFallback(const SlotContext& c)
{
    FormatText(c.text, "Effect %d (Unknown Spell Effect) (%d, %d, %d)", c.attrib, c.base, c.values.limitValue,
               c.calc);
}

// Writes the sentence of the slot's catalogue entry.
void WriteEffectSentence(const SlotContext& c)
{
    switch (c.entry.kind) {
        case EffectKind::None:
            WriteFallback(c);
            break;
        case EffectKind::Scaled:
            WriteScaled(c, kScaled);
            break;
        case EffectKind::ScaledPercent:
            WriteScaled(c, kScaledPercent);
            break;
        case EffectKind::ScaledPerTick:
            WriteScaled(c, kScaledPerTick);
            break;
        case EffectKind::ScaledCounter:
            WriteScaled(c, kScaledCounter);
            break;
        case EffectKind::Text:
        case EffectKind::TextBase:
        case EffectKind::TextBaseMax:
        case EffectKind::TextSeconds:
        case EffectKind::TextTicks:
        case EffectKind::TextZone:
        case EffectKind::TextItem:
        case EffectKind::TextRace:
        case EffectKind::TextWeaponProc:
            WriteTextLine(c);
            break;
        case EffectKind::AttackSpeed:
            WriteAttackSpeed(c);
            break;
        case EffectKind::Overhaste:
            WriteOverhaste(c);
            break;
        case EffectKind::DamageShield:
            WriteDamageShield(c);
            break;
        case EffectKind::Location:
            WriteLocation(c);
            break;
        case EffectKind::LocationOrBind:
            WriteLocationOrBind(c);
            break;
        case EffectKind::PlayerSize:
            WritePlayerSize(c);
            break;
        case EffectKind::SpellLimit:
            WriteSpellLimit(c);
            break;
    }
}

// Read in place of a record when the spell index lies outside the table.
const SpellStruct kEmptySpell{};

}  // namespace
}  // namespace effects

LevelSetting CurrentLevelSetting()
{
    return {g_levelEnable, g_displayLevel};
}

LevelSetting LevelSettingFor(int level)
{
    if (level <= 0) return {};
    return {1, level < MAX_LEVEL ? level : MAX_LEVEL};
}

int DescribeEffect(const SpellTable& table, const SpellStruct& spell, int attrib, int base, int max, int calc,
                   int duration, int slot, LevelSetting level, TextField& text, int* link)
{
    using namespace effects;
    if (link) *link = -1;
    CopyText(text, "Unknown");

    const LevelValues values =
        ComputeLevelValues(spell, base, max, calc, level.levelEnable, level.displayLevel);
    const SlotContext context{
        .table = table,
        .spell = spell,
        .entry = LookUpEffect(attrib),
        .attrib = attrib,
        .base = base,
        .givenMax = max,
        .calc = calc,
        .duration = duration,
        .slot = slot,
        .values = values,
        .form = ChooseValueForm(values, level.levelEnable, level.displayLevel),
        .displayLevel = level.displayLevel,
        .text = text,
        .link = link,
    };
    WriteEffectSentence(context);
    return 0;
}

int GenerateEffectString(int spellIndex, int attrib, int base, int max, int calc, int duration,
                         int levelEnable, int slot, TextField& text, int* link)
{
    // The level display setting is read from the globals, as for every caller.
    (void)levelEnable;

    SpellStruct* record = spellIndex >= 0 && spellIndex < MAX_SPELLS
                              ? &g_spellArray[static_cast<std::size_t>(spellIndex)]
                              : nullptr;
    DescribeEffect(LoadedTable(), record ? *record : effects::kEmptySpell, attrib, base, max, calc, duration,
                   slot, CurrentLevelSetting(), text, link);
    CacheEffectText(record, duration, slot, text);
    return 0;
}

void CacheEffectText(SpellStruct* record, int duration, int slot, const TextField& text)
{
    if (!record) return;
    if (duration == 0) record->isInstant = 1;
    if (slot >= 0 && slot < NUM_EFFECT_SLOTS) {
        TextField& cached = record->effectText[static_cast<std::size_t>(slot)];
        if (&cached != &text) cached = text;
    }
}
