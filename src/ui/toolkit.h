// The program's user-interface toolkit: panels loaded from resource files,
// controls addressed by integer ids, callbacks bound by name, modal popups
// and one event loop. The program's logic speaks only this interface; the
// implementation draws with Qt Widgets.
//
// Conventions:
//  - Panel handles are positive ints; control ids are unique within their
//    panel. Every operation returns a negative value on failure (a bad
//    handle, an unknown control, a control of the wrong kind).
//  - Positions and sizes are client-area pixels; a position is (top, left).
//    Text sizes (ATTR_*_POINT_SIZE) are pixels too: a size of n draws text n
//    pixels high, so that text fits the pixel layout it was sized for.
//  - Resource files ("*.uir") are Qt Designer XML. Each panel's widget carries
//    an int property "panel" (its number within the file), each control an
//    int property "ctrlId" and, where it has one, a string property
//    "callback" naming a function registered with RegisterCtrlCallback.
//    A panel names its own callback the same way. Resource files are found
//    beside the executable, or in ../share/rivizuzi when installed.
//
// What commits a control (decided here, once):
//  - command button: a click;
//  - text box: Return;
//  - list: activating a row (double click or Return);
//  - check box: toggling it by the user;
//  - numeric control: a change of its value by the user;
//  - selector (ring): choosing an entry (with the mouse or the arrow keys);
//  - the control a link names (ATTR_LINK_START): a click on the link, or
//    Return or Space on it.
// A text box also sends EVENT_VAL_CHANGED to its callback at each edit by
// the user (typing, deleting, pasting), before any Return commits it; a list
// sends EVENT_VAL_CHANGED when the user moves its current row (arrow keys, a
// click). SetCtrlVal and the program's own changes never fire a commit or a
// value change.
//
// Run-time controls (NewCtrl) go into the panel, or into the widget marked
// with the bool property "canvas" (put it inside a QScrollArea to scroll).
// A canvas draws its run-time controls itself instead of giving each a
// widget: tens of thousands cost little, buttons react to the mouse and a
// text cut off by its field shows whole in a tooltip.
//
// Panel callbacks receive EVENT_KEYPRESS for every key (eventData1 is
// VAL_ESC_VKEY for Escape, VAL_DOWN_ARROW_VKEY for the down arrow, otherwise
// the key's Qt code) before the control with the focus gets it, and
// EVENT_CLOSE when the window frame's close box is used; the window stays
// open unless the callback discards it. A panel without a callback hides on
// the close box. EVENT_PANEL_SIZE follows a change of the window's size,
// once its anchored controls have their new places.
//
// Resizing: a control (or any widget of the panel) may carry the string
// property "anchors", a subset of the letters L, T, R, B: the window edges it
// keeps its distance to as the window is resized (without the property: L
// and T, it stays where it is). Anchored to L and R it grows with the width,
// to T and B with the height; to R alone it moves with the right edge. Such a
// panel cannot be made smaller than its resource size. Anchors apply to
// widgets placed directly on the panel, as the resource file places them.
//
// The focus moves with Tab in the order the resource file lists the panel's
// widgets.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "data/text_field.h"

// ---- Event codes ------------------------------------------------------------
inline constexpr int EVENT_COMMIT = 1;
inline constexpr int EVENT_VAL_CHANGED = 2;
inline constexpr int EVENT_KEYPRESS = 7;
inline constexpr int EVENT_CLOSE = 12;
inline constexpr int EVENT_PANEL_SIZE = 13;
inline constexpr int VAL_ESC_VKEY = 768;
inline constexpr int VAL_DOWN_ARROW_VKEY = 3328;

using CtrlCallbackPtr = int (*)(int panel, int control, int event, void* callbackData, int eventData1,
                                int eventData2);
using PanelCallbackPtr = int (*)(int panel, int event, void* callbackData, int eventData1, int eventData2);

