// Controls: their values, and the rows of lists and selectors.
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>
#include <QToolTip>
#include <cstring>

#include "data/text_encoding.h"
#include "ui/toolkit_internal.h"

namespace toolkit {

QString FromBytes(const char* text)
{
    return QString::fromStdString(TextToUtf8(text ? text : ""));
}

QString PlainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(text.toHtmlEscaped());
}

namespace {

// Shows the whole text of a list row the list's width cuts off.
class CutRowTips : public QObject {
public:
    explicit CutRowTips(QListWidget* list) : QObject(list), list_(list) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QListWidgetItem* item = list_->itemAt(help->pos());
        const QRect place = item ? list_->visualItemRect(item) : QRect();
        const bool cut =
            item && (place.left() < 0 || place.left() + list_->fontMetrics().horizontalAdvance(item->text()) >
                                             list_->viewport()->width());
        if (cut) {
            QToolTip::showText(help->globalPos(), PlainToolTip(item->text()), list_->viewport());
        } else {
            QToolTip::hideText();
        }
        return true;
    }

private:
    QListWidget* list_;
};

}  // namespace

void ShowCutRowsAsTips(QListWidget* list)
{
    list->viewport()->installEventFilter(new CutRowTips(list));
}

}  // namespace toolkit

using namespace toolkit;

// ---- Values -----------------------------------------------------------------

int GetCtrlVal(int panel, int control, int* value)
{
    Control* c = FindControl(panel, control);
    if (!c || !value) return -1;
    switch (c->kind) {
        case Kind::Numeric:
            *value = static_cast<QSpinBox*>(c->widget.data())->value();
            return 0;
        case Kind::Check:
            *value = static_cast<QCheckBox*>(c->widget.data())->isChecked() ? 1 : 0;
            return 0;
        case Kind::Ring: {
            auto* ring = static_cast<QComboBox*>(c->widget.data());
            if (ring->currentIndex() < 0) return -1;
            QVariant data = ring->currentData();
            *value = data.isValid() ? data.toInt() : ring->currentIndex();
            return 0;
        }
        case Kind::List: {
            auto* list = static_cast<QListWidget*>(c->widget.data());
            QListWidgetItem* item = list->currentItem();
            if (!item && list->count() > 0) item = list->item(0);
            if (!item) return -1;
            *value = item->data(Qt::UserRole).toInt();
            return 0;
        }
        default:
            return -1;
    }
}

int GetCtrlVal(int panel, int control, double* value)
{
    int v = 0;
    if (!value || GetCtrlVal(panel, control, &v) < 0) return -1;
    *value = v;
    return 0;
}

int GetCtrlVal(int panel, int control, char* value, std::size_t size)
{
    Control* c = FindControl(panel, control);
    if (!c || !value || size == 0) return -1;
    QString text;
    if (c->painted >= 0) {
        text = PaintedText(*FindPanel(panel), *c);
    } else {
        switch (c->kind) {
            case Kind::Text:
                text = static_cast<QLineEdit*>(c->widget.data())->text();
                break;
            case Kind::Message:
            case Kind::String:
                text = static_cast<QLabel*>(c->widget.data())->text();
                break;
            case Kind::Ring:
                text = static_cast<QComboBox*>(c->widget.data())->currentText();
                break;
            case Kind::Button:
                text = static_cast<QPushButton*>(c->widget.data())->text();
                break;
            default:
                return -1;
        }
    }
    CopyUtf8(text, value, size);
    return 0;
}

int GetCtrlVal(int panel, int control, TextField& value)
{
    return GetCtrlVal(panel, control, value.data(), value.size());
}

int SetCtrlVal(int panel, int control, int value)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    if (c->painted >= 0) {
        SetPaintedText(*FindPanel(panel), *c, QString::number(value));
        return 0;
    }
    QSignalBlocker block(c->widget.data());
    switch (c->kind) {
        case Kind::Numeric:
            static_cast<QSpinBox*>(c->widget.data())->setValue(value);
            return 0;
        case Kind::Check:
            static_cast<QCheckBox*>(c->widget.data())->setChecked(value != 0);
            return 0;
        case Kind::Ring: {
            auto* ring = static_cast<QComboBox*>(c->widget.data());
            int index = ring->findData(value);
            if (index < 0) return -1;
            ring->setCurrentIndex(index);
            return 0;
        }
        case Kind::List: {
            auto* list = static_cast<QListWidget*>(c->widget.data());
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->data(Qt::UserRole).toInt() == value) {
                    list->setCurrentRow(i);
                    return 0;
                }
            }
            return -1;
        }
        case Kind::Text:
            static_cast<QLineEdit*>(c->widget.data())->setText(QString::number(value));
            return 0;
        case Kind::Message:
        case Kind::String:
            SetLabelText(c->widget, QString::number(value));
            return 0;
        default:
            return -1;
    }
}

