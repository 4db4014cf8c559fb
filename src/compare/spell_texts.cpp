#include "compare/spell_texts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>

#include "data/reader.h"
#include "data/spell_index.h"
#include "data/text_encoding.h"

namespace {

constexpr std::array<const char*, NUM_EFFECT_SLOTS> kSlotFieldNames = {
    "slot 1", "slot 2", "slot 3", "slot 4",  "slot 5",  "slot 6",
    "slot 7", "slot 8", "slot 9", "slot 10", "slot 11", "slot 12"};

// Sets the level globals for a description and puts them back afterwards.
class LevelScope {
public:
    explicit LevelScope(CompareLevel level) : enable_(g_levelEnable), display_(g_displayLevel)
    {
        g_levelEnable = level > 0 ? 1 : 0;
        if (level > 0) g_displayLevel = level;
    }
    ~LevelScope()
    {
        g_levelEnable = enable_;
        g_displayLevel = display_;
    }
    LevelScope(const LevelScope&) = delete;
    LevelScope& operator=(const LevelScope&) = delete;

private:
    int enable_;
    int display_;
};

// Puts other records into the front of g_spellArray as the loaded table and,
// when it goes, swaps the table's own records back and restores g_numSpells
// and the id index. Only the records the other file fills are touched.
class SwappedTable {
public:
    SwappedTable(std::span<SpellStruct> records)
        : records_(records), numSpells_(g_numSpells), index_(std::make_unique<SpellIdIndex>(g_spellIdIndex))
    {
        std::swap_ranges(records_.begin(), records_.end(), g_spellArray.begin());
        g_numSpells = static_cast<int>(records_.size());
        BuildSpellIdIndex();
    }
    ~SwappedTable()
    {
        std::swap_ranges(records_.begin(), records_.end(), g_spellArray.begin());
        g_numSpells = numSpells_;
        g_spellIdIndex = *index_;
    }
    SwappedTable(const SwappedTable&) = delete;
    SwappedTable& operator=(const SwappedTable&) = delete;

private:
    std::span<SpellStruct> records_;
    int numSpells_;
    std::unique_ptr<SpellIdIndex> index_;
};

}  // namespace

const char* SpellTextFieldName(int field)
{
    if (field >= 0 && field < PANEL_TEXT_COUNT) return kPanelTextFields[static_cast<std::size_t>(field)];
    if (field >= SLOT_FIELD_FIRST && field < SPELL_TEXT_FIELDS)
        return kSlotFieldNames[static_cast<std::size_t>(field - SLOT_FIELD_FIRST)];
    return "";
}

std::string_view SpellTexts::Text(int index, int field) const
{
    const std::size_t at =
        static_cast<std::size_t>(index) * SPELL_TEXT_FIELDS + static_cast<std::size_t>(field);
    const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
    return std::string_view(text_).substr(begin, ends_[at] - begin);
}

void SpellTexts::Clear()
{
    ids_.clear();
    ends_.clear();
    text_.clear();
}

void SpellTexts::Reserve(int spells)
{
    const auto n = static_cast<std::size_t>(std::max(spells, 0));
    ids_.reserve(n);
    ends_.reserve(n * SPELL_TEXT_FIELDS);
    text_.reserve(n * 512);
}

void SpellTexts::AppendText(const char* text)
{
    const std::size_t length = std::strlen(text);
    if (IsValidUtf8(text, length)) {
        text_.append(text, length);
    } else {
        text_ += TextToUtf8(text);
    }
    ends_.push_back(static_cast<uint32_t>(text_.size()));
}

void SpellTexts::AddLoadedSpell(int index)
{
    SpellPanelContent content;
    if (BuildSpellPanelContent(index, content) != 0) return;
    ids_.push_back(g_spellArray[static_cast<std::size_t>(index)].id);
    for (const TextField& text : content.texts) AppendText(text.data());
    std::array<const char*, NUM_EFFECT_SLOTS> slots;
    slots.fill("");
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        slots[static_cast<std::size_t>(row.slot)] = row.text.data();
    }
    for (const char* sentence : slots) AppendText(sentence);
}

void DescribeLoadedSpells(CompareLevel level, SpellTexts& texts)
{
    LevelScope levels(level);
    const int count = LoadedSpellCount();
    texts.Clear();
    texts.Reserve(count);
    for (int index = 0; index < count; ++index) {
        // Describing a spell caches its sentences and may set its instant
        // flag: keep the record's own and put them back.
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        const auto effectText = spell.effectText;
        const int32_t isInstant = spell.isInstant;
        texts.AddLoadedSpell(index);
        spell.effectText = effectText;
        spell.isInstant = isInstant;
    }
}

int DescribeSpellFile(const char* path, CompareLevel level, SpellTexts& texts, bool* moreLines)
{
    texts.Clear();
    // Untouched pages of this buffer cost nothing: only the records read are written.
    auto records = std::make_unique_for_overwrite<SpellStruct[]>(MAX_SPELLS);
    const int count = ParseSpellFile(path, std::span(records.get(), MAX_SPELLS), moreLines);
    if (count < 0) return -1;
    LevelScope levels(level);
    SwappedTable table(std::span(records.get(), static_cast<std::size_t>(count)));
    texts.Reserve(count);
    for (int index = 0; index < count; ++index) texts.AddLoadedSpell(index);
    return count;
}
