#include <nlohmann/json.hpp>
#include <ostream>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "export_modes.h"
#include "find/spell_filter.h"
#include "list/search.h"

int ExportSearch(std::ostream& out, const std::string& searchText, int classValue, int effectId,
                 const FilterQuery& where)
{
    FilterTexts texts;
    if (where.NeedsTexts()) texts.Build(CurrentFilterLevel());
    const SpellFilter filter(where, texts);
    // The search box holds a 260-byte text, so the exporter's text is cut the same way.
    TextField text;
    CopyText(text, searchText.c_str());
    ForEachSpellRow(text.data(), classValue, effectId, &filter, [&](const char* label, int index) {
        nlohmann::ordered_json row;
        row["row"] = TextToUtf8(label);
        row["index"] = index;
        out << row.dump() << '\n';
    });
    return out ? 0 : 1;
}
