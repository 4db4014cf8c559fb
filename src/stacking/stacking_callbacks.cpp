#include "stacking/stacking_callbacks.h"

int StackingCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)panel, (void)control, (void)event, (void)callbackData, (void)eventData1, (void)eventData2;
    return 0;
}
