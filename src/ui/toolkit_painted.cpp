// Painted controls' records: making them, their attributes, their texts and
// captions. The canvas that draws them is in toolkit_canvas.cpp.
#include <QFontMetrics>
#include <algorithm>

#include "ui/toolkit_canvas.h"
#include "ui/toolkit_internal.h"

namespace toolkit {
namespace {

PaintedItem& ItemOf(Panel& panel, const Control& control)
{
    return panel.painted[static_cast<std::size_t>(control.painted)];
}

// Sizes a caption to its text and places it left of its control: centred on
// the control vertically unless a top was asked for.
void FitLabel(Panel& panel, PaintedItem& item)
{
    if (item.label.isEmpty() || item.style == CTRL_SQUARE_COMMAND_BUTTON) return;
    QFontMetrics metrics(FontFor(panel.canvas->font(), item.labelPointSize, item.labelBold));
    QSize size(metrics.horizontalAdvance(item.label) + 2, metrics.height());
    int left = CaptionLeft(item.labelLeft, size.width(), item.rect.left());
    int top =
        item.labelTopSet ? item.labelRect.top() : item.rect.top() + (item.rect.height() - size.height()) / 2;
    item.labelRect = QRect(QPoint(left, top), size);
}

int DefaultHeight(Panel& panel, const PaintedItem& item)
{
    QFontMetrics metrics(FontFor(panel.canvas->font(), item.textPointSize, item.textBold));
    return metrics.height() + 4;
}

// The start or length of a field's mark or link that an attribute names.
template <typename Item>
auto& TextPart(Item& item, int attribute)
{
    switch (attribute) {
        case ATTR_TEXT_MARK_START:
            return item.markStart;
        case ATTR_TEXT_MARK_LENGTH:
            return item.markLength;
        case ATTR_LINK_START:
            return item.linkStart;
        default:
            return item.linkLength;
    }
}

void Changed(Panel& panel, const QRect& before, const PaintedItem& item)
{
    CoverChild(panel, item.rect);
    if (!item.label.isEmpty()) CoverChild(panel, item.labelRect);
    panel.canvas->update(before);
    panel.canvas->update(item.rect);
    panel.canvas->update(item.labelRect);
}

}  // namespace

int NewPaintedCtrl(Panel& panel, int style, const char* label, int top, int left)
{
    if (style != CTRL_STRING && style != CTRL_SQUARE_COMMAND_BUTTON && style != CTRL_TEXT_MSG) return -1;
    PaintedItem item;
    item.style = style;
    item.label = FromBytes(label);
    if (style == CTRL_TEXT_MSG) {
        item.text = item.label;
        item.label.clear();
    }
    QFontMetrics metrics(panel.canvas->font());
    int width = style == CTRL_STRING
                    ? 100
                    : metrics.horizontalAdvance(style == CTRL_TEXT_MSG ? item.text : item.label) + 16;
    item.rect = QRect(left, top, width, DefaultHeight(panel, item));
    if (style == CTRL_SQUARE_COMMAND_BUTTON) {
        item.labelColor = 0x000000;
        // The keyboard reaches drawn buttons through the canvas.
        panel.canvas->setFocusPolicy(Qt::StrongFocus);
    }
    FitLabel(panel, item);
    int id = static_cast<int>(panel.controls.size());
    panel.controls.emplace_back();
    Control& c = panel.controls.back();
    c.id = id;
    c.kind = style == CTRL_SQUARE_COMMAND_BUTTON ? Kind::Button
                                                 : (style == CTRL_STRING ? Kind::String : Kind::Message);
    c.painted = static_cast<int>(panel.painted.size());
    panel.painted.push_back(std::move(item));
    Changed(panel, {}, panel.painted.back());
    return id;
}

int GetPaintedAttribute(Panel& panel, Control& control, int attribute, int* value)
{
    const PaintedItem& item = ItemOf(panel, control);
    if (PlaceAttribute(item.rect, attribute, value)) return 0;
    switch (attribute) {
        case ATTR_VISIBLE:
            *value = item.visible ? 1 : 0;
            return 0;
        case ATTR_DIMMED:
            *value = 0;
            return 0;
        case ATTR_TEXT_COLOR:
            *value = item.textColor;
            return 0;
        case ATTR_TEXT_BGCOLOR:
            *value = item.textBackground;
            return 0;
        case ATTR_TEXT_BOLD:
            *value = item.textBold ? 1 : 0;
            return 0;
        case ATTR_TEXT_POINT_SIZE:
            *value = item.textPointSize > 0 ? item.textPointSize : TextSizeOf(panel.canvas->font());
            return 0;
        case ATTR_CMD_BUTTON_COLOR:
            if (item.style != CTRL_SQUARE_COMMAND_BUTTON) return -1;
            *value = item.buttonColor;
            return 0;
        case ATTR_LABEL_COLOR:
            *value = item.labelColor;
            return 0;
        case ATTR_LABEL_BGCOLOR:
            *value = item.labelBackground;
            return 0;
        case ATTR_LABEL_BOLD:
            *value = item.labelBold ? 1 : 0;
            return 0;
        case ATTR_LABEL_POINT_SIZE:
            *value = item.labelPointSize > 0 ? item.labelPointSize : TextSizeOf(panel.canvas->font());
            return 0;
        case ATTR_LABEL_TOP:
            *value = item.labelRect.top();
            return 0;
        case ATTR_LABEL_LEFT:
            *value = item.labelLeft != kLabelLeftDefault ? item.labelLeft : item.labelRect.left();
            return 0;
        case ATTR_LABEL_WIDTH:
            *value = item.labelRect.width();
            return 0;
        case ATTR_LABEL_HEIGHT:
            *value = item.labelRect.height();
            return 0;
        case ATTR_TEXT_MARK_START:
        case ATTR_TEXT_MARK_LENGTH:
        case ATTR_LINK_START:
        case ATTR_LINK_LENGTH:
            *value = TextPart(item, attribute);
            return 0;
        case ATTR_LINK_CONTROL:
            *value = item.linkControl;
            return 0;
        default:
            return -1;
    }
}

int SetPaintedAttribute(Panel& panel, Control& control, int attribute, int value)
{
    PaintedItem& item = ItemOf(panel, control);
    const QRect before = item.rect.united(item.labelRect);
    const bool button = item.style == CTRL_SQUARE_COMMAND_BUTTON;
    auto moveLabelBy = [&item](int dx, int dy) { item.labelRect.translate(dx, dy); };
    switch (attribute) {
        case ATTR_TOP:
            moveLabelBy(0, value - item.rect.top());
            item.rect.moveTop(value);
            break;
        case ATTR_LEFT:
            moveLabelBy(value - item.rect.left(), 0);
            item.rect.moveLeft(value);
            break;
        case ATTR_WIDTH:
            item.rect.setWidth(std::max(value, 0));
            break;
        case ATTR_HEIGHT:
            item.rect.setHeight(std::max(value, 0));
            break;
        case ATTR_VISIBLE:
            item.visible = value != 0;
            break;
        case ATTR_DIMMED:
        case ATTR_FRAME_COLOR:  // painted fields have no border
            break;
        case ATTR_TEXT_COLOR:
            item.textColor = value;
            break;
        case ATTR_TEXT_BGCOLOR:
            item.textBackground = value;
            break;
        case ATTR_TEXT_BOLD:
            item.textBold = value != 0;
            break;
        case ATTR_TEXT_POINT_SIZE:
            item.textPointSize = value;
            if (!button) {
                item.rect.setHeight(DefaultHeight(panel, item));
                FitLabel(panel, item);
            }
            break;
        case ATTR_CMD_BUTTON_COLOR:
            if (!button) return -1;
            item.buttonColor = value;
            break;
        case ATTR_LABEL_COLOR:
            item.labelColor = value;
            break;
        case ATTR_LABEL_BGCOLOR:
            item.labelBackground = value;
            break;
        case ATTR_LABEL_BOLD:
            item.labelBold = value != 0;
            FitLabel(panel, item);
            break;
        case ATTR_LABEL_POINT_SIZE:
            item.labelPointSize = value;
            FitLabel(panel, item);
            break;
        case ATTR_LABEL_TOP:
            if (button) return -1;
            item.labelTopSet = true;
            item.labelRect.moveTop(value);
            break;
        case ATTR_LABEL_LEFT:
            if (button) return -1;
            item.labelLeft = value;
            item.labelRect.moveLeft(CaptionLeft(value, item.labelRect.width(), item.rect.left()));
            break;
        case ATTR_TEXT_MARK_START:
        case ATTR_TEXT_MARK_LENGTH:
        case ATTR_LINK_START:
        case ATTR_LINK_LENGTH:
            if (button) return -1;
            TextPart(item, attribute) = std::max(value, 0);
            // The mouse is followed over links, and the keyboard reaches them.
            if (attribute == ATTR_LINK_LENGTH && value > 0) {
                panel.canvas->setMouseTracking(true);
                panel.canvas->setFocusPolicy(Qt::StrongFocus);
            }
            break;
        case ATTR_LINK_CONTROL:
            if (button || (value != 0 && !FindControl(panel.handle, value))) return -1;
            item.linkControl = value;
            break;
        default:
            return -1;
    }
    Changed(panel, before, item);
    return 0;
}

void SetPaintedText(Panel& panel, Control& control, const QString& text)
{
    PaintedItem& item = ItemOf(panel, control);
    if (item.style == CTRL_SQUARE_COMMAND_BUTTON) {
        SetPaintedLabel(panel, control, text);
        return;
    }
    item.text = text;
    panel.canvas->update(item.rect);
}

void SetPaintedLabel(Panel& panel, Control& control, const QString& label)
{
    PaintedItem& item = ItemOf(panel, control);
    QRect before = item.rect.united(item.labelRect);
    item.label = label;
    FitLabel(panel, item);
    Changed(panel, before, item);
}

QString PaintedText(const Panel& panel, const Control& control)
{
    const PaintedItem& item = panel.painted[static_cast<std::size_t>(control.painted)];
    return item.style == CTRL_SQUARE_COMMAND_BUTTON ? item.label : item.text;
}

}  // namespace toolkit
