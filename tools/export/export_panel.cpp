#include "export_panel.h"

#include "data/text_encoding.h"

nlohmann::ordered_json PanelContentToJson(const SpellPanelContent& content)
{
    nlohmann::ordered_json panel = nlohmann::ordered_json::object();
    for (std::size_t text = 0; text < kPanelTextFields.size(); ++text) {
        panel[kPanelTextFields[text]] = TextToUtf8(content.texts[text].data());
    }
    panel["linkedSpellIndex"] = content.linkedSpellIndex;
    panel["stacking"] = content.stackingButton;
    return panel;
}

nlohmann::ordered_json BuildPanelJson(int index)
{
    SpellPanelContent content;
    if (BuildSpellPanelContent(index, content) != 0) return nullptr;
    return PanelContentToJson(content);
}
