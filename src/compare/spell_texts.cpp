#include "compare/spell_texts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <span>

#include "data/reader.h"
#include "data/text_encoding.h"

namespace {

constexpr std::array<const char*, NUM_EFFECT_SLOTS> kSlotFieldNames = {
    "slot 1", "slot 2", "slot 3", "slot 4",  "slot 5",  "slot 6",
    "slot 7", "slot 8", "slot 9", "slot 10", "slot 11", "slot 12"};

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

void SpellTexts::AddSpell(const SpellTable& table, int index, LevelSetting level)
{
    SpellPanelContent content;
    if (DescribeSpellPanel(table, index, level, content) != 0) return;
    ids_.push_back(table[index].id);
    for (const TextField& text : content.texts) AppendText(text.data());
    std::array<const char*, NUM_EFFECT_SLOTS> slots;
    slots.fill("");
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        slots[static_cast<std::size_t>(row.slot)] = row.text.data();
    }
    for (const char* sentence : slots) AppendText(sentence);
}

void SpellTexts::Append(const SpellTexts& other)
{
    const auto offset = static_cast<uint32_t>(text_.size());
    ids_.insert(ids_.end(), other.ids_.begin(), other.ids_.end());
    for (const uint32_t end : other.ends_) ends_.push_back(end + offset);
    text_ += other.text_;
}

void DescribeSpells(const SpellTable& table, CompareLevel level, SpellTexts& texts, int threads)
{
    const LevelSetting setting = LevelSettingFor(level);
    const int count = std::max(table.count, 0);
    texts.Clear();
    if (threads <= 1 || count < 2) {
        texts.Reserve(count);
        for (int index = 0; index < count; ++index) texts.AddSpell(table, index, setting);
        return;
    }
    // The first half on another thread, the second here, then joined in order.
    const int half = count / 2;
    SpellTexts second;
    RunSideBySide(
        [&] {
            texts.Reserve(count);
            for (int index = 0; index < half; ++index) texts.AddSpell(table, index, setting);
        },
        [&] {
            second.Reserve(count - half);
            for (int index = half; index < count; ++index) second.AddSpell(table, index, setting);
        });
    texts.Append(second);
}

void DescribeLoadedSpells(CompareLevel level, SpellTexts& texts)
{
    DescribeSpells(LoadedTable(), level, texts);
}

namespace {

// The records of a file start on a 2 MB boundary, so that they can be
// backed by 2 MB pages.
constexpr std::align_val_t kRecordsAlignment{std::size_t{2} << 20};

}  // namespace

void SpellFile::FreeRecords::operator()(SpellStruct* records) const
{
    ::operator delete[](records, kRecordsAlignment);
}

int SpellFile::Read(const char* path)
{
    // Untouched pages of this buffer cost nothing: only the records read are written.
    if (!records_) {
        constexpr std::size_t bytes = sizeof(SpellStruct) * MAX_SPELLS;
        records_.reset(static_cast<SpellStruct*>(::operator new[](bytes, kRecordsAlignment)));
        AdviseHugePages(records_.get(), bytes);
    }
    if (!ids_) ids_ = std::make_unique<SpellIdIndex>();
    moreLines_ = false;
    const int count = ParseSpellFile(path, std::span(records_.get(), MAX_SPELLS), &moreLines_);
    count_ = std::max(count, 0);
    BuildSpellIdIndex(records_.get(), count_, *ids_);
    return count;
}

int DescribeSpellFile(const char* path, CompareLevel level, SpellTexts& texts, bool* moreLines)
{
    texts.Clear();
    SpellFile file;
    const int count = file.Read(path);
    if (moreLines) *moreLines = file.MoreLines();
    if (count < 0) return -1;
    DescribeSpells(file.Table(), level, texts);
    return count;
}