int SetCtrlVal(int panel, int control, double value)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    if (c->painted >= 0) {
        SetPaintedText(*FindPanel(panel), *c, QString::number(value));
        return 0;
    }
    if (c->kind == Kind::Message || c->kind == Kind::String) {
        SetLabelText(c->widget, QString::number(value));
        return 0;
    }
    return SetCtrlVal(panel, control, static_cast<int>(value));
}

int SetCtrlVal(int panel, int control, const char* value)
{
    Control* c = FindControl(panel, control);
    if (!c || !value) return -1;
    if (c->painted >= 0) {
        SetPaintedText(*FindPanel(panel), *c, FromBytes(value));
        return 0;
    }
    QSignalBlocker block(c->widget.data());
    switch (c->kind) {
        case Kind::Text:
            static_cast<QLineEdit*>(c->widget.data())->setText(FromBytes(value));
            return 0;
        case Kind::Message:
        case Kind::String:
            SetLabelText(c->widget, FromBytes(value));
            return 0;
        case Kind::Button:
            static_cast<QPushButton*>(c->widget.data())->setText(FromBytes(value));
            return 0;
        default:
            return -1;
    }
}

// ---- Lists ------------------------------------------------------------------

int ClearListCtrl(int panel, int control)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    QSignalBlocker block(c->widget.data());
    if (c->kind == Kind::List) {
        static_cast<QListWidget*>(c->widget.data())->clear();
        return 0;
    }
    if (c->kind == Kind::Ring) {
        static_cast<QComboBox*>(c->widget.data())->clear();
        return 0;
    }
    return -1;
}

int InsertListItem(int panel, int control, int index, const char* label, int value)
{
    Control* c = FindControl(panel, control);
    if (!c || !label) return -1;
    QSignalBlocker block(c->widget.data());
    if (c->kind == Kind::List) {
        auto* list = static_cast<QListWidget*>(c->widget.data());
        int row = (index < 0 || index > list->count()) ? list->count() : index;
        auto* item = new QListWidgetItem(FromBytes(label));
        item->setData(Qt::UserRole, value);
        list->insertItem(row, item);
        if (list->currentRow() < 0) list->setCurrentRow(0);
        return 0;
    }
    if (c->kind == Kind::Ring) {
        auto* ring = static_cast<QComboBox*>(c->widget.data());
        int row = (index < 0 || index > ring->count()) ? ring->count() : index;
        ring->insertItem(row, FromBytes(label), value);
        return 0;
    }
    return -1;
}

int GetNumListItems(int panel, int control, int* count)
{
    Control* c = FindControl(panel, control);
    if (!c || !count) return -1;
    if (c->kind == Kind::List) {
        *count = static_cast<QListWidget*>(c->widget.data())->count();
        return 0;
    }
    if (c->kind == Kind::Ring) {
        *count = static_cast<QComboBox*>(c->widget.data())->count();
        return 0;
    }
    return -1;
}

int GetLabelFromIndex(int panel, int control, int index, TextField& label)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    QString text;
    if (c->kind == Kind::List) {
        auto* list = static_cast<QListWidget*>(c->widget.data());
        if (index < 0 || index >= list->count()) return -1;
        text = list->item(index)->text();
    } else if (c->kind == Kind::Ring) {
        auto* ring = static_cast<QComboBox*>(c->widget.data());
        if (index < 0 || index >= ring->count()) return -1;
        text = ring->itemText(index);
    } else {
        return -1;
    }
    CopyUtf8(text, label.data(), label.size());
    return 0;
}

int SetCtrlIndex(int panel, int control, int index)
{
    Control* c = FindControl(panel, control);
    if (!c) return -1;
    QSignalBlocker block(c->widget.data());
    if (c->kind == Kind::List) {
        auto* list = static_cast<QListWidget*>(c->widget.data());
        if (index < 0 || index >= list->count()) return -1;
        list->setCurrentRow(index);
        return 0;
    }
    if (c->kind == Kind::Ring) {
        auto* ring = static_cast<QComboBox*>(c->widget.data());
        if (index < 0 || index >= ring->count()) return -1;
        ring->setCurrentIndex(index);
        return 0;
    }
    return -1;
}
