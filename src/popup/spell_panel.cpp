#include "popup/spell_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "effects/effects.h"

namespace {

struct CodeName {
    int code;
    const char* text;
};

constexpr CodeName kTimesOfDay[] = {{0, "Any"}, {2, "Night"}};

constexpr CodeName kEnvironments[] = {{-1, "Any"}, {1, "Outdoor"}, {2, "Indoor"}};

constexpr CodeName kBeneficial[] = {{0, "Detrimental"}, {1, "Beneficial"}, {2, "Beneficial Group"}};

constexpr CodeName kResistTypes[] = {{0, "Unresistable"}, {1, "Magic"},  {2, "Fire"},
                                     {3, "Cold"},         {4, "Poison"}, {5, "Disease"}};

constexpr CodeName kSkills[] = {{4, "Abjuration"},  {5, "Alteration"}, {12, "Brass"},   {14, "Conjuration"},
                                {18, "Divination"}, {24, "Evocation"}, {41, "Singing"}, {49, "Stringed"},
                                {54, "Wind"},       {70, "Percussion"}};

constexpr CodeName kTargetTypes[] = {
    {0, "Unknown"},      {1, "Optional"},     {3, "Group V1"},   {4, "PB AE"},        {5, "Single"},
    {6, "Self"},         {8, "Targetted AE"}, {9, "Animal"},     {10, "Undead"},      {11, "Summoned"},
    {13, "Lifetap"},     {14, "Pet"},         {15, "Corpse"},    {16, "Plant"},       {17, "Uber Giant"},
    {18, "Uber Dragon"}, {20, "AE Lifetap"},  {24, "AE Undead"}, {25, "AE summoned"}, {40, "AE Bard"},
    {41, "Group V2"},
};

template <std::size_t N>
const char* CodeText(const CodeName (&table)[N], int code)
{
    const auto* it = std::ranges::find(table, code, &CodeName::code);
    return it == std::end(table) ? "Unknown" : it->text;
}

// Appends as much of `piece` as fits behind the text already in the buffer.
void Append(TextField& text, const char* piece)
{
    const std::size_t used = ::strnlen(text.data(), text.size() - 1);
    const std::size_t room = text.size() - 1 - used;
    const std::size_t n = std::min(std::strlen(piece), room);
    std::memcpy(text.data() + used, piece, n);
    text[used + n] = '\0';
}

}  // namespace

const char* TimeOfDayText(int code)
{
    return CodeText(kTimesOfDay, code);
}
const char* EnvironmentText(int code)
{
    return CodeText(kEnvironments, code);
}
const char* BeneficialText(int code)
{
    return CodeText(kBeneficial, code);
}
const char* ResistTypeText(int code)
{
    return CodeText(kResistTypes, code);
}
const char* SkillText(int code)
{
    return CodeText(kSkills, code);
}
const char* TargetTypeText(int code)
{
    return CodeText(kTargetTypes, code);
}

void FormatDuration(int ticks, TextField& text)
{
    if (ticks == 0) {
        CopyText(text, "Instant");
    } else {
        std::snprintf(text.data(), text.size(), "%d ticks (%0.1f minutes)", ticks, ticks / 10.0);
    }
}

void FormatComponents(const SpellStruct& spell, TextField& text)
{
    text[0] = '\0';
    bool first = true;
    for (std::size_t i = 0; i < NUM_REAGENTS; ++i) {
        if (spell.reagentId[i] <= 0) continue;
        if (!first) Append(text, ", ");
        first = false;
        TextField name{};
        FindItem(spell.reagentId[i], name);
        // Room for the longest name and count; Append cuts what does not fit.
        std::array<char, SPELL_FIELD_CHARS + 16> piece{};
        std::snprintf(piece.data(), piece.size(), "%s (%d)", name.data(), spell.reagentCount[i]);
        Append(text, piece.data());
    }
}

void FormatClasses(const SpellStruct& spell, TextField& text)
{
    text[0] = '\0';
    for (std::size_t c = 0; c < NUM_CLASSES; ++c) {
        if (spell.classLevel[c] >= CLASS_LEVEL_NONE) continue;
        std::array<char, 24> piece{};
        std::snprintf(piece.data(), piece.size(), "%s(%d) ", kClassAbbreviations[c], spell.classLevel[c]);
        Append(text, piece.data());
    }
}

