// Inspection: what a resource file holds, and what tests see of panels and
// controls.
#include <QLabel>
#include <QWidget>

#include "ui/toolkit_internal.h"
#include "ui/toolkit_testing.h"

using namespace toolkit;

bool InspectResource(const char* fileName, std::vector<ResourcePanelInfo>& panels,
                     std::vector<ResourceControlInfo>& controls)
{
    QWidget* root = LoadTree(fileName);
    if (!root) return false;
    std::vector<QWidget*> panelWidgets;
    bool ok = false;
    if (root->property("panel").toInt(&ok), ok) panelWidgets.push_back(root);
    for (QObject* child : root->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && (w->property("panel").toInt(&ok), ok)) panelWidgets.push_back(w);
    }
    for (QWidget* pw : panelWidgets) {
        int number = pw->property("panel").toInt();
        panels.push_back({number, pw->objectName().toStdString(), PanelCallbackName(pw).toStdString()});
        for (QWidget* child : pw->findChildren<QWidget*>()) {
            int id = child->property("ctrlId").toInt(&ok);
            if (!ok) continue;
            controls.push_back({number, id, child->objectName().toStdString(), KindName(KindOf(child)),
                                child->property("callback").toString().toStdString()});
        }
    }
    delete root;
    return true;
}

QWidget* PanelWindow(int panel)
{
    Panel* p = FindPanel(panel);
    return p ? p->window.data() : nullptr;
}

QWidget* PanelCanvas(int panel)
{
    Panel* p = FindPanel(panel);
    return p ? p->canvas.data() : nullptr;
}

QWidget* ControlWidget(int panel, int control)
{
    Control* c = FindControl(panel, control);
    return c ? c->widget.data() : nullptr;
}

QLabel* ControlCaption(int panel, int control)
{
    Control* c = FindControl(panel, control);
    return c ? c->label.data() : nullptr;
}

std::string ControlKind(int panel, int control)
{
    Control* c = FindControl(panel, control);
    return c ? KindName(c->kind) : "";
}

CtrlCallbackPtr ControlCallback(int panel, int control)
{
    Control* c = FindControl(panel, control);
    return c ? c->callback : nullptr;
}

void* ControlCallbackData(int panel, int control)
{
    Control* c = FindControl(panel, control);
    return c ? c->callbackData : nullptr;
}

bool PaintedCaption(int panel, int control, std::string& caption, QRect& place)
{
    Panel* p = FindPanel(panel);
    Control* c = FindControl(panel, control);
    if (!p || !c || c->painted < 0 || c->widget) return false;
    const PaintedItem& item = p->painted[static_cast<std::size_t>(c->painted)];
    caption = item.label.toStdString();
    place = item.labelRect;
    return true;
}

QRect LinkPlace(int panel, int control)
{
    Panel* p = FindPanel(panel);
    Control* c = FindControl(panel, control);
    if (!p || !c) return {};
    if (c->painted < 0) return LinkArea(c->widget);
    return PaintedLinkRect(p->canvas, p->painted[static_cast<std::size_t>(c->painted)]);
}
