#include "dump/dump_callbacks.h"

#define RIVIZUZI_STUB_CALLBACK(Name)                                                                    \
    int Name(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)                                                                                         \
    {                                                                                                    \
        (void)panel, (void)control, (void)event, (void)callbackData, (void)eventData1, (void)eventData2; \
        return 0;                                                                                        \
    }

RIVIZUZI_STUB_CALLBACK(DumpSpellCallback)
RIVIZUZI_STUB_CALLBACK(DumpAttributeCallback)
RIVIZUZI_STUB_CALLBACK(DumpAllSpellsCallback)
RIVIZUZI_STUB_CALLBACK(DumpSpecialCallback)
