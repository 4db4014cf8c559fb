#include "list/search_callbacks.h"

int SearchStringCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)event, (void)callbackData, (void)eventData1, (void)eventData2;
    return 0;
}

void PopulateSpellList(int panel, int list, char* searchText, int classValue)
{
    (void)panel, (void)list, (void)searchText, (void)classValue;
}
