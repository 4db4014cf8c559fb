#include "stacking/stacking_text.h"

#include <span>
#include <string_view>

#include "share/level_text.h"

namespace {

constexpr const char* kTitle = "Stacking - ";

// What stands around the parts of the check in each format, in TextFormat
// order.
struct Pieces {
    const char* titleOpen;
    const char* titleClose;
    const char* slotOpen;
    const char* slotCaptionClose;
    const char* blockClose;
    const char* noneOpen;
    const char* tableClose;
};
constexpr Pieces kPieces[] = {
    {"", ")\n", "", " ", "\n", "  ", ""},
    {"### ", ")\n\n", "**", "** ", "\n\n", "", "\n"},
    {"<h3>", ")</h3>\n", "<p><b>", "</b> ", "</p>\n", "<p>", ""},
};

// "Slot 1: " without the blank that ends the label.
std::string_view SlotCaption(std::string_view label)
{
    while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
    return label;
}

}  // namespace

void StackingText::Begin(const char* spellName, LevelSetting level)
{
    name_ = spellName;
    level_ = level;
    slots_.clear();
    lines_.clear();
}

void StackingText::AddSlot(const StackingSlot& slot)
{
    slots_.push_back({slot.label.data(), slot.header ? slot.header : "", lines_.size(), 0});
}

void StackingText::AddLine(const StackingLine& line)
{
    if (slots_.empty()) return;
    lines_.push_back({line.name ? line.name : "", line.text ? line.text : ""});
    ++slots_.back().lineCount;
}

void StackingText::Write(TextFormat format, std::string& out) const
{
    const Pieces& p = kPieces[static_cast<std::size_t>(format)];
    TextField level{};
    FormatLevelSetting(level_, level);
    out += p.titleOpen;
    out += kTitle;
    AppendEscaped(out, name_, format);
    out += " (";
    out += level.data();
    out += p.titleClose;
    for (const Slot& slot : slots_) {
        out += p.slotOpen;
        AppendEscaped(out, SlotCaption(slot.label), format);
        out += p.slotCaptionClose;
        AppendEscaped(out, slot.header, format);
        out += p.blockClose;
        const auto lines = std::span(lines_).subspan(slot.firstLine, slot.lineCount);
        if (lines.empty()) {
            out += p.noneOpen;
            out += kNoStackingConflicts;
            out += p.blockClose;
        } else if (format == TextFormat::Text) {
            for (const Line& line : lines) {
                out += "  ";
                AppendShownText(out, line.name);
                out += ": ";
                AppendShownText(out, line.text);
                out += '\n';
            }
        } else {
            TableWriter table(out, format);
            table.Cell() += "Spell";
            table.Cell() += "Effect";
            table.EndRow();
            for (const Line& line : lines) {
                AppendEscaped(table.Cell(), line.name, format);
                AppendEscaped(table.Cell(), line.text, format);
                table.EndRow();
            }
            table.Close();
            out += p.tableClose;
        }
    }
}
