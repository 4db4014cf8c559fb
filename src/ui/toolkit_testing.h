// What tests and benchmarks reach into the toolkit with: the dialog hook,
// running a control's commit, failing loads, pretended screens, and a look at
// the widgets behind panels and controls. Outside the toolkit layer the
// program never includes this header (scripts/check-includes.sh checks it).
#pragma once

#include <string>
#include <vector>

#include "ui/toolkit.h"

class QLabel;
class QRect;
class QWidget;

// Modal dialogs go through one hook. Tests install one that records every
// message and answers file choosers, so no test ever blocks on a dialog.
struct DialogHook {
    virtual ~DialogHook() = default;
    virtual void Message(const char* title, const char* text) = 0;
    // Returns a FileSelectPopup result; fills path for results 1 and 2.
    virtual int FileSelect(const char* defaultFileName, const char* title, std::string& path) = 0;
    // Called just before FileSelect: the folder the chooser opens in and its
    // filters, as the chooser would list them ("Name (patterns)" joined by
    // ";;").
    virtual void FileSelectPlace(const char* directory, const char* filters)
    {
        (void)directory, (void)filters;
    }
    // Returns the index of the item of a popup menu to choose, or -1.
    virtual int PopupMenu(const std::vector<std::string>& items)
    {
        (void)items;
        return -1;
    }
};
// nullptr restores the real dialogs.
void SetDialogHook(DialogHook* hook);

// Facts about a loaded resource file, for the consistency test.
struct ResourceControlInfo {
    int panelNumber;
    int ctrlId;
    std::string objectName;
    std::string kind;  // "button", "text", "list", "check", "numeric", "ring", "message", "frame", "other"
    std::string callback;
};
struct ResourcePanelInfo {
    int panelNumber;
    std::string objectName;
    std::string callback;
};
// Reads a resource file without showing anything. Returns false when the
// file cannot be read.
bool InspectResource(const char* fileName, std::vector<ResourcePanelInfo>& panels,
                     std::vector<ResourceControlInfo>& controls);

// Runs a control's commit callback as the user's action on it would (also
// for controls the canvas draws, which have no widget to click).
int CommitCtrl(int panel, int control);

// The number of panels alive (loaded and not discarded): leak checks.
int CountLivePanels();

// Tests make the next `count` calls of LoadPanel fail as a missing or broken
// resource file would, to check what a window does when it cannot load.
void FailNextLoadPanelsForTesting(int count);

// Where top-level panels may stand. DisplayPanel keeps a window on the
// screens: a panel shown without a position (SetPanelPos, ATTR_TOP,
// ATTR_LEFT) is centred on the primary screen; a window that does not lie
// within the screens' available areas, frame included, is moved onto the one
// it mostly covers (or the nearest), up or left as far as needed to fit and
// never with its title bar above the top. Moving a shown window with
// SetPanelPos keeps it on the screens the same way.
// Tests pretend the desktop has these available areas (desktop pixels; the
// first is the primary screen) and that the window manager adds frameTop
// pixels above each window and frameSide pixels on its other sides. An empty
// list returns to the real screens.
struct ScreenArea {
    int top;
    int left;
    int width;
    int height;
};
void SetScreensForTesting(const std::vector<ScreenArea>& areas, int frameTop = 0, int frameSide = 0);

// ---- What tests see of panels and controls --------------------------------

// The window of a panel; nullptr when there is no such panel.
QWidget* PanelWindow(int panel);
// The widget that holds the panel's run-time controls (the panel's window,
// or its canvas).
QWidget* PanelCanvas(int panel);
// The widget of a control; nullptr for a control drawn by a canvas, or none.
QWidget* ControlWidget(int panel, int control);
// The caption of a control made at run time with a widget of its own.
QLabel* ControlCaption(int panel, int control);
// The kind of a control as InspectResource names it ("button", "string",
// ...); empty when the panel has no such control.
std::string ControlKind(int panel, int control);
// The callback and callback data installed on a control.
CtrlCallbackPtr ControlCallback(int panel, int control);
void* ControlCallbackData(int panel, int control);
// Where a control's link stands: in its widget, or on its canvas for a
// drawn one. Empty without a link in view.
QRect LinkPlace(int panel, int control);
// A control that a canvas draws: its caption's text and place. False for a
// control with a widget of its own, or none.
bool PaintedCaption(int panel, int control, std::string& caption, QRect& place);
