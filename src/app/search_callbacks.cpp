#include "app/search_callbacks.h"

#include "app/list_filter.h"
#include "app/main_uir.h"
#include "list/search.h"
#include "list/search_status.h"
#include "ui/toolkit.h"

int SearchStringCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2)
{
    (void)control, (void)callbackData, (void)eventData1, (void)eventData2;
    if (event != EVENT_COMMIT && event != EVENT_VAL_CHANGED) return 0;
    const int shown = RefillSpellList(panel);
    if (shown < 0) return -1;
    TextField status{};
    FormatSearchStatus(status, shown, g_numSpells, HasListFilter());
    SetCtrlVal(panel, MAINPANEL_STATUS, status.data());
    return 0;
}

int RefillSpellList(int panel)
{
    TextField text{};
    int classValue = 0;
    int effectId = ANY_EFFECT;
    if (GetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text) < 0) return -1;
    if (GetCtrlVal(panel, MAINPANEL_CLASS, &classValue) < 0) return -1;
    if (GetCtrlVal(panel, MAINPANEL_EFFECT, &effectId) < 0) return -1;
    if (ClearListCtrl(panel, MAINPANEL_SPELL_LIST) < 0) return -1;
    return PopulateSpellList(panel, MAINPANEL_SPELL_LIST, text.data(), classValue, effectId);
}

int PopulateSpellList(int panel, int list, char* searchText, int classValue, int effectId)
{
    return ForEachSpellRow(searchText, classValue, effectId, ListFilter(), [&](const char* label, int index) {
        InsertListItem(panel, list, -1, label, index);
    });
}
