// Controls that popups add at run time: read-only text fields with a caption
// and command buttons, each in the one style its popups share.
#pragma once

#include "effects/effects.h"
#include "ui/toolkit.h"

// Adds a read-only text field at (top, left) with the given width, its label
// 50 pixels to its left and centred on it vertically: label yellow, text
// white, both 12-point bold, on a transparent background. Shows `value`.
// Returns the new control's id (negative on failure).
int CreateStringControl(int panel, int left, int top, int width, const char* label, const char* value);

// How a run-time text field looks: where its caption stands and its text size.
struct FieldStyle {
    int labelOffset;  // the label's left edge stands this far left of the field
    int points;       // point size of label and text; 0 keeps the toolkit's default
    bool labelBold;
};
// Adds a read-only text field at (top, left) in the given style (label
// yellow, text white and bold, both on a transparent background), its caption
// centred on it vertically. Returns the new control's id (negative on failure).
int AddTextField(int panel, int left, int top, int width, const char* label, const char* value,
                 const FieldStyle& style);

// How a run-time command button looks.
struct ButtonStyle {
    int labelPoints;
    int labelColor;
    int color;
};
// Adds a command button with the given place, look and commit callback.
// Returns the new control's id (negative on failure).
int AddButton(int panel, const char* label, int top, int left, int width, int height,
              const ButtonStyle& style, CtrlCallbackPtr callback, void* callbackData);

// Makes the bytes [start, start + length) of the UTF-8 text a text control
// shows a link that does what `control` (the "Link" button beside it) does.
void AddLink(int panel, int text, int start, int length, int control);

// Shows in a text control the level setting a window's sentences were made
// at, as "Effects (values over levels)" or "Effects (values at level 40)".
void ShowLevelCaption(int panel, int control, LevelSetting level);
