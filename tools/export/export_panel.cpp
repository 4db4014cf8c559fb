#include "export_panel.h"

#include "json_text.h"

void AppendPanelJson(std::string& out, const SpellPanelContent& content)
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
    out += content.stackingButton ? ",\"stacking\":true}" : ",\"stacking\":false}";
}

nlohmann::ordered_json BuildPanelJson(int index)
{
    SpellPanelContent content;
    if (BuildSpellPanelContent(index, content) != 0) return nullptr;
    std::string text;
    AppendPanelJson(text, content);
    return nlohmann::ordered_json::parse(text);
}
