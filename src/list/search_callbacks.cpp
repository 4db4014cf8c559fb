#include "list/search_callbacks.h"

#include "app/main_uir.h"
#include "list/search.h"
#include "ui/toolkit.h"

int SearchStringCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT) return 0;

    TextField text{};
    int classValue = 0;
    if (GetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text) < 0) return -1;
    if (GetCtrlVal(panel, MAINPANEL_CLASS, &classValue) < 0) return -1;
    if (ClearListCtrl(panel, MAINPANEL_SPELL_LIST) < 0) return -1;
    PopulateSpellList(panel, MAINPANEL_SPELL_LIST, text.data(), classValue);
    return 0;
}

void PopulateSpellList(int panel, int list, char* searchText, int classValue)
{
    ForEachSpellRow(searchText, classValue,
                    [&](const char* label, int index) { InsertListItem(panel, list, -1, label, index); });
}
