// Keyboard focus on panels: the mark drawn around the control that has the
// focus on panels that ask for it, and Return pressing a focused button.
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "ui/toolkit_internal.h"

namespace toolkit {

void PaintFocusMark(QPainter& painter, const QRect& around)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ColorOf(kFocusMarkColor), kFocusMarkWidth));
    painter.setBrush(Qt::NoBrush);
    const int inset = kFocusMarkWidth / 2;
    painter.drawRect(around.adjusted(inset, inset, -inset - 1, -inset - 1));
    painter.restore();
}

bool IsPressKey(const QKeyEvent& key)
{
    const bool press =
        key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
    return press && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

namespace {

// The mark around a focused widget: a sibling drawn above it that lets the
// mouse through, so that it moves and scrolls with it.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        PaintFocusMark(painter, rect());
    }
};

QPointer<FocusMark> g_mark;
QPointer<QWidget> g_marked;

// True for a widget of a panel whose window asks for focus marks; a canvas
// that draws its controls marks its focused control itself.
bool WantsMark(QWidget* widget)
{
    if (!widget || !widget->parentWidget()) return false;
    Panel* panel = PanelOfWidget(widget->window());
    if (!panel || !panel->window || !panel->window->property("focusMark").toBool()) return false;
    return !(panel->paintedCanvas && widget == panel->canvas);
}

}  // namespace

void PlaceFocusMark()
{
    QWidget* widget = g_marked;
    if (!WantsMark(widget) || !widget->isVisible()) {
        if (g_mark) g_mark->hide();
        return;
    }
    if (!g_mark) g_mark = new FocusMark(widget->parentWidget());
    if (g_mark->parentWidget() != widget->parentWidget()) g_mark->setParent(widget->parentWidget());
    const int m = kFocusMarkWidth + 1;
    g_mark->setGeometry(FocusArea(widget).adjusted(-m, -m, m, m));
    g_mark->raise();
    g_mark->show();
    g_mark->update();
}

void FollowFocus(QWidget* now)
{
    g_marked = now;
    PlaceFocusMark();
}

bool IsMarkedWidget(const QObject* object)
{
    return object && object == g_marked.data();
}

bool PressFocusedButton(QWidget* widget, const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    if (key.modifiers() & ~Qt::KeypadModifier) return false;
    auto* button = qobject_cast<QPushButton*>(widget);
    if (!button || widget != QApplication::focusWidget() || !button->isEnabled()) return false;
    if (!key.isAutoRepeat()) button->click();
    return true;
}

}  // namespace toolkit