// ---- Attributes (one numbering for panels and controls) ---------------------
enum Attribute : int {
    ATTR_TOP = 1,
    ATTR_LEFT,
    ATTR_WIDTH,
    ATTR_HEIGHT,
    ATTR_TITLE,  // string
    ATTR_DIMMED,
    ATTR_VISIBLE,
    ATTR_LABEL_TEXT,  // string
    ATTR_LABEL_TOP,
    ATTR_LABEL_LEFT,
    ATTR_LABEL_WIDTH,   // read only
    ATTR_LABEL_HEIGHT,  // read only
    ATTR_LABEL_COLOR,
    ATTR_LABEL_BGCOLOR,
    ATTR_LABEL_BOLD,
    ATTR_LABEL_POINT_SIZE,
    ATTR_TEXT_COLOR,
    ATTR_TEXT_BGCOLOR,
    ATTR_TEXT_BOLD,
    ATTR_TEXT_POINT_SIZE,
    ATTR_FRAME_COLOR,
    ATTR_CMD_BUTTON_COLOR,
    // A run-time text field of a canvas can mark part of its text: the
    // bytes [start, start + length) of the UTF-8 text it shows are drawn
    // bold on the highlight colour. A length of 0 marks nothing.
    ATTR_TEXT_MARK_START,
    ATTR_TEXT_MARK_LENGTH,
    // A text (a run-time text field, drawn or not, or a fixed text) can hold
    // a link: the bytes [start, start + length) of the UTF-8 text it shows
    // (a length past its end: the rest of it) are drawn in the window's link
    // colour (the Link colour of its palette), underlined under the mouse,
    // with a hand cursor. A click on the link, or Return or Space while it
    // has the focus (Tab reaches it as it does a button), commits the control
    // ATTR_LINK_CONTROL names (0: the text itself), as that control's own
    // commit does. A length of 0: no link. On a list, a length other than 0
    // makes each row a link: a click on a row commits the list, as a double
    // click does, and so does Space.
    ATTR_LINK_START,
    ATTR_LINK_LENGTH,
    ATTR_LINK_CONTROL,
};

// Colours are 0xRRGGBB; this value means "no colour, see through".
inline constexpr int VAL_TRANSPARENT = 0x1000000;

// Styles of controls made at run time.
enum CtrlStyle : int {
    CTRL_STRING = 1,  // a one-line text field (read-only) with a label
    CTRL_SQUARE_COMMAND_BUTTON,
    CTRL_TEXT_MSG,  // a plain text
};

// FileSelectPopup results.
inline constexpr int VAL_NO_FILE_SELECTED = 0;
inline constexpr int VAL_EXISTING_FILE_SELECTED = 1;
inline constexpr int VAL_NEW_FILE_SELECTED = 2;
// A path was chosen that does not fit the 260-byte buffer (nothing written).
inline constexpr int VAL_PATH_TOO_LONG = -2;
inline constexpr int VAL_OK_BUTTON = 3;    // button-label code: "OK"
inline constexpr int VAL_SAVE_BUTTON = 1;  // "Save": the chooser asks for a file to write

// ---- Run-time ---------------------------------------------------------------

// Starts the toolkit (creates the application object if there is none).
// Returns 1 on success, 0 on failure.
int InitToolkit(int argc, char* argv[]);

int RunUserInterface();
int QuitUserInterface(int returnCode);
// Runs callback(callbackData) once from the event loop, after the events
// already waiting (a window just shown is drawn first).
using DeferredCallbackPtr = void (*)(void* callbackData);
int PostDeferredCall(DeferredCallbackPtr callback, void* callbackData);
// Resource files are found beside the executable (a build tree) or in
// ../share/rivizuzi (an installed tree). False when neither holds fileName;
// `problem` then names the file and both folders.
bool FindResourceFile(const char* fileName, std::string& problem);
// Lets pending events (painting included) run now.
void ProcessDrawEvents();
int SetSystemAttribute(int attribute, int value);
void SetWaitCursor(int on);

