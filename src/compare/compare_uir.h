// Panel and controls of compare.uir, the comparison window.
#pragma once

#include <array>

#include "ui/resource_check.h"

inline constexpr const char* COMPARE_UIR = "compare.uir";

inline constexpr int COMPAREPANEL = 1;          // panel callback ComparePanelCallback
inline constexpr int COMPAREPANEL_SUMMARY = 1;  // what was compared and found
inline constexpr int COMPAREPANEL_KIND = 2;     // ring: all, removed, added, changed; CompareFilterCallback
inline constexpr int COMPAREPANEL_FILTER = 3;   // text box: part of a name; CompareFilterCallback
inline constexpr int COMPAREPANEL_LIST = 4;     // list of differences; CompareListCallback
inline constexpr int COMPAREPANEL_FILTER_BUTTON = 5;  // CompareFilterCallback
inline constexpr int COMPAREPANEL_DETAIL_TITLE = 6;   // the selected spell
inline constexpr int COMPAREPANEL_OPEN = 7;           // CompareOpenCallback
inline constexpr int COMPAREPANEL_CLOSE = 8;          // CompareCloseCallback
inline constexpr int COMPAREPANEL_SAVE_REPORT = 9;    // CompareSaveReportCallback
inline constexpr int COMPAREPANEL_NOTICE = 10;        // says when the comparison is out of date
inline constexpr int COMPAREPANEL_OLD_HEADING = 11;   // above the old column
inline constexpr int COMPAREPANEL_NEW_HEADING = 12;   // above the new column, moved with it

// The selected spell's fields are run-time controls of the window's
// scrolling canvas: one row per field, its caption left, the old text and the
// new text in two columns that share the pane's width, a long text over as
// many lines as it needs.
inline constexpr int COMPARE_ROW_FIRST_TOP = 4;
inline constexpr int COMPARE_ROW_STEP = 24;   // a row of one line
inline constexpr int COMPARE_LINE_STEP = 18;  // each further line
inline constexpr int COMPARE_LABEL_LEFT = 4;
inline constexpr int COMPARE_OLD_LEFT = 110;
inline constexpr int COMPARE_COLUMN_GAP = 10;
inline constexpr int COMPARE_RIGHT_ROOM = 20;  // the canvas keeps this much right of its fields
inline constexpr int COMPARE_FIELD_MIN_WIDTH = 200;

inline constexpr std::array kCompareUirControls = {
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_SUMMARY, "message"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_KIND, "ring"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_FILTER, "text"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_LIST, "list"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_FILTER_BUTTON, "button"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_DETAIL_TITLE, "message"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_OPEN, "button"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_CLOSE, "button"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_SAVE_REPORT, "button"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_NOTICE, "message"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_OLD_HEADING, "message"},
    ExpectedControl{COMPAREPANEL, COMPAREPANEL_NEW_HEADING, "message"},
};
