// Internal state of the toolkit layer: panels, their controls and the
// dispatch of Qt signals to the program's callbacks.
#pragma once

#include <QColor>
#include <QFontInfo>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/toolkit.h"

class QApplication;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPainter;

namespace toolkit {

enum class Kind { Button, Text, List, Check, Numeric, Ring, Message, Frame, String, Other };

const char* KindName(Kind kind);
Kind KindOf(QWidget* widget);

// A control made at run time on a scrolling canvas: no widget of its own,
// the canvas draws it. Thousands of them cost little.
// A caption's left edge when nobody asked for one: just left of its control.
inline constexpr int kLabelLeftDefault = -0x7fffffff;

// Gap kept between a caption and its control.
inline constexpr int kLabelGap = 4;

// Left edge of a caption of this width: where it was asked to stand, moved
// further left when it would otherwise run into its control's text.
inline int CaptionLeft(int requested, int width, int controlLeft)
{
    int latest = controlLeft - kLabelGap - width;
    return requested == kLabelLeftDefault || requested > latest ? latest : requested;
}

struct PaintedItem {
    int style = CTRL_STRING;
    QRect rect;
    QRect labelRect;
    QString text;
    QString label;
    int textColor = 0x000000;
    int labelColor = 0x000000;
    int textBackground = VAL_TRANSPARENT;
    int labelBackground = VAL_TRANSPARENT;
    int buttonColor = 0xD0D0D0;
    int textPointSize = 0;  // 0: the canvas's own size
    int labelPointSize = 0;
    bool textBold = false;
    bool labelBold = false;
    bool visible = true;
    int labelLeft = kLabelLeftDefault;  // the caption's left as asked for
    bool labelTopSet = false;
    int markStart = 0;  // marked bytes of the UTF-8 text
    int markLength = 0;
    int linkStart = 0;  // linked bytes of the UTF-8 text
    int linkLength = 0;
    int linkControl = 0;  // the control the link commits; 0: this one
};

// Text selected with the mouse on a canvas: from a place in one painted
// field (its index in Panel::painted and a character offset) to a place in
// the same or another field. No selection while anchorItem is -1.
struct TextSelection {
    int anchorItem = -1;
    int anchorOffset = 0;
    int focusItem = -1;
    int focusOffset = 0;
};

struct Control {
    int id = 0;
    Kind kind = Kind::Other;
    QPointer<QWidget> widget;
    QPointer<QLabel> label;  // the caption of a control made at run time
    CtrlCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
    int painted = -1;                   // index into Panel::painted for a painted control
    int labelLeft = kLabelLeftDefault;  // the caption's left as asked for
};

// A widget that keeps its distances to some window edges (property
// "anchors"): its place at the panel's resource size and the edges it keeps.
struct Anchored {
    QPointer<QWidget> widget;
    QRect base;
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
};

struct Panel {
    int handle = 0;
    int parent = 0;
    QPointer<QWidget> window;
    QPointer<QWidget> canvas;       // where controls made at run time go
    std::vector<Control> controls;  // indexed by control id; id 0 unused
    std::vector<PaintedItem> painted;
    bool paintedCanvas = false;  // run-time controls are drawn by the canvas
    TextSelection selection;     // on the painted canvas
    PanelCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
    std::vector<Anchored> anchored;
    QSize baseSize;       // the size the anchored widgets' places refer to
    bool placed = false;  // a position was given (SetPanelPos, ATTR_TOP, ATTR_LEFT)
};

Panel* FindPanel(int handle);
// Every loaded panel, by handle.
const std::unordered_map<int, std::unique_ptr<Panel>>& AllPanels();
Panel* PanelOfWidget(const QWidget* window);
Control* FindControl(int panel, int control);

// Registers a control of a panel and wires its commit signal.
Control& AddControl(Panel& panel, int id, QWidget* widget);

// Runs a control's callback for a commit, or for another event.
void FireCommit(int panel, int control);
// Runs a control's callback for any event.
void FireCtrlEvent(int panel, int control, int event);

// Reads the "anchors" of the panel's widgets at load time.
void CollectAnchors(Panel& panel);
// Places the anchored widgets for the panel window's current size.
void PlaceAnchored(Panel& panel);

// Runs a panel's callback; returns true when it ran.
bool FirePanelEvent(int panel, int event, int eventData1);

// Grows the canvas so that it covers the widget or area (scroll areas follow).
void CoverChild(Panel& panel, QWidget* child);
void CoverChild(Panel& panel, const QRect& area);

// Painted controls of a canvas (toolkit_canvas.cpp, toolkit_painted.cpp,
// toolkit_canvas_select.cpp).
void InstallCanvasPainter(Panel& panel);
int NewPaintedCtrl(Panel& panel, int style, const char* label, int top, int left);
int GetPaintedAttribute(Panel& panel, Control& control, int attribute, int* value);
int SetPaintedAttribute(Panel& panel, Control& control, int attribute, int value);
void SetPaintedText(Panel& panel, Control& control, const QString& text);
void SetPaintedLabel(Panel& panel, Control& control, const QString& label);
QString PaintedText(const Panel& panel, const Control& control);
inline bool IsLinkAttribute(int attribute)
{
    return attribute == ATTR_LINK_START || attribute == ATTR_LINK_LENGTH || attribute == ATTR_LINK_CONTROL;
}
// Links on texts and lists with widgets of their own (toolkit_links.cpp);
// -1 for a control that cannot hold one.
int GetWidgetLink(const Control& control, int attribute, int* value);
int SetWidgetLink(Panel& panel, Control& control, int attribute, int value);
// Where a text widget's link stands in it; empty without one in view.
QRect LinkArea(const QWidget* widget);
// Where a drawn field's link stands on its canvas; empty without one in view.
QRect PaintedLinkRect(const QWidget* canvas, const PaintedItem& item);
// What a focus mark goes around on a widget: its link, or all of it (in its
// parent's coordinates).
QRect FocusArea(const QWidget* widget);
// Commits the control a link names (ATTR_LINK_CONTROL): `target`, or the
// link's own control `self` for 0.
inline void FireLink(int panel, int self, int target)
{
    FireCommit(panel, target > 0 ? target : self);
}
// The text selected on the painted canvas: the part of each field in the
// selection, fields on one line joined by a tab, lines by a line feed.
QString SelectedPaintedText(const Panel& panel);
void ClearPaintedSelection(Panel& panel);

// A font's size in the toolkit's unit: the pixel height of its text (the
// program's layout is in pixels, so its text sizes are too).
// A place's top, left, width or height as the attribute of that name; false
// for any other attribute.
inline bool PlaceAttribute(const QRect& place, int attribute, int* value)
{
    switch (attribute) {
        case ATTR_TOP:
            *value = place.top();
            return true;
        case ATTR_LEFT:
            *value = place.left();
            return true;
        case ATTR_WIDTH:
            *value = place.width();
            return true;
        case ATTR_HEIGHT:
            *value = place.height();
            return true;
        default:
            return false;
    }
}

inline int TextSizeOf(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

// A colour of the toolkit (0xRRGGBB) as Qt's.
inline QColor ColorOf(int rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Text bytes (UTF-8, or Latin-1 when not valid UTF-8) as a QString.
QString FromBytes(const char* text);

// Copies a text as UTF-8 into a buffer of `size` bytes, cut to fit at a
// character boundary, so that what arrives is still valid UTF-8.
void CopyUtf8(const QString& text, char* out, std::size_t size);

// Sets a text label's text; one cut off by its width shows it whole in a
// tooltip.
void SetLabelText(QWidget* w, const QString& text);

// A tooltip that shows the text as it stands: a tooltip reads text that
// looks like markup as markup, so such a text is escaped (runs of blanks
// kept); any other text is left as it is.
QString PlainToolTip(const QString& text);

// Lets each row of `list` that its width cuts off show its whole text as a
// tooltip.
void ShowCutRowsAsTips(QListWidget* list);

// Path of a resource file (see FindResourceFile).
QString ResourcePath(const char* fileName);
// Loads a resource file's widget tree (read once, then kept), or nullptr.
QWidget* LoadTree(const char* fileName);
// The widget of panel `panelNumber` in a resource file's tree, or nullptr.
QWidget* FindPanelWidget(QWidget* root, int panelNumber);
// The callback a panel's widget names.
QString PanelCallbackName(QWidget* panelWidget);

// Keeps a top-level panel's window, frame included, on the screens.
void KeepOnScreen(Panel& panel);
// The available area of the screen a window's frame lies on most (the
// nearest when on none); an empty rectangle when there is no screen.
QRect ScreenAreaFor(const QRect& frame);

// True while one of the program's callbacks runs.
bool InCallback();
// Starts watching the application's events (once).
void InstallEventWatcher(QApplication* app);
// Watches a panel's window.
void WatchWindow(QWidget* window);

// Focus marks (toolkit_focus.cpp). A panel whose widget has the bool
// property "focusMark" shows a mark around the control with the focus; a
// canvas marks its focused drawn control with the same mark.
inline constexpr int kFocusMarkColor = 0xFFC83D;
inline constexpr int kFocusMarkWidth = 2;
void PaintFocusMark(QPainter& painter, const QRect& around);
// The focus went to `now` (or nowhere): the mark follows it.
void FollowFocus(QWidget* now);
// The marked widget moved, changed size or was shown or hidden.
void PlaceFocusMark();
bool IsMarkedWidget(const QObject* object);
// Return or Enter on a focused command button presses it, as Space does.
// True when the key was taken.
bool PressFocusedButton(QWidget* widget, const QKeyEvent& key);
// Return, Enter or Space with no modifier: the keys that press a focused
// drawn button or link.
bool IsPressKey(const QKeyEvent& key);

// Watches key presses, close boxes and resizes of panel windows.
class EventWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace toolkit
