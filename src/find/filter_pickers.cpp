#include "find/filter_pickers.h"

#include <algorithm>

#include "data/text_encoding.h"
#include "effects/effect_catalogue.h"
#include "effects/effects.h"
#include "find/filter_query.h"
#include "popup/spell_panel.h"

const std::array<FilterPicker, NUM_FILTER_PICKERS>& FilterPickers()
{
    static constexpr std::array<FilterPicker, NUM_FILTER_PICKERS> kPickers = {{
        {"Target type", "targetType", false, &SpellStruct::targetType, TargetTypeText},
        {"Resist type", "resistType", false, &SpellStruct::resistType, ResistTypeText},
        {"Skill", "skill", false, &SpellStruct::skill, SkillText},
        {"Kind", "beneficial", false, &SpellStruct::beneficial, BeneficialText},
        {"Time of day", "timeOfDay", false, &SpellStruct::timeOfDay, TimeOfDayText},
        {"Environment", "environment", false, &SpellStruct::environment, EnvironmentText},
        {"Effect text", "text", true, nullptr, nullptr},
    }};
    return kPickers;
}

std::vector<std::string> FilterPickerValues(int picker)
{
    std::vector<std::string> values;
    if (picker < 0 || picker >= NUM_FILTER_PICKERS) return values;
    const FilterPicker& p = FilterPickers()[static_cast<std::size_t>(picker)];
    const int count = LoadedSpellCount();
    for (int i = 0; i < count; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        if (p.code) {
            values.emplace_back(p.text(spell.*p.code));
            continue;
        }
        for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
            const char* label = effects::LookUpEffect(spell.attrib[static_cast<std::size_t>(slot)]).label;
            if (IsSlotShown(spell, slot) && label[0] != '\0') values.emplace_back(label);
        }
        // Keep the list short while it grows: most spells repeat the same few.
        if (values.size() > 4096) {
            std::ranges::sort(values);
            values.erase(std::unique(values.begin(), values.end()), values.end());
        }
    }
    std::ranges::sort(values);
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::string FilterPickerCondition(int picker, std::string_view value)
{
    if (picker < 0 || picker >= NUM_FILTER_PICKERS) return {};
    const FilterPicker& p = FilterPickers()[static_cast<std::size_t>(picker)];
    std::string condition = p.field;
    condition += p.contains ? " ~ " : " = ";
    condition += QuoteFilterString(value);
    return condition;
}

std::string AddFilterCondition(std::string_view expression, std::string_view condition)
{
    const std::size_t first = expression.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string_view::npos) return std::string(condition);
    const std::size_t last = expression.find_last_not_of(" \t\r\n\f\v");
    const std::string_view kept = expression.substr(first, last - first + 1);
    FilterQuery query;
    FilterError error;
    const bool topOr =
        query.Parse(kept, error) && !query.IsEmpty() && query.Node(query.Root()).kind == FilterNode::Kind::Or;
    std::string joined;
    if (topOr) joined += '(';
    joined += kept;
    if (topOr) joined += ')';
    joined += " and ";
    joined += condition;
    return joined;
}
