// Panels and controls of main.uir.
#pragma once

#include <array>

#include "ui/resource_check.h"

inline constexpr const char* MAIN_UIR = "main.uir";

// Panel 1: the main window.
inline constexpr int MAINPANEL = 1;
inline constexpr int MAINPANEL_LEVEL = 1;            // numeric 1..65, DisplayAsLevelCallback
inline constexpr int MAINPANEL_LEVEL_ENABLE = 2;     // check box, EnableLevelCallback
inline constexpr int MAINPANEL_BROWSE = 3;           // BrowseFilesCallback
inline constexpr int MAINPANEL_QUIT = 4;             // ExitCallback
inline constexpr int MAINPANEL_STATUS = 5;           // status line
inline constexpr int MAINPANEL_SEARCH_TEXT = 6;      // text box, SearchStringCallback (also as typed)
inline constexpr int MAINPANEL_CLASS = 7;            // ring, SearchStringCallback
inline constexpr int MAINPANEL_SEARCH = 8;           // button, SearchStringCallback
inline constexpr int MAINPANEL_SPELL_LIST = 9;       // list, SpellRingCallback
inline constexpr int MAINPANEL_CLOSE_ALL = 10;       // CloseAllCallback
inline constexpr int MAINPANEL_RESET_POS = 11;       // ResetPositionCallback
inline constexpr int MAINPANEL_SPELL_NUM = 12;       // numeric, read by DumpSpellCallback
inline constexpr int MAINPANEL_DUMP_SPELL = 13;      // DumpSpellCallback
inline constexpr int MAINPANEL_DUMP_ATTRIB = 14;     // DumpAttributeCallback
inline constexpr int MAINPANEL_DUMP_ALL = 15;        // DumpAllSpellsCallback
inline constexpr int MAINPANEL_DUMP_SPECIAL = 16;    // DumpSpecialCallback
inline constexpr int MAINPANEL_EFFECT = 17;          // ring, SearchStringCallback
inline constexpr int MAINPANEL_COMPARE = 18;         // CompareFilesCallback
inline constexpr int MAINPANEL_FILTER = 19;          // text box, FilterTextCallback (also as typed)
inline constexpr int MAINPANEL_FILTER_MESSAGE = 20;  // what is wrong with the filter, or empty
inline constexpr int MAINPANEL_FILTER_FIELD = 21;    // ring, FilterFieldCallback
inline constexpr int MAINPANEL_FILTER_VALUE = 22;    // ring of the field's values in the loaded file
inline constexpr int MAINPANEL_FILTER_ADD = 23;      // FilterAddCallback

// Panel 2: the wait panel shown while the spell file loads.
inline constexpr int WAITPANEL = 2;
inline constexpr int WAITPANEL_TEXT = 1;

inline constexpr std::array kMainUirControls = {
    ExpectedControl{MAINPANEL, MAINPANEL_LEVEL, "numeric"},
    ExpectedControl{MAINPANEL, MAINPANEL_LEVEL_ENABLE, "check"},
    ExpectedControl{MAINPANEL, MAINPANEL_BROWSE, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_QUIT, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_STATUS, "message"},
    ExpectedControl{MAINPANEL, MAINPANEL_SEARCH_TEXT, "text"},
    ExpectedControl{MAINPANEL, MAINPANEL_CLASS, "ring"},
    ExpectedControl{MAINPANEL, MAINPANEL_SEARCH, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_SPELL_LIST, "list"},
    ExpectedControl{MAINPANEL, MAINPANEL_CLOSE_ALL, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_RESET_POS, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_SPELL_NUM, "numeric"},
    ExpectedControl{MAINPANEL, MAINPANEL_DUMP_SPELL, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_DUMP_ATTRIB, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_DUMP_ALL, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_DUMP_SPECIAL, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_EFFECT, "ring"},
    ExpectedControl{MAINPANEL, MAINPANEL_COMPARE, "button"},
    ExpectedControl{MAINPANEL, MAINPANEL_FILTER, "text"},
    ExpectedControl{MAINPANEL, MAINPANEL_FILTER_MESSAGE, "message"},
    ExpectedControl{MAINPANEL, MAINPANEL_FILTER_FIELD, "ring"},
    ExpectedControl{MAINPANEL, MAINPANEL_FILTER_VALUE, "ring"},
    ExpectedControl{MAINPANEL, MAINPANEL_FILTER_ADD, "button"},
    ExpectedControl{WAITPANEL, WAITPANEL_TEXT, "message"},
};
