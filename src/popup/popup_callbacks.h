// Popup windows: the slot table and cascade, the spell detail panel and the
// callbacks that open panels from the list and from links.
#pragma once

int GetPopupIndex();
int ExitPopupFunction(int panel);
int ExitPopupCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int SpellPanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CloseAllCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int ResetPositionCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int SpellRingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int GoToLinkCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int GoToLink2Callback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
