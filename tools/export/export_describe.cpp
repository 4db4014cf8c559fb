// The exporter's description mode: one spell as its detail window's "Copy"
// gives it.
#include <ostream>
#include <string>

#include "data/spell.h"
#include "export_modes.h"
#include "popup/spell_text.h"

int ExportDescription(std::ostream& out, std::ostream& err, int index, TextFormat format)
{
    SpellPanelContent content;
    if (DescribeLoadedSpell(index, content) != 0) {
        const int numSpells = LoadedSpellCount();
        err << "rivizuzi-export: " << index << " is not the table index of a loaded spell (0 to "
            << numSpells - 1 << ")\n";
        return 1;
    }
    std::string text;
    WriteSpellText(content, CurrentLevelSetting(), format, text);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out ? 0 : 1;
}
