// Run-time text fields and command buttons of the popups.
#include "popup/popup_controls.h"

#include <string>

#include "popup/panel_captions.h"
#include "popup/spell_panel.h"
#include "share/level_text.h"

namespace {

constexpr FieldStyle kStringControlStyle{50, 12, true};

}  // namespace

int AddTextField(int panel, int left, int top, int width, const char* label, const char* value,
                 const FieldStyle& style)
{
    const int field = NewCtrl(panel, CTRL_STRING, label, top, left);
    if (field < 0) return field;
    SetCtrlAttribute(panel, field, ATTR_WIDTH, width);
    SetCtrlAttribute(panel, field, ATTR_LABEL_COLOR, ROW_LABEL_COLOR);
    SetCtrlAttribute(panel, field, ATTR_TEXT_COLOR, ROW_TEXT_COLOR);
    SetCtrlAttribute(panel, field, ATTR_TEXT_BOLD, 1);
    if (style.labelBold) SetCtrlAttribute(panel, field, ATTR_LABEL_BOLD, 1);
    if (style.points > 0) {
        SetCtrlAttribute(panel, field, ATTR_LABEL_POINT_SIZE, style.points);
        SetCtrlAttribute(panel, field, ATTR_TEXT_POINT_SIZE, style.points);
    }
    // A string field is drawn without a frame, so its frame is already see
    // through; ATTR_FRAME_COLOR would also recolour the field's text.
    SetCtrlAttribute(panel, field, ATTR_LABEL_BGCOLOR, VAL_TRANSPARENT);
    SetCtrlAttribute(panel, field, ATTR_TEXT_BGCOLOR, VAL_TRANSPARENT);
    // The label, once its font is final, centred on the field vertically.
    int fieldHeight = 0;
    int labelHeight = 0;
    if (GetCtrlAttribute(panel, field, ATTR_HEIGHT, &fieldHeight) == 0 &&
        GetCtrlAttribute(panel, field, ATTR_LABEL_HEIGHT, &labelHeight) == 0) {
        SetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, left - style.labelOffset);
        SetCtrlAttribute(panel, field, ATTR_LABEL_TOP, top + (fieldHeight - labelHeight) / 2);
    }
    SetCtrlVal(panel, field, value);
    return field;
}

int CreateStringControl(int panel, int left, int top, int width, const char* label, const char* value)
{
    return AddTextField(panel, left, top, width, label, value, kStringControlStyle);
}

int AddButton(int panel, const char* label, int top, int left, int width, int height,
              const ButtonStyle& style, CtrlCallbackPtr callback, void* callbackData)
{
    const int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, label, top, left);
    if (button < 0) return button;
    SetCtrlAttribute(panel, button, ATTR_WIDTH, width);
    SetCtrlAttribute(panel, button, ATTR_HEIGHT, height);
    SetCtrlAttribute(panel, button, ATTR_LABEL_POINT_SIZE, style.labelPoints);
    SetCtrlAttribute(panel, button, ATTR_LABEL_COLOR, style.labelColor);
    SetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, style.color);
    InstallCtrlCallback(panel, button, callback, callbackData);
    return button;
}

void AddLink(int panel, int text, int start, int length, int control)
{
    SetCtrlAttribute(panel, text, ATTR_LINK_CONTROL, control);
    SetCtrlAttribute(panel, text, ATTR_LINK_START, start);
    SetCtrlAttribute(panel, text, ATTR_LINK_LENGTH, length);
}

void ShowLevelCaption(int panel, int control, LevelSetting level)
{
    TextField setting{};
    FormatLevelSetting(level, setting);
    const std::string caption = std::string(kEffectsCaption) + " (" + setting.data() + ")";
    SetCtrlVal(panel, control, caption.c_str());
}
