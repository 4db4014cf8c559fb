// Events: running the program's callbacks for controls and panels, and the
// watcher of key presses, close boxes and resizes of panel windows (anchored
// widgets follow the window's size) and of Ctrl+C on selected texts.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "ui/toolkit_internal.h"
#include "ui/toolkit_testing.h"

namespace toolkit {
namespace {

int g_dispatchDepth = 0;
EventWatcher* g_watcher = nullptr;

// The text selected with the mouse in a window: on its canvas, or in one of
// its texts. Empty when nothing is selected.
QString SelectedText(QWidget* window)
{
    Panel* panel = PanelOfWidget(window);
    QString text = panel ? SelectedPaintedText(*panel) : QString();
    if (!text.isEmpty()) return text;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->hasSelectedText()) return label->selectedText();
    }
    return {};
}

// Ctrl+C in a window copies its selected text, unless the widget with the
// focus copies its own (a text box, a list). True when it was copied.
bool CopySelection(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractItemView*>(focus)) return false;
    const QString text = SelectedText(window);
    if (text.isEmpty()) return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

// A press on a selectable text leaves one selection in its window: the
// other texts' and the canvas's go.
void KeepOneSelection(QLabel* pressed)
{
    if (!(pressed->textInteractionFlags() & Qt::TextSelectableByMouse)) return;
    QWidget* window = pressed->window();
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label != pressed && label->hasSelectedText()) label->setSelection(0, 0);
    }
    if (Panel* panel = PanelOfWidget(window)) ClearPaintedSelection(*panel);
}

}  // namespace

bool InCallback()
{
    return g_dispatchDepth > 0;
}

void InstallEventWatcher(QApplication* app)
{
    if (g_watcher) return;
    g_watcher = new EventWatcher(app);
    app->installEventFilter(g_watcher);
    QObject::connect(app, &QApplication::focusChanged, g_watcher,
                     [](QWidget*, QWidget* now) { FollowFocus(now); });
}

void WatchWindow(QWidget* window)
{
    window->installEventFilter(g_watcher);
}

void FireCommit(int panel, int control)
{
    FireCtrlEvent(panel, control, EVENT_COMMIT);
}

void FireCtrlEvent(int panel, int control, int event)
{
    Control* c = FindControl(panel, control);
    if (!c || !c->callback) return;
    ++g_dispatchDepth;
    c->callback(panel, control, event, c->callbackData, 0, 0);
    --g_dispatchDepth;
}

void CollectAnchors(Panel& panel)
{
    QWidget* window = panel.window;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        const QString edges = widget->property("anchors").toString().toUpper();
        if (edges.isEmpty()) continue;
        panel.anchored.push_back({widget, widget->geometry(), edges.contains('L'), edges.contains('T'),
                                  edges.contains('R'), edges.contains('B')});
    }
    if (panel.anchored.empty()) return;
    panel.baseSize = window->size();
    window->setMinimumSize(panel.baseSize);
}

void PlaceAnchored(Panel& panel)
{
    if (panel.anchored.empty()) return;
    const int dw = std::max(panel.window->width() - panel.baseSize.width(), 0);
    const int dh = std::max(panel.window->height() - panel.baseSize.height(), 0);
    for (const Anchored& a : panel.anchored) {
        if (!a.widget) continue;
        // Kept to both edges of a direction: grows; to the far edge only: moves.
        QRect r = a.base;
        if (a.right && a.left) r.setWidth(r.width() + dw);
        if (a.right && !a.left) r.moveLeft(r.left() + dw);
        if (a.bottom && a.top) r.setHeight(r.height() + dh);
        if (a.bottom && !a.top) r.moveTop(r.top() + dh);
        a.widget->setGeometry(r);
    }
}

bool FirePanelEvent(int handle, int event, int eventData1)
{
    Panel* p = FindPanel(handle);
    if (!p || !p->callback) return false;
    ++g_dispatchDepth;
    p->callback(handle, event, p->callbackData, eventData1, 0);
    --g_dispatchDepth;
    return true;
}

void CoverChild(Panel& panel, QWidget* child)
{
    if (child) CoverChild(panel, child->geometry());
}

void CoverChild(Panel& panel, const QRect& r)
{
    QWidget* canvas = panel.canvas;
    if (!canvas || canvas == panel.window || r.isEmpty()) return;
    QSize need(std::max(canvas->minimumWidth(), r.right() + 20),
               std::max(canvas->minimumHeight(), r.bottom() + 20));
    if (need != canvas->minimumSize()) canvas->setMinimumSize(need);
}

