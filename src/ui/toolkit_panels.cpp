// Panels: the registry of loaded panels, loading them from resource files,
// showing, placing and discarding them, and the callbacks bound by name.
#include <QWidget>
#include <algorithm>

#include "ui/toolkit_internal.h"
#include "ui/toolkit_testing.h"

namespace toolkit {
namespace {

std::unordered_map<int, std::unique_ptr<Panel>> g_panels;
std::unordered_map<const QWidget*, int> g_windowPanels;
int g_nextHandle = 1;
int g_failingLoads = 0;  // LoadPanel calls still to fail, for tests

std::unordered_map<std::string, CtrlCallbackPtr>& CtrlRegistry()
{
    static std::unordered_map<std::string, CtrlCallbackPtr> registry;
    return registry;
}

std::unordered_map<std::string, PanelCallbackPtr>& PanelRegistry()
{
    static std::unordered_map<std::string, PanelCallbackPtr> registry;
    return registry;
}

void DestroyPanel(int handle)
{
    auto it = g_panels.find(handle);
    if (it == g_panels.end()) return;
    // Child panels go with their parent.
    std::vector<int> children;
    for (auto& [h, p] : g_panels) {
        if (p->parent == handle) children.push_back(h);
    }
    for (int child : children) DestroyPanel(child);
    std::unique_ptr<Panel> panel = std::move(it->second);
    g_panels.erase(it);
    if (QWidget* window = panel->window) {
        g_windowPanels.erase(window);
        window->hide();
        // A panel discarded from inside one of its own callbacks is still on
        // the call stack of a Qt signal: delete it once control returns.
        if (InCallback()) {
            window->deleteLater();
        } else {
            delete window;
        }
    }
}

}  // namespace

QWidget* FindPanelWidget(QWidget* root, int panelNumber)
{
    bool ok = false;
    if (root->property("panel").toInt(&ok) == panelNumber && ok) return root;
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w->property("panel").toInt(&ok) == panelNumber && ok) return w;
    }
    return nullptr;
}

QString PanelCallbackName(QWidget* panelWidget)
{
    return panelWidget->property("callback").toString();
}

Panel* FindPanel(int handle)
{
    auto it = g_panels.find(handle);
    if (it == g_panels.end() || !it->second->window) return nullptr;
    return it->second.get();
}

Panel* PanelOfWidget(const QWidget* window)
{
    auto it = g_windowPanels.find(window);
    return it == g_windowPanels.end() ? nullptr : FindPanel(it->second);
}

const std::unordered_map<int, std::unique_ptr<Panel>>& AllPanels()
{
    return g_panels;
}

}  // namespace toolkit

using namespace toolkit;

void FailNextLoadPanelsForTesting(int count)
{
    g_failingLoads = count;
}

int LoadPanel(int parentPanel, const char* fileName, int panelNumber)
{
    if (g_failingLoads > 0) {
        --g_failingLoads;
        return -1;
    }
    Panel* parent = nullptr;
    if (parentPanel != 0 && !(parent = FindPanel(parentPanel))) return -1;
    QWidget* root = LoadTree(fileName);
    if (!root) return -1;
    QWidget* widget = FindPanelWidget(root, panelNumber);
    if (!widget) {
        delete root;
        return -1;
    }
    QRect geometry = widget->geometry();
    if (widget != root) {
        widget->setParent(nullptr);
        delete root;
    }
    Qt::WindowFlags flags = parent ? (Qt::Dialog | Qt::FramelessWindowHint) : Qt::Window;
    widget->setParent(parent ? parent->window.data() : nullptr, flags);
    widget->resize(geometry.size());
    if (parent) {
        QRect p = parent->window->geometry();
        widget->move(p.left() + (p.width() - geometry.width()) / 2,
                     p.top() + (p.height() - geometry.height()) / 2);
    }

    auto panel = std::make_unique<Panel>();
    panel->handle = g_nextHandle++;
    panel->parent = parentPanel;
    panel->window = widget;
    panel->canvas = widget;
    panel->controls.resize(1);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        if (child->property("canvas").toBool()) panel->canvas = child;
        bool ok = false;
        int id = child->property("ctrlId").toInt(&ok);
        if (!ok || id <= 0) continue;
        Control& c = AddControl(*panel, id, child);
        QString callback = child->property("callback").toString();
        if (!callback.isEmpty()) c.callback = FindCtrlCallback(callback.toUtf8().constData());
    }
    if (panel->canvas != widget) InstallCanvasPainter(*panel);
    CollectAnchors(*panel);
    QString callback = PanelCallbackName(widget);
    if (!callback.isEmpty()) panel->callback = FindPanelCallback(callback.toUtf8().constData());
    WatchWindow(widget);
    int handle = panel->handle;
    g_windowPanels[widget] = handle;
    g_panels.emplace(handle, std::move(panel));
    return handle;
}

