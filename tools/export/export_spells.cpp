// The exporter's base mode: each loaded spell with the sentences of the
// effect slots its detail window shows, and the window's texts.
#include <algorithm>
#include <ostream>
#include <string>

#include "data/side_by_side.h"
#include "data/spell.h"
#include "data/spell_table.h"
#include "export_modes.h"
#include "export_panel.h"
#include "json_text.h"
#include "popup/spell_panel.h"

namespace {

// One spell's object: index, id, name, the shown slots (numbered 1 to 12,
// each with its sentence and link) and the panel, filled as the detail
// window is, so the sentences are generated once.
void AppendSpellObject(std::string& line, const SpellTable& table, int index, LevelSetting level)
{
    SpellPanelContent content;
    DescribeSpellPanel(table, index, level, content);
    const SpellStruct& spell = table[index];
    line += "{\"index\":";
    AppendJsonInt(line, index);
    line += ",\"id\":";
    AppendJsonInt(line, spell.id);
    line += ",\"name\":";
    AppendJsonText(line, spell.name.data());
    line += ",\"effects\":[";
    for (int r = 0; r < content.rowCount; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        line += r == 0 ? "{\"slot\":" : ",{\"slot\":";
        AppendJsonInt(line, row.slot + 1);
        line += ",\"text\":";
        AppendJsonText(line, row.text.data());
        line += ",\"link\":";
        AppendJsonInt(line, row.linkIndex);
        line += '}';
    }
    line += "],\"panel\":";
    AppendPanelJson(line, content);
    line += "}\n";
}

}  // namespace

int ExportSpells(std::ostream& out)
{
    // The descriptions read only the table: in each round one block of
    // spells is described on another core while this one does the next,
    // and both are written in table order. The two buffers are reused.
    constexpr int kBlock = 250;
    const SpellTable table = LoadedTable();
    const LevelSetting level = CurrentLevelSetting();
    std::string first;
    std::string second;
    auto describe = [&table, level](std::string& text, int begin) {
        text.clear();
        const int end = std::min(begin + kBlock, table.count);
        for (int index = begin; index < end; ++index) AppendSpellObject(text, table, index, level);
    };
    for (int begin = 0; begin < table.count; begin += 2 * kBlock) {
        RunSideBySide([&] { describe(first, begin); }, [&] { describe(second, begin + kBlock); });
        for (const std::string* text : {&first, &second})
            out.write(text->data(), static_cast<std::streamsize>(text->size()));
    }
    out.flush();
    return out ? 0 : 1;
}
