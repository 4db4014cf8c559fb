// The exporter's base mode: each loaded spell with the sentences of the
// effect slots its detail window shows, and the window's texts.
#include <ostream>
#include <string>

#include "data/spell.h"
#include "export_modes.h"
#include "export_panel.h"
#include "json_text.h"
#include "popup/referenced_by.h"
#include "popup/spell_panel.h"

namespace {

// One spell's object: index, id, name, the shown slots (numbered 1 to 12,
// each with its sentence and link) and the panel, filled as the detail
// window is, so the sentences are generated once.
void AppendSpellObject(std::string& line, int index)
{
    SpellPanelContent content;
    BuildSpellPanelContent(index, content);
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
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
    AppendPanelJson(line, content, ReferencedBy(g_referencedBy, index));
    line += "}\n";
}

}  // namespace

int ExportSpells(std::ostream& out)
{
    const int count = LoadedSpellCount();
    UpdateReferencedBy();
    std::string line;
    for (int index = 0; index < count; ++index) {
        line.clear();
        AppendSpellObject(line, index);
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    out.flush();
    return out ? 0 : 1;
}
