// The main window's diagnostic dump commands.
#pragma once

int DumpSpellCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int DumpAttributeCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int DumpAllSpellsCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int DumpSpecialCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