int DescribeSpellPanel(const SpellTable& table, int index, LevelSetting level, SpellPanelContent& content)
{
    if (!table.Contains(index)) return -1;
    const SpellStruct& spell = table[index];
    auto& t = content.texts;

    auto number = [&t](PanelText which, int value) {
        std::snprintf(t[which].data(), t[which].size(), "%d", value);
    };
    auto seconds = [&t](PanelText which, double value) {
        std::snprintf(t[which].data(), t[which].size(), "%0.2f", value);
    };

    number(PANEL_TEXT_ID, spell.id);
    CopyText(t[PANEL_TEXT_NAME], spell.name.data());
    number(PANEL_TEXT_COL19, spell.col19);
    number(PANEL_TEXT_COL9, spell.col9);
    FormatDuration(spell.duration, t[PANEL_TEXT_DURATION]);
    seconds(PANEL_TEXT_SECONDS13, spell.seconds13);
    seconds(PANEL_TEXT_SECONDS14, spell.seconds14);
    seconds(PANEL_TEXT_SECONDS15, spell.seconds15);
    number(PANEL_TEXT_COL10, spell.col10);
    CopyText(t[PANEL_TEXT_TIME_OF_DAY], TimeOfDayText(spell.timeOfDay));
    CopyText(t[PANEL_TEXT_ENVIRONMENT], EnvironmentText(spell.environment));

    TextField linkedName{};
    const int linked = FindSpell(table, spell.linkedSpell, linkedName);
    if (spell.linkedSpell >= 0 && linked >= 0) {
        t[PANEL_TEXT_LINKED_SPELL] = linkedName;
        content.linkedSpellIndex = linked;
        content.linkedSpellButton = true;
    } else {
        CopyText(t[PANEL_TEXT_LINKED_SPELL], "None");
        content.linkedSpellIndex = -1;
        content.linkedSpellButton = false;
    }

    CopyText(t[PANEL_TEXT_MESSAGE1], spell.message1.data());
    CopyText(t[PANEL_TEXT_MESSAGE2], spell.message2.data());
    CopyText(t[PANEL_TEXT_MESSAGE3], spell.message3.data());
    number(PANEL_TEXT_COL18, spell.col18);
    number(PANEL_TEXT_COL11, spell.col11);
    FormatComponents(spell, t[PANEL_TEXT_COMPONENTS]);
    FormatClasses(spell, t[PANEL_TEXT_CLASSES]);
    CopyText(t[PANEL_TEXT_SKILL], SkillText(spell.skill));
    CopyText(t[PANEL_TEXT_BENEFICIAL], BeneficialText(spell.beneficial));
    CopyText(t[PANEL_TEXT_RESIST_TYPE], ResistTypeText(spell.resistType));
    CopyText(t[PANEL_TEXT_TARGET_TYPE], TargetTypeText(spell.targetType));
    number(PANEL_TEXT_COL147, spell.col147);

    // Effect rows: one per shown slot, keeping the slot's own number.
    int rowTop = ROW_FIRST_TOP - ROW_STEP;
    content.rowCount = 0;
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (!IsSlotShown(spell, slot)) continue;
        rowTop += ROW_STEP;
        const auto k = static_cast<std::size_t>(slot);
        EffectRowContent& row = content.rows[static_cast<std::size_t>(content.rowCount++)];
        row.slot = slot;
        std::snprintf(row.label.data(), row.label.size(), "Slot %d:", slot + 1);
        row.field = {rowTop, ROW_LEFT, ROW_WIDTH, 0};
        row.labelLeft = ROW_LEFT - ROW_LABEL_OFFSET;
        row.text[0] = '\0';
        int link = -1;
        DescribeEffect(table, spell, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k],
                       spell.duration, slot, level, row.text, &link);
        // A link button passes &g_intArray[link + 1], so the link must be a
        // record of the table.
        if (table.Contains(link)) {
            row.linkIndex = link;
            row.linkButton = {rowTop + 2, 15, 20, 8};
        } else {
            row.linkIndex = -1;
            row.linkButton = {};
        }
    }

    // The stacking check needs a spell with a duration: one whose sentences
    // are (or were earlier) generated as instant gets no button and a
    // shorter panel.
    content.stackingButton = !IsInstantAfterDescribing(spell);
    if (content.stackingButton) {
        content.stacking = {rowTop + 32, 265, 70, 30};
        content.panelHeight = rowTop + 95;
        content.frameHeight = rowTop - 255;
    } else {
        content.stacking = {};
        content.panelHeight = rowTop + 50;
        content.frameHeight = rowTop - 300;
    }
    return 0;
}

bool IsInstantAfterDescribing(const SpellStruct& spell)
{
    if (spell.isInstant != 0) return true;
    if (spell.duration != 0) return false;
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (IsSlotShown(spell, slot)) return true;
    }
    return false;
}

int BuildSpellPanelContent(int index, SpellPanelContent& content)
{
    if (!IsLoadedIndex(index)) return -1;
    DescribeSpellPanel(LoadedTable(), index, CurrentLevelSetting(), content);
    // Filling the window generates the sentences of the record: they stay
    // cached in it, and a spell without a duration becomes instant.
    SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        CacheEffectText(&spell, spell.duration, row.slot, row.text);
    }
    return 0;
}
