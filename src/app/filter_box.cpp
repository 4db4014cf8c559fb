#include "app/filter_box.h"

#include <string>
#include <vector>

#include "app/list_filter.h"
#include "app/main_uir.h"
#include "app/search_callbacks.h"
#include "find/filter_pickers.h"
#include "ui/toolkit.h"

namespace {

// The box holds 8000 characters (main.uir), at most four bytes each in UTF-8.
constexpr std::size_t kBoxBytes = 4 * 8000 + 1;
constexpr int kErrorColor = 0xC00000;
constexpr int kMarkedBoxColor = 0xFFE0E0;
constexpr int kBoxColor = 0xFFFFFF;

void ShowMessage(int panel, const char* message)
{
    SetCtrlVal(panel, MAINPANEL_FILTER_MESSAGE, message);
    SetCtrlAttribute(panel, MAINPANEL_FILTER_MESSAGE, ATTR_TEXT_COLOR, kErrorColor);
    SetCtrlAttribute(panel, MAINPANEL_FILTER, ATTR_TEXT_BGCOLOR,
                     message[0] != '\0' ? kMarkedBoxColor : kBoxColor);
}

// Parses the box; a good expression replaces the list's filter and the list
// follows. Returns 0, or -1 when the box cannot be read.
int ApplyFilterBox(int panel)
{
    std::vector<char> text(kBoxBytes);
    if (GetCtrlVal(panel, MAINPANEL_FILTER, text.data(), text.size()) < 0) return -1;
    FilterError error;
    if (!SetListFilter(text.data(), error)) {
        ShowMessage(panel, error.message.c_str());
        return 0;
    }
    ShowMessage(panel, "");
    return SearchStringCallback(panel, MAINPANEL_FILTER, EVENT_COMMIT, nullptr, 0, 0);
}

}  // namespace

int FilterTextCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT && event != EVENT_VAL_CHANGED) return 0;
    return ApplyFilterBox(panel);
}

int FilterFieldCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    int picker = 0;
    if (GetCtrlVal(panel, MAINPANEL_FILTER_FIELD, &picker) < 0) return -1;
    ClearListCtrl(panel, MAINPANEL_FILTER_VALUE);
    const std::vector<std::string> values = FilterPickerValues(picker);
    for (std::size_t i = 0; i < values.size(); ++i)
        InsertListItem(panel, MAINPANEL_FILTER_VALUE, -1, values[i].c_str(), static_cast<int>(i));
    if (!values.empty()) SetCtrlIndex(panel, MAINPANEL_FILTER_VALUE, 0);
    SetCtrlAttribute(panel, MAINPANEL_FILTER_ADD, ATTR_DIMMED, values.empty() ? 1 : 0);
    return 0;
}

int FilterAddCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;
    int picker = 0;
    int value = 0;
    TextField label{};
    if (GetCtrlVal(panel, MAINPANEL_FILTER_FIELD, &picker) < 0 ||
        GetCtrlVal(panel, MAINPANEL_FILTER_VALUE, &value) < 0 ||
        GetLabelFromIndex(panel, MAINPANEL_FILTER_VALUE, value, label) < 0)
        return -1;
    std::vector<char> text(kBoxBytes);
    if (GetCtrlVal(panel, MAINPANEL_FILTER, text.data(), text.size()) < 0) return -1;
    const std::string joined = AddFilterCondition(text.data(), FilterPickerCondition(picker, label.data()));
    if (joined.size() >= kBoxBytes) return -1;
    SetCtrlVal(panel, MAINPANEL_FILTER, joined.c_str());
    return ApplyFilterBox(panel);
}

void FillFilterSelectors(int panel)
{
    int picker = 0;
    if (GetCtrlVal(panel, MAINPANEL_FILTER_FIELD, &picker) < 0) {
        ClearListCtrl(panel, MAINPANEL_FILTER_FIELD);
        for (std::size_t i = 0; i < FilterPickers().size(); ++i)
            InsertListItem(panel, MAINPANEL_FILTER_FIELD, -1, FilterPickers()[i].label, static_cast<int>(i));
        SetCtrlIndex(panel, MAINPANEL_FILTER_FIELD, 0);
    }
    FilterFieldCallback(panel, MAINPANEL_FILTER_FIELD, EVENT_COMMIT, nullptr, 0, 0);
}

void ClearFilterBox(int panel)
{
    ClearListFilter();
    SetCtrlVal(panel, MAINPANEL_FILTER, "");
    ShowMessage(panel, "");
}
