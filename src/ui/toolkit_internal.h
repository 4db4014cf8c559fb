// Internal state of the toolkit layer: panels, their controls and the
// dispatch of Qt signals to the program's callbacks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/toolkit.h"

class QLabel;

namespace toolkit {

enum class Kind { Button, Text, List, Check, Numeric, Ring, Message, Frame, String, Other };

const char* KindName(Kind kind);
Kind KindOf(QWidget* widget);

struct Control {
    int id = 0;
    Kind kind = Kind::Other;
    QPointer<QWidget> widget;
    QPointer<QLabel> label;  // the caption of a control made at run time
    CtrlCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
};

struct Panel {
    int handle = 0;
    int parent = 0;
    QPointer<QWidget> window;
    QPointer<QWidget> canvas;       // where controls made at run time go
    std::vector<Control> controls;  // indexed by control id; id 0 unused
    PanelCallbackPtr callback = nullptr;
    void* callbackData = nullptr;
};

Panel* FindPanel(int handle);
Panel* PanelOfWidget(const QWidget* window);
Control* FindControl(int panel, int control);

// Registers a control of a panel and wires its commit signal.
Control& AddControl(Panel& panel, int id, QWidget* widget);

// Runs a control's callback for a commit.
void FireCommit(int panel, int control);

// Runs a panel's callback; returns true when it ran.
bool FirePanelEvent(int panel, int event, int eventData1);

// Grows the canvas so that it covers the widget (scroll areas follow).
void CoverChild(Panel& panel, QWidget* child);

// Path of a resource file beside the executable.
QString ResourcePath(const char* fileName);

// Watches key presses, close boxes and resizes of panel windows.
class EventWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace toolkit
