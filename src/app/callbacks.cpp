// The one place that binds the callback names used by the resource files to
// the program's functions.
#include "app/callbacks.h"

#include "app/app.h"
#include "app/dump_callbacks.h"
#include "app/search_callbacks.h"
#include "compare/compare_callbacks.h"
#include "popup/popup_manager.h"
#include "popup/spell_popup.h"
#include "popup/spell_share.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_share.h"
#include "ui/toolkit.h"

void RegisterProgramCallbacks()
{
    struct CtrlEntry {
        const char* name;
        CtrlCallbackPtr callback;
    };
    static constexpr CtrlEntry kCtrlCallbacks[] = {
        {"ExitCallback", ExitCallback},
        {"BrowseFilesCallback", BrowseFilesCallback},
        {"EnableLevelCallback", EnableLevelCallback},
        {"DisplayAsLevelCallback", DisplayAsLevelCallback},
        {"SearchStringCallback", SearchStringCallback},
        {"SpellRingCallback", SpellRingCallback},
        {"GoToLinkCallback", GoToLinkCallback},
        {"GoToLink2Callback", GoToLink2Callback},
        {"ExitPopupCallback", ExitPopupCallback},
        {"CloseAllCallback", CloseAllCallback},
        {"ResetPositionCallback", ResetPositionCallback},
        {"StackingCallback", StackingCallback},
        {"DumpSpellCallback", DumpSpellCallback},
        {"DumpAttributeCallback", DumpAttributeCallback},
        {"DumpAllSpellsCallback", DumpAllSpellsCallback},
        {"DumpSpecialCallback", DumpSpecialCallback},
        {"CompareFilesCallback", CompareFilesCallback},
        {"CompareFilterCallback", CompareFilterCallback},
        {"CompareListCallback", CompareListCallback},
        {"CompareOpenCallback", CompareOpenCallback},
        {"CompareCloseCallback", CompareCloseCallback},
        {"CompareSaveReportCallback", CompareSaveReportCallback},
        {"SpellCopyCallback", SpellCopyCallback},
        {"SpellCopyMenuCallback", SpellCopyMenuCallback},
        {"StackingCopyCallback", StackingCopyCallback},
        {"StackingCopyMenuCallback", StackingCopyMenuCallback},
    };
    for (const auto& entry : kCtrlCallbacks) RegisterCtrlCallback(entry.name, entry.callback);
    RegisterPanelCallback("MainPanelCallback", MainPanelCallback);
    RegisterPanelCallback("SpellPanelCallback", SpellPanelCallback);
    RegisterPanelCallback("ComparePanelCallback", ComparePanelCallback);
}