namespace {

// The scroll area a canvas scrolls in, or nullptr.
QScrollArea* ScrollAreaOf(QWidget* canvas)
{
    for (QWidget* w = canvas ? canvas->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) return area;
    }
    return nullptr;
}

}  // namespace

bool EventWatcher::eventFilter(QObject* watched, QEvent* event)
{
    // The key press being delivered, so that its trip up the parents is
    // handled once; cleared by the release that follows. Its key tells it
    // from the next press, which may reuse its address (Ctrl, then C).
    static const QEvent* lastHandled = nullptr;
    static int lastKey = 0;
    if (IsMarkedWidget(watched)) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide)
            PlaceFocusMark();
    }
    switch (event->type()) {
        case QEvent::KeyRelease:
            lastHandled = nullptr;
            break;
        case QEvent::KeyPress: {
            // A key event travels from the focus widget up to its window; handle
            // it once, for the panel whose window holds the receiver.
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* key = static_cast<QKeyEvent*>(event);
            if (!widget || (event == lastHandled && key->key() == lastKey)) break;
            Panel* panel = PanelOfWidget(widget->window());
            if (!panel || !panel->callback) break;
            lastHandled = event;
            lastKey = key->key();
            if (key->matches(QKeySequence::Copy) && CopySelection(widget->window())) return true;
            int code = key->key();
            if (code == Qt::Key_Escape) code = VAL_ESC_VKEY;
            if (code == Qt::Key_Down) code = VAL_DOWN_ARROW_VKEY;
            int handle = panel->handle;
            FirePanelEvent(handle, EVENT_KEYPRESS, code);
            if (!FindPanel(handle)) return true;  // the callback closed the panel
            if (PressFocusedButton(widget, *key)) return true;
            break;
        }
        case QEvent::MouseButtonPress:
            if (auto* label = qobject_cast<QLabel*>(watched)) KeepOneSelection(label);
            break;
        case QEvent::Close: {
            auto* widget = qobject_cast<QWidget*>(watched);
            Panel* panel = widget ? PanelOfWidget(widget) : nullptr;
            if (!panel || !panel->callback) break;
            // The callback decides whether the window goes.
            event->ignore();
            FirePanelEvent(panel->handle, EVENT_CLOSE, 0);
            return true;
        }
        case QEvent::Resize: {
            auto* widget = qobject_cast<QWidget*>(watched);
            Panel* panel = widget ? PanelOfWidget(widget) : nullptr;
            if (!panel) break;
            // A scrolling canvas fills its panel.
            for (QObject* child : widget->children()) {
                if (auto* area = qobject_cast<QScrollArea*>(child)) area->setGeometry(widget->rect());
            }
            PlaceAnchored(*panel);
            if (panel->callback && static_cast<QResizeEvent*>(event)->oldSize() != widget->size())
                FirePanelEvent(panel->handle, EVENT_PANEL_SIZE, 0);
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace toolkit

using namespace toolkit;

int FitCanvas(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p || !p->canvas || p->canvas == p->window) return -1;
    QRect used;
    for (const PaintedItem& item : p->painted) {
        if (!item.visible) continue;
        used |= item.rect;
        if (!item.label.isEmpty()) used |= item.labelRect;
    }
    for (const Control& c : p->controls) {
        if (c.widget && c.widget->parentWidget() == p->canvas && !c.widget->isHidden())
            used |= c.widget->geometry();
    }
    p->canvas->setMinimumSize(used.isEmpty() ? QSize() : QSize(used.right() + 20, used.bottom() + 20));
    if (QScrollArea* area = ScrollAreaOf(p->canvas)) {
        area->verticalScrollBar()->setValue(0);
        area->horizontalScrollBar()->setValue(0);
    }
    return 0;
}

int CanvasViewWidth(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p || !p->canvas || p->canvas == p->window) return -1;
    QScrollArea* area = ScrollAreaOf(p->canvas);
    if (!area) return p->canvas->width();
    if (QWidget* box = area->parentWidget(); box && box->layout()) box->layout()->activate();
    return area->width() - 2 * area->frameWidth() -
           area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
}

int CommitCtrl(int panel, int control)
{
    if (!FindControl(panel, control)) return -1;
    FireCommit(panel, control);
    return 0;
}
