// The stacking check window: a popup that shows, slot by slot, the other
// spells carrying the same effect in the same slot, largest value first.
#include "stacking/stacking_callbacks.h"

#include <functional>
#include <string>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "popup/popup_controls.h"
#include "popup/popup_manager.h"
#include "popup/spell_popup.h"
#include "popup/spell_text.h"
#include "stacking/stacking.h"
#include "stacking/stacking_share.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"

namespace {

constexpr ButtonStyle kLinkButtonStyle{STACK_LINK_POINTS, STACK_LINK_LABEL_COLOR, STACK_LINK_COLOR};

// The table index of a record address, or -1 when it is not one of
// g_spellArray's records.
int RecordIndex(const void* record)
{
    const auto* first = g_spellArray.data();
    const auto* spell = static_cast<const SpellStruct*>(record);
    const std::less<const SpellStruct*> before;
    if (!spell || before(spell, first) || !before(spell, first + MAX_SPELLS)) return -1;
    return static_cast<int>(spell - first);
}

void AddSlot(int panel, const StackingSlot& slot)
{
    const PanelRect& h = slot.headerField;
    const int header = CreateStringControl(panel, h.left, h.top, h.width, slot.label.data(), slot.header);
    // The text first, so that the label centres itself on the final height.
    SetCtrlAttribute(panel, header, ATTR_TEXT_POINT_SIZE, STACK_HEADER_POINTS);
    SetCtrlAttribute(panel, header, ATTR_LABEL_POINT_SIZE, STACK_HEADER_POINTS);

    const int frame = GetDecorationVal(slot.slot + 1);
    SetCtrlAttribute(panel, frame, ATTR_TOP, slot.frame.top);
    SetCtrlAttribute(panel, frame, ATTR_LEFT, slot.frame.left);
    SetCtrlAttribute(panel, frame, ATTR_WIDTH, slot.frame.width);
    SetCtrlAttribute(panel, frame, ATTR_HEIGHT, slot.frame.height);
    SetCtrlAttribute(panel, frame, ATTR_FRAME_COLOR, STACK_FRAME_COLOR);
    SetCtrlAttribute(panel, frame, ATTR_VISIBLE, 1);

    if (slot.rowCount == 0) {
        const PanelRect& n = slot.noConflictField;
        CreateStringControl(panel, n.left, n.top, n.width, "", kNoStackingConflicts);
    }
}

void AddLine(int panel, const StackingLine& line)
{
    const int name = CreateStringControl(panel, line.nameField.left, line.nameField.top, line.nameField.width,
                                         "", line.name);
    CreateStringControl(panel, line.textField.left, line.textField.top, line.textField.width, "", line.text);

    // The button stands beside the line's text: centred on its fields.
    const PanelRect& b = line.linkButton;
    int fieldHeight = 0;
    const int top = GetCtrlAttribute(panel, name, ATTR_HEIGHT, &fieldHeight) == 0
                        ? line.nameField.top + (fieldHeight - b.height) / 2
                        : b.top;
    const int link = AddButton(panel, "Link", top, b.left, b.width, b.height, kLinkButtonStyle,
                               GoToLink2Callback, &g_intArray[static_cast<std::size_t>(line.index) + 1]);
    // The listed spell's name is a link too, reached with Tab just before its button.
    AddLink(panel, name, 0, static_cast<int>(TextToUtf8(line.name).size()), link);
}

// Fills a stacking panel for the spell at the table index fillData points at.
int FillStackingPopup(int stacking, void* fillData)
{
    const int index = *static_cast<const int*>(fillData);
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    // The window's title names the spell (titles are UTF-8).
    SetPanelAttribute(stacking, ATTR_TITLE, ("Stacking - " + TextToUtf8(spell.name.data())).c_str());
    SetWaitCursor(1);
    // The window keeps what it shows for its "Copy".
    StackingText& shared = ShareStackingWindow(stacking);
    shared.Begin(spell.name.data(), CurrentLevelSetting());
    ShowLevelCaption(stacking, STACKPANEL_LEVEL, CurrentLevelSetting());
    ForEachStackingSlot(
        index,
        [stacking, &shared](const StackingSlot& s) {
            AddSlot(stacking, s);
            shared.AddSlot(s);
        },
        [stacking, &shared](const StackingSlot&, const StackingLine& line) {
            AddLine(stacking, line);
            shared.AddLine(line);
        });
    SetWaitCursor(0);
    return 0;
}

}  // namespace

int StackingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    // Only a record of the loaded table: a button left from a larger file
    // must not check whatever stands at its index now.
    const int index = RecordIndex(callbackData);
    if (!IsLoadedIndex(index)) return -1;
    const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
    if (spell.id < 0) return -1;

    int target = index;
    return OpenPopup(STACKING_UIR, STACKPANEL, FillStackingPopup, &target);
}
