// Controls: kinds, commit signals, attributes and controls made at run time.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>
#include <cstring>

#include "data/text_encoding.h"
#include "ui/toolkit_internal.h"

namespace toolkit {

namespace {

void SetColor(QWidget* w, QPalette::ColorRole role, int rgb)
{
    QPalette palette = w->palette();
    if (rgb == VAL_TRANSPARENT) {
        palette.setColor(role, Qt::transparent);
    } else {
        palette.setColor(role, ColorOf(rgb));
    }
    w->setPalette(palette);
}

int GetColor(QWidget* w, QPalette::ColorRole role)
{
    QColor c = w->palette().color(role);
    if (c.alpha() == 0) return VAL_TRANSPARENT;
    return (c.red() << 16) | (c.green() << 8) | c.blue();
}

void SetBold(QWidget* w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void SetPointSize(QWidget* w, int points)
{
    if (points <= 0) return;
    QFont f = w->font();
    f.setPixelSize(points);
    w->setFont(f);
}

void SetBackground(QWidget* w, int rgb)
{
    if (rgb == VAL_TRANSPARENT) {
        w->setAutoFillBackground(false);
        SetColor(w, QPalette::Window, rgb);
        SetColor(w, QPalette::Base, rgb);
    } else {
        w->setAutoFillBackground(true);
        SetColor(w, QPalette::Window, rgb);
        SetColor(w, QPalette::Base, rgb);
    }
}

// The widget whose text is the control's value (or whose colours are its text's).
QPalette::ColorRole TextRole(Kind kind)
{
    switch (kind) {
        case Kind::Button:
            return QPalette::ButtonText;
        case Kind::Text:
        case Kind::List:
        case Kind::Numeric:
        case Kind::Ring:
            return QPalette::Text;
        default:
            return QPalette::WindowText;
    }
}

// A label that shows its text as it stands: never as markup, so that text
// from a file or a path cannot turn into bold, links or pictures.
QLabel* NewPlainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

// A text field cut off by its width shows its whole text as a tooltip.
void RefreshCutTip(QWidget* w)
{
    auto* label = qobject_cast<QLabel*>(w);
    if (!label) return;
    const bool cut = label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width();
    label->setToolTip(cut ? PlainToolTip(label->text()) : QString());
}

// Places a run-time label left of its control, centred on it vertically.
void PlaceLabel(Control& c)
{
    if (!c.label || !c.widget) return;
    c.label->adjustSize();
    QRect g = c.widget->geometry();
    c.label->move(CaptionLeft(c.labelLeft, c.label->width(), g.left()),
                  g.top() + (g.height() - c.label->height()) / 2);
}

// Keeps a label clear of its control's text after a change of either.
void RefitLabel(Control& c)
{
    if (!c.label || !c.widget) return;
    c.label->adjustSize();
    c.label->move(CaptionLeft(c.labelLeft, c.label->width(), c.widget->geometry().left()),
                  c.label->geometry().top());
}

}  // namespace

// Copies a text as UTF-8 into a buffer of `size` bytes, cut to fit at a
// character boundary, so that what arrives is still valid UTF-8.
void CopyUtf8(const QString& text, char* out, std::size_t size)
{
    QByteArray bytes = text.toUtf8();
    std::size_t n = std::min(static_cast<std::size_t>(bytes.size()), size - 1);
    if (n < static_cast<std::size_t>(bytes.size())) {
        while (n > 0 && (static_cast<unsigned char>(bytes[static_cast<qsizetype>(n)]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(out, bytes.constData(), n);
    out[n] = '\0';
}

void SetLabelText(QWidget* w, const QString& text)
{
    static_cast<QLabel*>(w)->setText(text);
    RefreshCutTip(w);
}

const char* KindName(Kind kind)
{
    switch (kind) {
        case Kind::Button:
            return "button";
        case Kind::Text:
            return "text";
        case Kind::List:
            return "list";
        case Kind::Check:
            return "check";
        case Kind::Numeric:
            return "numeric";
        case Kind::Ring:
            return "ring";
        case Kind::Message:
            return "message";
        case Kind::Frame:
            return "frame";
        case Kind::String:
            return "string";
        case Kind::Other:
            return "other";
    }
    return "other";
}

Kind KindOf(QWidget* w)
{
    if (qobject_cast<QPushButton*>(w)) return Kind::Button;
    if (qobject_cast<QLineEdit*>(w)) return Kind::Text;
    if (qobject_cast<QListWidget*>(w)) return Kind::List;
    if (qobject_cast<QCheckBox*>(w)) return Kind::Check;
    if (qobject_cast<QSpinBox*>(w)) return Kind::Numeric;
    if (qobject_cast<QComboBox*>(w)) return Kind::Ring;
    if (qobject_cast<QLabel*>(w)) return Kind::Message;
    if (w->metaObject() == &QFrame::staticMetaObject) return Kind::Frame;
    return Kind::Other;
}

Control* FindControl(int panel, int control)
{
    Panel* p = FindPanel(panel);
    if (!p || control <= 0 || static_cast<std::size_t>(control) >= p->controls.size()) return nullptr;
    Control& c = p->controls[static_cast<std::size_t>(control)];
    return (c.widget || c.painted >= 0) ? &c : nullptr;
}

Control& AddControl(Panel& panel, int id, QWidget* widget)
{
    if (static_cast<std::size_t>(id) >= panel.controls.size())
        panel.controls.resize(static_cast<std::size_t>(id) + 1);
    Control& c = panel.controls[static_cast<std::size_t>(id)];
    c = Control{};
    c.id = id;
    c.widget = widget;
    c.kind = KindOf(widget);
    const int handle = panel.handle;
    auto commit = [handle, id] { FireCommit(handle, id); };
    switch (c.kind) {
        case Kind::Button:
            QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, widget, commit);
            break;
        case Kind::Text:
            QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::returnPressed, widget, commit);
            QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, widget,
                             [handle, id] { FireCtrlEvent(handle, id, EVENT_VAL_CHANGED); });
            break;
        case Kind::List:
            QObject::connect(static_cast<QListWidget*>(widget), &QListWidget::itemActivated, widget, commit);
            QObject::connect(static_cast<QListWidget*>(widget), &QListWidget::currentRowChanged, widget,
                             [handle, id] { FireCtrlEvent(handle, id, EVENT_VAL_CHANGED); });
            ShowCutRowsAsTips(static_cast<QListWidget*>(widget));
            break;
        case Kind::Check:
            QObject::connect(static_cast<QCheckBox*>(widget), &QCheckBox::clicked, widget, commit);
            break;
        case Kind::Numeric:
            QObject::connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, widget, commit);
            break;
        case Kind::Ring:
            QObject::connect(static_cast<QComboBox*>(widget), &QComboBox::activated, widget, commit);
            break;
        case Kind::Message:
            static_cast<QLabel*>(widget)->setTextFormat(Qt::PlainText);
            break;
        default:
            break;
    }
    return c;
}

}  // namespace toolkit

using namespace toolkit;

// ---- Attributes -------------------------------------------------------------

int GetCtrlAttribute(int panel, int control, int attribute, int* value)
{
    Control* c = FindControl(panel, control);
    if (!c || !value) return -1;
    if (c->painted >= 0) return GetPaintedAttribute(*FindPanel(panel), *c, attribute, value);
    if (IsLinkAttribute(attribute)) return GetWidgetLink(*c, attribute, value);
    QWidget* w = c->widget;
    if (PlaceAttribute(w->geometry(), attribute, value)) return 0;
    switch (attribute) {
        case ATTR_DIMMED:
            *value = w->isEnabled() ? 0 : 1;
            return 0;
        case ATTR_VISIBLE:
            *value = w->isVisibleTo(w->parentWidget()) ? 1 : 0;
            return 0;
        case ATTR_TEXT_COLOR:
            *value = GetColor(w, TextRole(c->kind));
            return 0;
        case ATTR_TEXT_BOLD:
            *value = w->font().bold() ? 1 : 0;
            return 0;
        case ATTR_TEXT_POINT_SIZE:
            *value = TextSizeOf(w->font());
            return 0;
        case ATTR_FRAME_COLOR:
            *value = GetColor(w, QPalette::WindowText);
            return 0;
        case ATTR_CMD_BUTTON_COLOR:
            *value = GetColor(w, QPalette::Button);
            return 0;
        default:
            break;
    }
    // Caption attributes: the run-time label, or a button's own text.
    QWidget* label =
        c->label ? static_cast<QWidget*>(c->label.data()) : (c->kind == Kind::Button ? w : nullptr);
    if (!label) return -1;
    switch (attribute) {
        case ATTR_LABEL_TOP:
            *value = label->geometry().top();
            return 0;
        case ATTR_LABEL_LEFT:
            *value = c->labelLeft != kLabelLeftDefault ? c->labelLeft : label->geometry().left();
            return 0;
        case ATTR_LABEL_WIDTH:
            *value = label->geometry().width();
            return 0;
        case ATTR_LABEL_HEIGHT:
            *value = label->geometry().height();
            return 0;
        case ATTR_LABEL_COLOR:
            *value = GetColor(label, c->label ? QPalette::WindowText : QPalette::ButtonText);
            return 0;
        case ATTR_LABEL_BOLD:
            *value = label->font().bold() ? 1 : 0;
            return 0;
        case ATTR_LABEL_POINT_SIZE:
            *value = TextSizeOf(label->font());
            return 0;
        default:
            return -1;
    }
}

int SetCtrlAttribute(int panel, int control, int attribute, int value)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    if (c->painted >= 0) return SetPaintedAttribute(*FindPanel(panel), *c, attribute, value);
    if (IsLinkAttribute(attribute)) return SetWidgetLink(*FindPanel(panel), *c, attribute, value);
    QWidget* w = c->widget;
    QRect g = w->geometry();
    Panel* p = FindPanel(panel);
    switch (attribute) {
        case ATTR_TOP:
            w->move(g.left(), value);
            // A caption moves with its control.
            if (c->label) c->label->move(c->label->x(), c->label->y() + value - g.top());
            CoverChild(*p, w);
            return 0;
        case ATTR_LEFT:
            w->move(value, g.top());
            if (c->label) {
                if (c->labelLeft != kLabelLeftDefault) c->labelLeft += value - g.left();
                RefitLabel(*c);
            }
            CoverChild(*p, w);
            return 0;
        case ATTR_WIDTH:
            w->resize(std::max(value, 0), g.height());
            RefreshCutTip(w);
            CoverChild(*p, w);
            return 0;
        case ATTR_HEIGHT:
            w->resize(g.width(), std::max(value, 0));
            CoverChild(*p, w);
            return 0;
        case ATTR_DIMMED:
            w->setEnabled(value == 0);
            return 0;
        case ATTR_VISIBLE:
            w->setVisible(value != 0);
            if (c->label) c->label->setVisible(value != 0);
            return 0;
        case ATTR_TEXT_COLOR:
            SetColor(w, TextRole(c->kind), value);
            return 0;
        case ATTR_TEXT_BGCOLOR:
            SetBackground(w, value);
            return 0;
        case ATTR_TEXT_BOLD:
            SetBold(w, value != 0);
            RefreshCutTip(w);
            return 0;
        case ATTR_TEXT_POINT_SIZE:
            SetPointSize(w, value);
            RefreshCutTip(w);
            return 0;
        case ATTR_FRAME_COLOR: {
            // Only a frame (decoration) draws its border in this colour; the
            // text fields here have no border, so for them it changes nothing.
            if (c->kind != Kind::Frame) return 0;
            auto* frame = static_cast<QFrame*>(w);
            frame->setFrameShape(QFrame::Box);
            frame->setFrameShadow(QFrame::Plain);
            SetColor(w, QPalette::WindowText, value);
            return 0;
        }
        case ATTR_CMD_BUTTON_COLOR:
            if (c->kind != Kind::Button) return -1;
            SetColor(w, QPalette::Button, value);
            return 0;
        default:
            break;
    }
    QWidget* label =
        c->label ? static_cast<QWidget*>(c->label.data()) : (c->kind == Kind::Button ? w : nullptr);
    if (!label) return -1;
    switch (attribute) {
        case ATTR_LABEL_TOP:
            if (!c->label) return -1;
            label->move(label->geometry().left(), value);
            CoverChild(*p, label);
            return 0;
        case ATTR_LABEL_LEFT:
            if (!c->label) return -1;
            c->labelLeft = value;
            RefitLabel(*c);
            CoverChild(*p, label);
            return 0;
        case ATTR_LABEL_COLOR:
            SetColor(label, c->label ? QPalette::WindowText : QPalette::ButtonText, value);
            return 0;
        case ATTR_LABEL_BGCOLOR:
            if (c->label) SetBackground(label, value);
            return 0;
        case ATTR_LABEL_BOLD:
            SetBold(label, value != 0);
            RefitLabel(*c);
            return 0;
        case ATTR_LABEL_POINT_SIZE:
            SetPointSize(label, value);
            RefitLabel(*c);
            return 0;
        default:
            return -1;
    }
}

