// A spell and a changed text shared as plain text, Markdown and HTML: whatever bytes the texts hold,
// each reads back (through cmark-gfm and libxml2) as exactly the text it shows, in its own row, with
// only the words that differ marked.
#include <string>
#include <vector>

#include "compare/compare.h"
#include "fuzz_support.h"
#include "markup_readback.h"
#include "popup/panel_captions.h"
#include "popup/spell_text.h"

namespace {

std::string Shown(std::string_view bytes)
{
    std::string shown;
    AppendShownText(shown, bytes);
    return shown;
}

readback::Lines ReadBack(const std::string& text, TextFormat format)
{
    return format == TextFormat::Html ? readback::ReadHtml(text) : readback::ReadMarkdown(text);
}

void CheckSpell(const SpellPanelContent& content, LevelSetting level)
{
    // The rows every format holds: caption and text, in the window's order.
    std::vector<readback::Line> rows;
    for (const PanelText text : kPanelReadingOrder)
        rows.push_back({"|", kPanelCaptions[text], Shown(content.texts[text].data())});
    const std::size_t effectsRow = rows.size();
    rows.push_back({});
    for (int r = 0; r < content.rowCount; ++r)
        rows.push_back({"|", content.rows[r].label.data(), Shown(content.rows[r].text.data())});

    std::string text;
    WriteSpellText(content, level, TextFormat::Text, text);
    std::size_t line = 0;
    for (std::size_t begin = 0; begin < text.size(); ++line) {
        const std::size_t end = text.find('\n', begin);
        FUZZ_CHECK(end != std::string::npos && line < rows.size());
        const std::string_view shown(text.data() + begin, end - begin);
        if (line != effectsRow) {
            const std::string& value = rows[line][2];
            FUZZ_CHECK(shown == rows[line][1] + (value.empty() ? "" : " " + value));
        }
        begin = end + 1;
    }
    FUZZ_CHECK(line == rows.size());

    for (const TextFormat format : {TextFormat::Markdown, TextFormat::Html}) {
        std::string shared;
        WriteSpellText(content, level, format, shared);
        const readback::Lines read = ReadBack(shared, format);
        FUZZ_CHECK(read.size() == rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) FUZZ_CHECK(r == effectsRow || read[r] == rows[r]);
    }
}

// Old and new text in a table row, each with the words that differ marked.
void CheckMarks(const std::string& oldText, const std::string& newText)
{
    const ChangedWords marks = FindChangedWords(oldText, newText);
    auto expected = [](const std::string& bytes, std::size_t begin, std::size_t end, const char* open,
                       const char* close) {
        if (begin == end) return Shown(bytes);
        return Shown(bytes.substr(0, begin)) + open + Shown(bytes.substr(begin, end - begin)) + close +
               Shown(bytes.substr(end));
    };
    const readback::Line row = {"|", expected(oldText, marks.oldBegin, marks.oldEnd, "[-", "-]"),
                                expected(newText, marks.newBegin, marks.newEnd, "{+", "+}")};
    for (const TextFormat format : {TextFormat::Markdown, TextFormat::Html}) {
        std::string shared;
        TableWriter table(shared, format);
        table.Cell() += "Old";
        table.Cell() += "New";
        table.EndRow();
        AppendMarked(table.Cell(), oldText, marks.oldBegin, marks.oldEnd, TextMark::Removed, format);
        AppendMarked(table.Cell(), newText, marks.newBegin, marks.newEnd, TextMark::Added, format);
        table.EndRow();
        table.Close();
        const readback::Lines read = ReadBack(shared, format);
        FUZZ_CHECK(read.size() == 2 && read[1] == row);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    static SpellPanelContent content;
    content = SpellPanelContent{};
    for (TextField& text : content.texts)
        CopyText(text, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 4).c_str());
    content.rowCount = input.ConsumeIntegralInRange(0, NUM_EFFECT_SLOTS);
    for (int r = 0; r < content.rowCount; ++r) {
        std::snprintf(content.rows[r].label.data(), content.rows[r].label.size(), "Slot %d:", r + 1);
        CopyText(content.rows[r].text, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 4).c_str());
    }
    CheckSpell(content, LevelSettingFor(input.ConsumeIntegralInRange(0, MAX_LEVEL)));

    const std::string oldText = input.ConsumeRandomLengthString(SPELL_FIELD_CHARS);
    CheckMarks(oldText, input.ConsumeRemainingBytesAsString());
    return 0;
}
