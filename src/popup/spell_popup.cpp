// The spell detail window: drawing its content, and the callbacks that open
// it from the spell list and from links.
#include "popup/spell_popup.h"

#include <algorithm>
#include <climits>
#include <span>
#include <string>
#include <utility>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "popup/popup_controls.h"
#include "popup/popup_manager.h"
#include "popup/referenced_by_view.h"
#include "popup/spell_panel.h"
#include "popup/spell_share.h"
#include "popup/spell_text.h"
#include "popup/spell_uir.h"
#include "ui/toolkit.h"

namespace {

constexpr FieldStyle kEffectRowStyle{ROW_LABEL_OFFSET, 0, false};
constexpr ButtonStyle kLinkButtonStyle{LINK_LABEL_POINTS, LINK_LABEL_COLOR, LINK_BUTTON_COLOR};
constexpr ButtonStyle kStackingButtonStyle{STACKING_LABEL_POINTS, STACKING_LABEL_COLOR,
                                           STACKING_BUTTON_COLOR};

// The target index of a link button's callback data: the number it points at
// minus 1, or -1 without data.
int LinkTarget(const void* callbackData)
{
    return callbackData ? *static_cast<const int*>(callbackData) - 1 : -1;
}

// Room kept between a row's caption and its field's text, and between a
// "Link" button and the caption right of it; the buttons stay inside the
// effects frame (its border is at x 8) and captions are never made smaller
// than this.
constexpr int kCaptionGap = 4;
constexpr int kButtonGap = 2;
constexpr int kLinkLeftMin = 10;
constexpr int kCaptionPointsMin = 6;

int Attribute(int panel, int control, int attribute)
{
    int value = 0;
    GetCtrlAttribute(panel, control, attribute, &value);
    return value;
}

// Where a row's sentence names the spell its "Link" opens: the last place
// the name stands in it, in bytes of the sentence as shown (UTF-8); a length
// of 0 when the sentence does not hold the name (cut short).
std::pair<int, int> LinkedNameIn(const char* sentence, int linkIndex)
{
    const std::string text = TextToUtf8(sentence);
    const std::string name = TextToUtf8(g_spellArray[static_cast<std::size_t>(linkIndex)].name.data());
    const std::size_t at = name.empty() ? std::string::npos : text.rfind(name);
    if (at == std::string::npos) return {0, 0};
    return {static_cast<int>(at), static_cast<int>(name.size())};
}

// Lays out the effect rows' captions and "Link" buttons for the fonts in
// use. The layout asks for each caption 35 pixels left of its field and for
// the buttons at left 15, 20 wide; a caption wider than that room ("Slot
// 10:" with most fonts) moves left, so the buttons move left as far as the
// widest caption beside a button needs, down to the inside of the effects
// frame; where even that is not enough, the captions are made smaller until
// they clear the buttons. Each caption and button is centred on its field.
void PlaceRowsAndLinks(int panel, const SpellPanelContent& content,
                       const std::array<int, NUM_EFFECT_SLOTS>& fields,
                       const std::array<int, NUM_EFFECT_SLOTS>& buttons)
{
    const auto rows = std::span(content.rows.data(), static_cast<std::size_t>(content.rowCount));
    auto captionLeft = [&](std::size_t r) {
        const int width = Attribute(panel, fields[r], ATTR_LABEL_WIDTH);
        return std::min(rows[r].labelLeft, rows[r].field.left - kCaptionGap - width);
    };
    // The column of buttons: where the layout asks, or further left beside
    // the widest caption of a row with a button (INT_MAX without a button).
    auto buttonLeft = [&] {
        int left = INT_MAX;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const PanelRect& b = rows[r].linkButton;
            if (rows[r].linkIndex >= 0)
                left = std::min({left, b.left, captionLeft(r) - kButtonGap - b.width});
        }
        return left;
    };
    int left = buttonLeft();
    if (left < kLinkLeftMin) {
        for (int points = Attribute(panel, fields[0], ATTR_LABEL_POINT_SIZE);
             left < kLinkLeftMin && points > kCaptionPointsMin; left = buttonLeft()) {
            --points;
            for (std::size_t r = 0; r < rows.size(); ++r)
                SetCtrlAttribute(panel, fields[r], ATTR_LABEL_POINT_SIZE, points);
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int fieldHeight = Attribute(panel, fields[r], ATTR_HEIGHT);
        SetCtrlAttribute(panel, fields[r], ATTR_LABEL_LEFT, captionLeft(r));
        SetCtrlAttribute(
            panel, fields[r], ATTR_LABEL_TOP,
            rows[r].field.top + (fieldHeight - Attribute(panel, fields[r], ATTR_LABEL_HEIGHT)) / 2);
        if (rows[r].linkIndex < 0) continue;
        SetCtrlAttribute(panel, buttons[r], ATTR_LEFT, left);
        SetCtrlAttribute(panel, buttons[r], ATTR_TOP,
                         rows[r].field.top + (fieldHeight - rows[r].linkButton.height) / 2);
    }
}

}  // namespace