int SetCtrlAttribute(int panel, int control, int attribute, const char* value)
{
    Control* c = FindControl(panel, control);
    if (!c || !value || attribute != ATTR_LABEL_TEXT) return -1;
    if (c->painted >= 0) {
        SetPaintedLabel(*FindPanel(panel), *c, FromBytes(value));
        return 0;
    }
    if (c->kind == Kind::Button) {
        static_cast<QPushButton*>(c->widget.data())->setText(FromBytes(value));
        return 0;
    }
    if (!c->label) return -1;
    c->label->setText(FromBytes(value));
    RefitLabel(*c);
    return 0;
}

int NewCtrl(int panel, int style, const char* label, int top, int left)
{
    Panel* p = FindPanel(panel);
    if (!p) return -1;
    if (p->paintedCanvas) return NewPaintedCtrl(*p, style, label, top, left);
    QWidget* canvas = p->canvas ? p->canvas.data() : p->window.data();
    QWidget* widget = nullptr;
    QLabel* caption = nullptr;
    switch (style) {
        case CTRL_STRING: {
            QLabel* field = NewPlainLabel(QString(), canvas);
            field->setTextInteractionFlags(Qt::TextSelectableByMouse);
            field->setFixedHeight(field->fontMetrics().height() + 4);
            field->resize(100, field->height());
            widget = field;
            if (label && *label) caption = NewPlainLabel(FromBytes(label), canvas);
            break;
        }
        case CTRL_TEXT_MSG: {
            QLabel* text = NewPlainLabel(FromBytes(label), canvas);
            text->adjustSize();
            widget = text;
            break;
        }
        case CTRL_SQUARE_COMMAND_BUTTON: {
            auto* button = new QPushButton(FromBytes(label), canvas);
            button->setAutoFillBackground(true);
            button->adjustSize();
            widget = button;
            break;
        }
        default:
            return -1;
    }
    widget->move(left, top);
    int id = static_cast<int>(p->controls.size());
    Control& c = AddControl(*p, id, widget);
    if (style == CTRL_STRING) c.kind = Kind::String;
    c.label = caption;
    PlaceLabel(c);
    widget->show();
    if (caption) caption->show();
    CoverChild(*p, widget);
    return id;
}

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void* callbackData)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    c->callback = callback;
    c->callbackData = callbackData;
    return 0;
}
