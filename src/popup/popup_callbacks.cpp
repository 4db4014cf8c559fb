#include "popup/popup_callbacks.h"

#define RIVIZUZI_STUB_CALLBACK(Name)                                                                    \
    int Name(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)                                                                                         \
    {                                                                                                    \
        (void)panel, (void)control, (void)event, (void)callbackData, (void)eventData1, (void)eventData2; \
        return 0;                                                                                        \
    }

int GetPopupIndex() { return -1; }
int ExitPopupFunction(int panel)
{
    (void)panel;
    return 0;
}
RIVIZUZI_STUB_CALLBACK(ExitPopupCallback)
RIVIZUZI_STUB_CALLBACK(CloseAllCallback)
RIVIZUZI_STUB_CALLBACK(ResetPositionCallback)
RIVIZUZI_STUB_CALLBACK(SpellRingCallback)
RIVIZUZI_STUB_CALLBACK(GoToLinkCallback)
RIVIZUZI_STUB_CALLBACK(GoToLink2Callback)
int SpellPanelCallback(int panel, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)event, (void)callbackData, (void)eventData1, (void)eventData2;
    return 0;
}
