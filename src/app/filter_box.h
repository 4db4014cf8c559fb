// The main window's filter: the "Filter:" box with its message line, and the
// selectors that write a condition into it. The list applies the last good
// expression (list_filter.h) together with the name, class and effect.
#pragma once

// Each edit of the filter box (and Return): a good expression becomes the
// list's filter and the list is refilled; an unfinished or wrong one shows
// its message under the box and marks the box, and the list keeps its last
// good result. An empty box filters nothing.
int FilterTextCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// A field chosen in the field selector: the value selector offers the texts
// the loaded file holds for it.
int FilterFieldCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
// "Add": joins the chosen field and value to the expression in the box with
// "and" and applies it.
int FilterAddCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// Fills the field selector, and the value selector for the loaded file. Run
// at start and after each load.
void FillFilterSelectors(int panel);

// Forgets the list's filter and empties the box, its message and its mark.
void ClearFilterBox(int panel);