int DisplayPanel(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    KeepOnScreen(*p);
    p->window->show();
    p->window->raise();
    return 0;
}

int HidePanel(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    p->window->hide();
    return 0;
}

int DiscardPanel(int panel)
{
    if (!FindPanel(panel)) return -1;
    DestroyPanel(panel);
    return 0;
}

int SetPanelPos(int panel, int top, int left)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    QRect g = p->window->geometry();
    p->window->setGeometry(left, top, g.width(), g.height());
    p->placed = true;
    if (p->window->isVisible()) KeepOnScreen(*p);
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int* value)
{
    Panel* p = FindPanel(panel);
    if (!p || !value) return -1;
    if (PlaceAttribute(p->window->geometry(), attribute, value)) return 0;
    switch (attribute) {
        case ATTR_VISIBLE:
            *value = p->window->isVisible() ? 1 : 0;
            return 0;
        default:
            return -1;
    }
}

int SetPanelAttribute(int panel, int attribute, int value)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    QRect g = p->window->geometry();
    switch (attribute) {
        case ATTR_TOP:
            p->window->setGeometry(g.left(), value, g.width(), g.height());
            p->placed = true;
            return 0;
        case ATTR_LEFT:
            p->window->setGeometry(value, g.top(), g.width(), g.height());
            p->placed = true;
            return 0;
        case ATTR_WIDTH:
            p->window->resize(std::max(value, 1), g.height());
            return 0;
        case ATTR_HEIGHT:
            p->window->resize(g.width(), std::max(value, 1));
            return 0;
        case ATTR_VISIBLE:
            p->window->setVisible(value != 0);
            return 0;
        default:
            return -1;
    }
}

int SetPanelAttribute(int panel, int attribute, const char* value)
{
    Panel* p = FindPanel(panel);
    if (!p || !value || attribute != ATTR_TITLE) return -1;
    // Qt reads "[*]" in a title as the place of a modified mark; doubled, it
    // shows as itself, so the title shows the text as it stands.
    p->window->setWindowTitle(FromBytes(value).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
    return 0;
}

int SetActiveCtrl(int panel, int control)
{
    Control* c = FindControl(panel, control);
    if (!c || !c->widget) return -1;
    c->widget->setFocus(Qt::OtherFocusReason);
    return 0;
}

int GetActiveCtrl(int panel)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    // The focus may sit in a part of a control (a numeric control's text).
    for (const QWidget* w = p->window->focusWidget(); w && w != p->window; w = w->parentWidget()) {
        for (const Control& c : p->controls) {
            if (c.widget == w) return c.id;
        }
    }
    return -1;
}

int InstallPanelCallback(int panel, PanelCallbackPtr callback, void* callbackData)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    p->callback = callback;
    p->callbackData = callbackData;
    return 0;
}

int CountLivePanels()
{
    return static_cast<int>(g_panels.size());
}

// ---- Registry ---------------------------------------------------------------

void RegisterCtrlCallback(const char* name, CtrlCallbackPtr callback)
{
    CtrlRegistry()[name] = callback;
}

void RegisterPanelCallback(const char* name, PanelCallbackPtr callback)
{
    PanelRegistry()[name] = callback;
}

CtrlCallbackPtr FindCtrlCallback(const char* name)
{
    auto it = CtrlRegistry().find(name);
    return it == CtrlRegistry().end() ? nullptr : it->second;
}

PanelCallbackPtr FindPanelCallback(const char* name)
{
    auto it = PanelRegistry().find(name);
    return it == PanelRegistry().end() ? nullptr : it->second;
}
