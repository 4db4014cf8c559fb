#include "export_panel.h"

#include "json_text.h"
#include "popup/referenced_by.h"

void AppendPanelJson(std::string& out, const SpellPanelContent& content,
                     std::span<const int16_t> referencedBy)
{
    out += '{';
    for (std::size_t text = 0; text < kPanelTextFields.size(); ++text) {
        AppendJsonString(out, kPanelTextFields[text]);
        out += ':';
        AppendJsonText(out, content.texts[text].data());
        out += ',';
    }
    out += "\"linkedSpellIndex\":";
    AppendJsonInt(out, content.linkedSpellIndex);
    out += content.stackingButton ? ",\"stacking\":true" : ",\"stacking\":false";
    out += ",\"referencedBy\":[";
    for (std::size_t i = 0; i < referencedBy.size(); ++i) {
        if (i > 0) out += ',';
        AppendJsonInt(out, referencedBy[i]);
    }
    out += "]}";
}

nlohmann::ordered_json BuildPanelJson(int index)
{
    SpellPanelContent content;
    if (BuildSpellPanelContent(index, content) != 0) return nullptr;
    std::string text;
    AppendPanelJson(text, content, ReferencedBy(g_referencedBy, index));
    return nlohmann::ordered_json::parse(text);
}