// ---- Panels -----------------------------------------------------------------
int LoadPanel(int parentPanel, const char* fileName, int panelNumber);
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
int SetPanelPos(int panel, int top, int left);
int GetPanelAttribute(int panel, int attribute, int* value);
int SetPanelAttribute(int panel, int attribute, int value);
int SetPanelAttribute(int panel, int attribute, const char* value);
int InstallPanelCallback(int panel, PanelCallbackPtr callback, void* callbackData);
// Sizes the panel's canvas to the visible run-time controls it holds, larger
// or smaller, and scrolls it back to its top left.
int FitCanvas(int panel);
// The width of the panel's canvas in view, a vertical scroll bar's room
// taken off whether or not one shows; -1 without a canvas.
int CanvasViewWidth(int panel);
// The lines a run-time text field of a canvas `width` pixels wide would show
// `text` (UTF-8) in, in its font, its marked bytes bold as they are drawn:
// broken between words, or inside a word longer than a line. Writes the byte
// offset each line starts at (the first is 0) into `starts`, at most
// `maxStarts` of them, and returns the number of lines; -1 for no such field.
int BreakTextLines(int panel, int control, const char* text, int markStart, int markLength, int width,
                   int* starts, int maxStarts);

// ---- Controls ---------------------------------------------------------------
int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, double* value);
int GetCtrlVal(int panel, int control, char* value, std::size_t size);
int GetCtrlVal(int panel, int control, TextField& value);
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char* value);
int GetCtrlAttribute(int panel, int control, int attribute, int* value);
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, const char* value);
int NewCtrl(int panel, int style, const char* label, int top, int left);
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void* callbackData);
// Gives a control the keyboard focus (no commit).
int SetActiveCtrl(int panel, int control);
// The control of the panel that has (or, in an inactive window, last had) the
// keyboard focus; negative when none has it.
int GetActiveCtrl(int panel);

// Lists and selectors (rings): rows of text, each with an int value. The
// control's value (GetCtrlVal) is the value of its current row.
int ClearListCtrl(int panel, int control);
int InsertListItem(int panel, int control, int index, const char* label, int value);
int GetNumListItems(int panel, int control, int* count);
// The text of row `index` (UTF-8), cut to fit.
int GetLabelFromIndex(int panel, int control, int index, TextField& label);
// Makes row `index` the current row (no commit).
int SetCtrlIndex(int panel, int control, int index);

// ---- Modal popups -----------------------------------------------------------
int MessagePopup(const char* title, const char* message);
// Writes the chosen path (at most 259 characters) into pathName, which must
// hold SPELL_FIELD_CHARS bytes; on cancel pathName is left as it was, and so
// it is for a longer path, which gives VAL_PATH_TOO_LONG. The chooser opens
// in defaultDirectory ("" for the working directory) and offers one filter
// per pattern of fileTypeList ("spells_us.txt; *.txt; *.*"), "*.*" as
// "All files". With VAL_SAVE_BUTTON the chooser offers a new name and asks
// before a file is replaced.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileName, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char* pathName);
// Shows no dialog from now on: each message goes to standard error and each
// file chooser is cancelled.
void UseConsoleDialogs();

// A menu of `items` shown under the control; returns the index of the item
// the user chose, or -1 when none was chosen.
int RunPopupMenu(int panel, int control, const std::vector<std::string>& items);

// ---- Clipboard --------------------------------------------------------------
// Puts a text on the clipboard: `text` (UTF-8) as plain text and, unless
// `html` is null, `html` as the same in rich form (text/html).
void SetClipboardText(const char* text, const char* html = nullptr);

// Texts shown by a panel can be selected with the mouse: the fixed texts,
// the text fields made at run time, and those a canvas draws (a drag from
// one field to another selects the fields between, a double click one
// field). Ctrl+C copies the selection of the window that has the focus; a
// text box or a list keeps its own Ctrl+C.

// ---- Callback registry ------------------------------------------------------
// Resource files name callbacks; these bind the names to functions.
void RegisterCtrlCallback(const char* name, CtrlCallbackPtr callback);
void RegisterPanelCallback(const char* name, PanelCallbackPtr callback);
CtrlCallbackPtr FindCtrlCallback(const char* name);
PanelCallbackPtr FindPanelCallback(const char* name);
