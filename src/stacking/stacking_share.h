// "Copy" on a stacking window (and Ctrl+Shift+C): its header sentences and
// listed spells go on the clipboard as plain text and HTML; the menu beside
// the button also offers them as Markdown.
#pragma once

#include "stacking/stacking_text.h"

// What the stacking window `panel` keeps for its "Copy", begun afresh: the
// window fills it as it shows its slots and lines.
StackingText& ShareStackingWindow(int panel);

// Commit: copies the check as plain text and HTML.
int StackingCopyCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
// Commit: the menu of ways to copy the check.
int StackingCopyMenuCallback(int panel, int control, int event, void* callbackData, int eventData1,
                             int eventData2);
