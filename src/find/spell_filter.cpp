#include "find/spell_filter.h"

#include <algorithm>
#include <cstring>

#include "data/spell_index.h"
#include "data/text_encoding.h"
#include "data/text_rules.h"
#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "stacking/stacking.h"

namespace {

constexpr int kFieldsPerSpell = PANEL_TEXT_COUNT + NUM_EFFECT_SLOTS;

template <typename T>
bool Compare(FilterOp op, const T& a, const T& b)
{
    switch (op) {
        case FilterOp::Equal:
            return a == b;
        case FilterOp::NotEqual:
            return a != b;
        case FilterOp::Less:
            return a < b;
        case FilterOp::LessEqual:
            return a <= b;
        case FilterOp::Greater:
            return a > b;
        case FilterOp::GreaterEqual:
            return a >= b;
        case FilterOp::Contains:
            break;
    }
    return false;
}

bool CompareText(FilterOp op, std::string_view text, std::string_view value)
{
    if (op == FilterOp::Contains) return text.find(value) != std::string_view::npos;
    return Compare(op, text, value);
}

int RecordNumber(const SpellStruct& spell, int which)
{
    switch (which) {
        case FILTER_NUMBER_ID:
            return spell.id;
        case FILTER_NUMBER_COL9:
            return spell.col9;
        case FILTER_NUMBER_COL10:
            return spell.col10;
        case FILTER_NUMBER_COL11:
            return spell.col11;
        case FILTER_NUMBER_COL18:
            return spell.col18;
        case FILTER_NUMBER_COL19:
            return spell.col19;
        case FILTER_NUMBER_COL147:
            return spell.col147;
        default:
            return spell.duration;
    }
}

// The first slot the detail window shows with the effect id, or -1.
int FirstShownSlot(const SpellStruct& spell, int effectId)
{
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (spell.attrib[static_cast<std::size_t>(slot)] == effectId && IsSlotShown(spell, slot)) return slot;
    }
    return -1;
}

bool SentencesMatch(const FilterCondition& condition, const FilterTexts& texts, int index)
{
    // "!=": no shown sentence equals the value.
    const bool none = condition.op == FilterOp::NotEqual;
    const FilterOp op = none ? FilterOp::Equal : condition.op;
    std::string_view sentence;
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
        if (texts.Sentence(index, slot, sentence) && CompareText(op, sentence, condition.text)) return !none;
    }
    return none;
}

bool ConditionMatches(const FilterCondition& condition, const FilterTexts& texts, int index)
{
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    switch (condition.kind) {
        case FilterFieldKind::Text:
            return index < texts.Count() &&
                   CompareText(condition.op, texts.Text(index, condition.which), condition.text);
        case FilterFieldKind::Sentences:
            return index < texts.Count() && SentencesMatch(condition, texts, index);
        case FilterFieldKind::Number:
            return Compare(condition.op, RecordNumber(spell, condition.which), condition.number);
        case FilterFieldKind::Level: {
            // Only the classes the window lists under "Classes:" have a level.
            const int level = spell.classLevel[static_cast<std::size_t>(condition.which)];
            return level < CLASS_LEVEL_NONE && Compare(condition.op, level, condition.number);
        }
        case FilterFieldKind::Effect:
            return (FirstShownSlot(spell, condition.number) >= 0) == (condition.op == FilterOp::Equal);
        case FilterFieldKind::Value: {
            const int slot = FirstShownSlot(spell, condition.which);
            if (slot < 0) return false;
            const auto k = static_cast<std::size_t>(slot);
            return Compare(condition.op, StackingValue(spell.base[k], spell.max[k]), condition.number);
        }
    }
    return false;
}

bool NodeMatches(const FilterQuery& query, const FilterTexts& texts, int index, int node)
{
    const FilterNode& n = query.Node(node);
    switch (n.kind) {
        case FilterNode::Kind::Condition:
            return ConditionMatches(query.Condition(n.condition), texts, index);
        case FilterNode::Kind::Not:
            return !NodeMatches(query, texts, index, n.children.front());
        case FilterNode::Kind::And:
            return std::ranges::all_of(n.children,
                                       [&](int c) { return NodeMatches(query, texts, index, c); });
        case FilterNode::Kind::Or:
            return std::ranges::any_of(n.children,
                                       [&](int c) { return NodeMatches(query, texts, index, c); });
    }
    return false;
}

}  // namespace

FilterLevel CurrentFilterLevel()
{
    const LevelSetting setting = CurrentLevelSetting();
    return setting.levelEnable != 0 ? setting.displayLevel : 0;
}

void FilterTexts::Clear()
{
    shown_.clear();
    ends_.clear();
    text_.clear();
    generation_ = -1;
    builtFor_ = -1;
    level_ = -1;
}

void FilterTexts::Update(FilterLevel level)
{
    if (generation_ == g_spellIdIndex.generation && builtFor_ == g_spellIdIndex.builtFor &&
        builtFor_ == g_numSpells && level_ == level)
        return;
    Build(level);
}

void FilterTexts::Build(FilterLevel level)
{
    Clear();
    const int count = LoadedSpellCount();
    shown_.reserve(static_cast<std::size_t>(count));
    ends_.reserve(static_cast<std::size_t>(count) * kFieldsPerSpell);
    text_.reserve(static_cast<std::size_t>(count) * 400);
    auto append = [this](const char* text) {
        const std::size_t start = text_.size();
        const std::size_t length = std::strlen(text);
        if (IsValidUtf8(text, length)) {
            text_.append(text, length);
        } else {
            text_ += TextToUtf8(text);
        }
        // The search's case rule, on the UTF-8 each text now is.
        for (std::size_t i = start; i < text_.size(); ++i) text_[i] = UpperCaseUtf8At(text_.data(), i);
        ends_.push_back(static_cast<uint32_t>(text_.size()));
    };
    const SpellTable table = LoadedTable();
    const LevelSetting setting = LevelSettingFor(level);
    SpellPanelContent content;
    for (int index = 0; index < count; ++index) {
        DescribeSpellPanel(table, index, setting, content);
        for (const TextField& text : content.texts) append(text.data());
        std::array<const char*, NUM_EFFECT_SLOTS> sentences;
        sentences.fill("");
        uint16_t shown = 0;
        for (int r = 0; r < content.rowCount; ++r) {
            const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
            sentences[static_cast<std::size_t>(row.slot)] = row.text.data();
            shown = static_cast<uint16_t>(shown | (1u << row.slot));
        }
        for (const char* sentence : sentences) append(sentence);
        shown_.push_back(shown);
    }
    generation_ = g_spellIdIndex.generation;
    builtFor_ = g_spellIdIndex.builtFor;
    level_ = level;
}

std::string_view FilterTexts::Field(int index, int field) const
{
    const std::size_t at =
        static_cast<std::size_t>(index) * kFieldsPerSpell + static_cast<std::size_t>(field);
    const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
    return std::string_view(text_).substr(begin, ends_[at] - begin);
}

bool FilterTexts::Sentence(int index, int slot, std::string_view& sentence) const
{
    if ((shown_[static_cast<std::size_t>(index)] & (1u << slot)) == 0) return false;
    sentence = Field(index, PANEL_TEXT_COUNT + slot);
    return true;
}

bool FilterMatches(const FilterQuery& query, const FilterTexts& texts, int index)
{
    if (query.IsEmpty()) return true;
    if (!IsLoadedIndex(index)) return false;
    return NodeMatches(query, texts, index, query.Root());
}
