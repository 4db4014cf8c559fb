#include "popup/spell_text.h"

#include "popup/panel_captions.h"
#include "share/level_text.h"

void WriteSpellText(const SpellPanelContent& content, LevelSetting level, TextFormat format, std::string& out)
{
    TextField levelText{};
    FormatLevelSetting(level, levelText);
    if (format == TextFormat::Text) {
        auto line = [&out](const char* caption, const char* text) {
            out += caption;
            if (text[0] != '\0') {
                out += ' ';
                AppendShownText(out, text);
            }
            out += '\n';
        };
        for (const PanelText text : kPanelReadingOrder)
            line(kPanelCaptions[text], content.texts[static_cast<std::size_t>(text)].data());
        out += kEffectsCaption;
        out += " (";
        out += levelText.data();
        out += "):\n";
        for (int r = 0; r < content.rowCount; ++r) {
            const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
            line(row.label.data(), row.text.data());
        }
        return;
    }
    TableWriter table(out, format);
    auto row = [&table, format](const char* caption, const char* text) {
        AppendEscaped(table.Cell(), caption, format);
        AppendEscaped(table.Cell(), text, format);
        table.EndRow();
    };
    for (const PanelText text : kPanelReadingOrder)
        row(kPanelCaptions[text], content.texts[static_cast<std::size_t>(text)].data());
    row(kEffectsCaption, levelText.data());
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& effect = content.rows[static_cast<std::size_t>(r)];
        row(effect.label.data(), effect.text.data());
    }
    table.Close();
}

int DescribeLoadedSpell(int index, SpellPanelContent& content)
{
    return DescribeSpellPanel(LoadedTable(), index, CurrentLevelSetting(), content);
}