int PopulateSpellPopup(int panel, int index)
{
    SpellPanelContent content;
    if (BuildSpellPanelContent(index, content) != 0) return -1;
    ShareSpellWindow(panel, content, CurrentLevelSetting());
    ShowLevelCaption(panel, SPELLPANEL_EFFECTS_CAPTION, CurrentLevelSetting());

    for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
        SetCtrlVal(panel, SpellPanelTextCtrl(PanelText(text)),
                   content.texts[static_cast<std::size_t>(text)].data());
    }
    SetCtrlVal(panel, SPELLPANEL_LINK_INDEX, content.linkedSpellIndex);
    SetCtrlAttribute(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE, content.linkedSpellButton ? 1 : 0);

    if (content.linkedSpellButton) {
        const std::string name = TextToUtf8(content.texts[PANEL_TEXT_LINKED_SPELL].data());
        AddLink(panel, SPELLPANEL_LINKED_SPELL, 0, static_cast<int>(name.size()), SPELLPANEL_LINK_BUTTON);
    }

    // Each row's "Link" is made right after its text, so that Tab reaches
    // the name the row links and its button one after the other; the
    // buttons find their place once every caption has its size.
    std::array<int, NUM_EFFECT_SLOTS> fields{};
    std::array<int, NUM_EFFECT_SLOTS> buttons{};
    for (std::size_t r = 0; r < static_cast<std::size_t>(content.rowCount); ++r) {
        const EffectRowContent& row = content.rows[r];
        fields[r] = AddTextField(panel, row.field.left, row.field.top, row.field.width, row.label.data(),
                                 row.text.data(), kEffectRowStyle);
        if (row.linkIndex < 0) continue;
        const PanelRect& b = row.linkButton;
        buttons[r] = AddButton(panel, "Link", b.top, b.left, b.width, b.height, kLinkButtonStyle,
                               GoToLink2Callback, &g_intArray[static_cast<std::size_t>(row.linkIndex) + 1]);
        const auto [start, length] = LinkedNameIn(row.text.data(), row.linkIndex);
        AddLink(panel, fields[r], start, length, buttons[r]);
    }
    PlaceRowsAndLinks(panel, content, fields, buttons);
    if (content.stackingButton) {
        // The stacking window builds on this one; its callback is found by
        // name, as the resource files name theirs.
        const PanelRect& place = content.stacking;
        AddButton(panel, "Stacking", place.top, place.left, place.width, place.height, kStackingButtonStyle,
                  FindCtrlCallback(kStackingCallbackName), &g_spellArray[static_cast<std::size_t>(index)]);
    }
    SetCtrlAttribute(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT, content.frameHeight);
    SetPanelAttribute(panel, ATTR_HEIGHT, ShowReferencedBy(panel, index, content.panelHeight));
    // The window's title names the spell (titles are UTF-8).
    const std::string title =
        TextToUtf8(g_spellArray[static_cast<std::size_t>(index)].name.data()) + " - Spell";
    SetPanelAttribute(panel, ATTR_TITLE, title.c_str());
    return 0;
}

namespace {

int FillSpellPopup(int panel, void* index)
{
    return PopulateSpellPopup(panel, *static_cast<const int*>(index));
}

}  // namespace

int OpenSpellPopup(int index)
{
    // An index of no loaded spell (a row or link left from another file)
    // opens nothing and changes nothing.
    if (!IsLoadedIndex(index)) return -1;
    return OpenPopup(SPELL_UIR, SPELLPANEL, FillSpellPopup, &index);
}

int SpellRingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    int rows = 0;
    if (GetNumListItems(panel, control, &rows) < 0 || rows <= 0) return 0;
    int index = -1;
    if (GetCtrlVal(panel, control, &index) < 0) return -1;
    return OpenSpellPopup(index);
}

int GoToLinkCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    int index = -1;
    if (callbackData) {
        index = LinkTarget(callbackData);
    } else if (GetCtrlVal(panel, SPELLPANEL_LINK_INDEX, &index) < 0) {
        return 0;
    }
    if (index < 0) return 0;
    return OpenSpellPopup(index);
}

int GoToLink2Callback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    const int index = LinkTarget(callbackData);
    if (index < 0) return 0;
    return OpenSpellPopup(index);
}
