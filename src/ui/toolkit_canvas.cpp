// Painted controls: run-time controls of a scrolling canvas are records that
// the canvas draws, not widgets. A window with tens of thousands of rows then
// builds in milliseconds and holds a few hundred bytes a control; only the
// rows in view are drawn. Buttons react to the mouse, long texts show in a
// tooltip.
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolTip>
#include <algorithm>

#include "ui/toolkit_internal.h"

namespace toolkit {
namespace {

QFont FontFor(const QFont& base, int pointSize, bool bold)
{
    QFont font = base;
    if (pointSize > 0) font.setPixelSize(pointSize);
    font.setBold(bold);
    return font;
}

bool IsTextItem(const PaintedItem& item)
{
    return item.visible && item.style != CTRL_SQUARE_COMMAND_BUTTON;
}

// The selected characters [from, to) of painted field `index`.
std::pair<int, int> SelectedRange(const Panel& panel, std::size_t index)
{
    const TextSelection& s = panel.selection;
    const PaintedItem& item = panel.painted[index];
    if (s.anchorItem < 0 || s.focusItem < 0 || !IsTextItem(item)) return {0, 0};
    auto before = [](int itemA, int offsetA, int itemB, int offsetB) {
        return itemA != itemB ? itemA < itemB : offsetA < offsetB;
    };
    const bool forward = !before(s.focusItem, s.focusOffset, s.anchorItem, s.anchorOffset);
    const int firstItem = forward ? s.anchorItem : s.focusItem;
    const int firstOffset = forward ? s.anchorOffset : s.focusOffset;
    const int lastItem = forward ? s.focusItem : s.anchorItem;
    const int lastOffset = forward ? s.focusOffset : s.anchorOffset;
    const int i = static_cast<int>(index);
    if (i < firstItem || i > lastItem) return {0, 0};
    const int length = static_cast<int>(item.text.size());
    const int from = i == firstItem ? std::clamp(firstOffset, 0, length) : 0;
    const int to = i == lastItem ? std::clamp(lastOffset, 0, length) : length;
    return {from, to};
}

class CanvasPainter : public QObject {
public:
    CanvasPainter(QWidget* canvas, int panel) : QObject(canvas), canvas_(canvas), panel_(panel) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != canvas_) return false;
        Panel* panel = FindPanel(panel_);
        if (!panel) return false;
        switch (event->type()) {
            case QEvent::Paint:
                Paint(*panel, static_cast<QPaintEvent*>(event)->rect());
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                    const QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
                    pressed_ = ButtonAt(*panel, point);
                    Repaint(*panel, pressed_);
                    if (pressed_ > 0) {
                        // A pressed button takes the focus, as a button widget does.
                        Focus(*panel, pressed_);
                        canvas_->setFocus(Qt::MouseFocusReason);
                        return true;
                    }
                    StartSelection(*panel, point, event->type() == QEvent::MouseButtonDblClick);
                    return true;
                }
                break;
            case QEvent::MouseMove:
                if (selecting_ && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
                    ExtendSelection(*panel, static_cast<QMouseEvent*>(event)->position().toPoint());
                    return true;
                }
                break;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && pressed_ > 0) {
                    int control = pressed_;
                    pressed_ = 0;
                    Repaint(*panel, control);
                    if (ButtonAt(*panel, static_cast<QMouseEvent*>(event)->position().toPoint()) == control) {
                        FireCommit(panel_, control);
                    }
                    return true;
                }
                selecting_ = false;
                break;
            case QEvent::FocusIn: {
                // Tab enters at the first drawn control, Shift+Tab at the
                // last; any other way back in finds the one left focused.
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason == Qt::TabFocusReason || !IsFocusable(*panel, focused_))
                    Focus(*panel, NextFocusable(*panel, 0, true));
                else if (reason == Qt::BacktabFocusReason)
                    Focus(*panel, NextFocusable(*panel, static_cast<int>(panel->controls.size()), false));
                else
                    Repaint(*panel, focused_);
                break;
            }
            case QEvent::FocusOut:
                Repaint(*panel, focused_);
                break;
            case QEvent::KeyPress:
                if (KeyPress(*panel, *static_cast<QKeyEvent*>(event))) return true;
                break;
            case QEvent::ToolTip: {
                auto* help = static_cast<QHelpEvent*>(event);
                QString text = ClippedTextAt(*panel, help->pos());
                if (text.isEmpty()) {
                    QToolTip::hideText();
                } else {
                    QToolTip::showText(help->globalPos(), PlainToolTip(text), canvas_);
                }
                return true;
            }
            default:
                break;
        }
        return false;
    }

private:
    void Paint(Panel& panel, const QRect& area)
    {
        QPainter painter(canvas_);
        const QFont base = canvas_->font();
        for (std::size_t i = 1; i < panel.controls.size(); ++i) {
            const Control& c = panel.controls[i];
            if (c.painted < 0) continue;
            const PaintedItem& item = panel.painted[static_cast<std::size_t>(c.painted)];
            if (!item.visible) continue;
            if (!item.label.isEmpty() && item.style != CTRL_SQUARE_COMMAND_BUTTON &&
                item.labelRect.intersects(area)) {
                if (item.labelBackground != VAL_TRANSPARENT) {
                    painter.fillRect(item.labelRect, ColorOf(item.labelBackground));
                }
                painter.setFont(FontFor(base, item.labelPointSize, item.labelBold));
                painter.setPen(ColorOf(item.labelColor));
                painter.drawText(item.labelRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                 item.label);
            }
            if (!item.rect.intersects(area)) continue;
            if (item.style == CTRL_SQUARE_COMMAND_BUTTON) {
                QColor fill = ColorOf(item.buttonColor);
                if (pressed_ == c.id) fill = fill.darker(140);
                painter.fillRect(item.rect, fill);
                painter.setPen(fill.darker(160));
                painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
                painter.setFont(FontFor(base, item.labelPointSize, item.labelBold));
                painter.setPen(ColorOf(item.labelColor));
                painter.drawText(item.rect, Qt::AlignCenter | Qt::TextSingleLine, item.label);
                if (c.id == focused_ && canvas_->hasFocus()) PaintFocusMark(painter, MarkRect(item));
                continue;
            }
            if (item.textBackground != VAL_TRANSPARENT)
                painter.fillRect(item.rect, ColorOf(item.textBackground));
            painter.setFont(FontFor(base, item.textPointSize, item.textBold));
            PaintSelection(painter, panel, static_cast<std::size_t>(c.painted));
            painter.setPen(ColorOf(item.textColor));
            if (item.markLength > 0) {
                PaintMarkedText(painter, item);
            } else {
                painter.drawText(item.rect.adjusted(2, 0, -2, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item.text);
            }
        }
    }

    // Where the focus mark of a drawn control stands: just around it.
    static QRect MarkRect(const PaintedItem& item)
    {
        const int m = kFocusMarkWidth + 1;
        return item.rect.adjusted(-m, -m, m, m);
    }

    bool IsFocusable(const Panel& panel, int control) const
    {
        if (control <= 0 || static_cast<std::size_t>(control) >= panel.controls.size()) return false;
        const Control& c = panel.controls[static_cast<std::size_t>(control)];
        if (c.painted < 0) return false;
        const PaintedItem& item = panel.painted[static_cast<std::size_t>(c.painted)];
        return item.visible && item.style == CTRL_SQUARE_COMMAND_BUTTON;
    }

    // The focusable drawn control after (or before) `from` in the order they
    // were made, which is the order of their rows; 0 when there is none.
    int NextFocusable(const Panel& panel, int from, bool forward) const
    {
        const int count = static_cast<int>(panel.controls.size());
        for (int id = forward ? from + 1 : from - 1; id > 0 && id < count; id += forward ? 1 : -1) {
            if (IsFocusable(panel, id)) return id;
        }
        return 0;
    }

    // Moves the focus mark to a drawn control and scrolls it into view.
    void Focus(Panel& panel, int control)
    {
        const int before = focused_;
        focused_ = control;
        Repaint(panel, before);
        Repaint(panel, focused_);
        Control* c = control > 0 ? FindControl(panel.handle, control) : nullptr;
        if (!c || c->painted < 0) return;
        const QRect r = MarkRect(panel.painted[static_cast<std::size_t>(c->painted)]);
        for (QWidget* w = canvas_->parentWidget(); w; w = w->parentWidget()) {
            if (auto* area = qobject_cast<QScrollArea*>(w)) {
                area->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 20, r.height() / 2 + 20);
                break;
            }
        }
    }

    // Tab and Shift+Tab step through the drawn controls before leaving the
    // canvas; Return, Enter and Space press the focused one.
    bool KeyPress(Panel& panel, const QKeyEvent& key)
    {
        const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
        const bool back =
            key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_Tab && mods == Qt::ShiftModifier);
        if (back || (key.key() == Qt::Key_Tab && mods == Qt::NoModifier)) {
            const int next = NextFocusable(panel, focused_, !back);
            if (next == 0) return false;  // on to the next widget
            Focus(panel, next);
            return true;
        }
        const bool press =
            key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
        if (!press || mods != Qt::NoModifier || !IsFocusable(panel, focused_)) return false;
        if (!key.isAutoRepeat()) FireCommit(panel_, focused_);
        return true;
    }

    // The text in three runs: before the mark, the mark (bold on the
    // highlight colour), after it; clipped to the field like plain text.
    void PaintMarkedText(QPainter& painter, const PaintedItem& item)
    {
        const QByteArray bytes = item.text.toUtf8();
        const int start = std::clamp(item.markStart, 0, static_cast<int>(bytes.size()));
        const int end = std::clamp(item.markStart + item.markLength, start, static_cast<int>(bytes.size()));
        const QString runs[3] = {QString::fromUtf8(bytes.left(start)),
                                 QString::fromUtf8(bytes.mid(start, end - start)),
                                 QString::fromUtf8(bytes.mid(end))};
        const QRect area = item.rect.adjusted(2, 0, -2, 0);
        painter.save();
        painter.setClipRect(area);
        const QFont plain = painter.font();
        QFont bold = plain;
        bold.setBold(true);
        int x = area.left();
        for (int run = 0; run < 3; ++run) {
            painter.setFont(run == 1 ? bold : plain);
            const int width = painter.fontMetrics().horizontalAdvance(runs[run]);
            const QRect box(x, area.top(), width, area.height());
            if (run == 1) {
                painter.fillRect(box, canvas_->palette().color(QPalette::Highlight));
                painter.setPen(canvas_->palette().color(QPalette::HighlightedText));
            } else {
                painter.setPen(ColorOf(item.textColor));
            }
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, runs[run]);
            x += width;
        }
        painter.restore();
    }

    // The selected part of a field behind its text, on the highlight colour.
    void PaintSelection(QPainter& painter, const Panel& panel, std::size_t index)
    {
        const PaintedItem& item = panel.painted[index];
        const auto [from, to] = SelectedRange(panel, index);
        if (from >= to) return;
        const QFontMetrics metrics = painter.fontMetrics();
        const int left = item.rect.left() + 2;
        QRect box(left + metrics.horizontalAdvance(item.text.left(from)), item.rect.top(),
                  metrics.horizontalAdvance(item.text.mid(from, to - from)), item.rect.height());
        painter.fillRect(box.intersected(item.rect), canvas_->palette().color(QPalette::Highlight));
    }

    // A press on a field starts a selection there (a double click selects
    // the whole field); a press anywhere else clears the selection. Text
    // selected in the window's other texts goes.
    void StartSelection(Panel& panel, QPoint point, bool whole)
    {
        for (QLabel* label : canvas_->window()->findChildren<QLabel*>()) {
            if (label->hasSelectedText()) label->setSelection(0, 0);
        }
        const int item = TextItemAt(panel, point, false);
        panel.selection = {};
        if (item >= 0) {
            const PaintedItem& field = panel.painted[static_cast<std::size_t>(item)];
            const int offset = whole ? 0 : OffsetAt(field, point.x());
            panel.selection = {item, offset, item, whole ? static_cast<int>(field.text.size()) : offset};
        }
        selecting_ = item >= 0 && !whole;
        canvas_->update();
    }

    void ExtendSelection(Panel& panel, QPoint point)
    {
        const int item = TextItemAt(panel, point, true);
        if (item < 0) return;
        panel.selection.focusItem = item;
        panel.selection.focusOffset = OffsetAt(panel.painted[static_cast<std::size_t>(item)], point.x());
        canvas_->update();
    }

    // The text field under a point; with `nearest`, else the nearest field
    // on the point's line. -1 for none.
    int TextItemAt(const Panel& panel, QPoint point, bool nearest) const
    {
        int best = -1;
        int bestDistance = 0;
        for (std::size_t i = 0; i < panel.painted.size(); ++i) {
            const PaintedItem& item = panel.painted[i];
            if (!IsTextItem(item)) continue;
            if (item.rect.contains(point)) return static_cast<int>(i);
            if (!nearest || point.y() < item.rect.top() || point.y() > item.rect.bottom()) continue;
            const int distance =
                point.x() < item.rect.left() ? item.rect.left() - point.x() : point.x() - item.rect.right();
            if (best < 0 || distance < bestDistance) {
                best = static_cast<int>(i);
                bestDistance = distance;
            }
        }
        return best;
    }

    // The character offset in a field's text nearest to x.
    int OffsetAt(const PaintedItem& item, int x) const
    {
        const QFontMetrics metrics(FontFor(canvas_->font(), item.textPointSize, item.textBold));
        const int left = item.rect.left() + 2;
        int previous = 0;
        for (int i = 1; i <= item.text.size(); ++i) {
            const int advance = metrics.horizontalAdvance(item.text.left(i));
            if (x < left + (previous + advance) / 2) return i - 1;
            previous = advance;
        }
        return static_cast<int>(item.text.size());
    }

    // The painted button under a point (the last made wins), or 0.
    int ButtonAt(const Panel& panel, QPoint point) const
    {
        for (std::size_t i = panel.controls.size(); i-- > 1;) {
            const Control& c = panel.controls[i];
            if (c.painted < 0) continue;
            const PaintedItem& item = panel.painted[static_cast<std::size_t>(c.painted)];
            if (item.visible && item.style == CTRL_SQUARE_COMMAND_BUTTON && item.rect.contains(point))
                return c.id;
        }
        return 0;
    }

    // The whole text of a field under a point when the field cuts it off.
    QString ClippedTextAt(const Panel& panel, QPoint point) const
    {
        for (const PaintedItem& item : panel.painted) {
            if (!item.visible || item.style == CTRL_SQUARE_COMMAND_BUTTON || !item.rect.contains(point))
                continue;
            QFontMetrics metrics(FontFor(canvas_->font(), item.textPointSize, item.textBold));
            if (metrics.horizontalAdvance(item.text) > item.rect.width() - 4) return item.text;
        }
        return {};
    }

    void Repaint(Panel& panel, int control)
    {
        Control* c = control > 0 ? FindControl(panel.handle, control) : nullptr;
        if (c && c->painted >= 0)
            canvas_->update(MarkRect(panel.painted[static_cast<std::size_t>(c->painted)]));
    }

    QWidget* canvas_;
    int panel_;
    int pressed_ = 0;
    int focused_ = 0;         // the drawn control with the focus mark while the canvas has the focus
    bool selecting_ = false;  // a drag from a field goes on
};

PaintedItem& ItemOf(Panel& panel, const Control& control)
{
    return panel.painted[static_cast<std::size_t>(control.painted)];
}

// Size a caption needs, and its place left of the control, centred on it.
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

void Changed(Panel& panel, const QRect& before, const PaintedItem& item)
{
    CoverChild(panel, item.rect);
    if (!item.label.isEmpty()) CoverChild(panel, item.labelRect);
    panel.canvas->update(before);
    panel.canvas->update(item.rect);
    panel.canvas->update(item.labelRect);
}

}  // namespace

void InstallCanvasPainter(Panel& panel)
{
    panel.paintedCanvas = true;
    panel.canvas->installEventFilter(new CanvasPainter(panel.canvas, panel.handle));
    panel.canvas->setMouseTracking(false);
}

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
    switch (attribute) {
        case ATTR_TOP:
            *value = item.rect.top();
            return 0;
        case ATTR_LEFT:
            *value = item.rect.left();
            return 0;
        case ATTR_WIDTH:
            *value = item.rect.width();
            return 0;
        case ATTR_HEIGHT:
            *value = item.rect.height();
            return 0;
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
            *value = item.markStart;
            return 0;
        case ATTR_TEXT_MARK_LENGTH:
            *value = item.markLength;
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
            if (button) return -1;
            item.markStart = std::max(value, 0);
            break;
        case ATTR_TEXT_MARK_LENGTH:
            if (button) return -1;
            item.markLength = std::max(value, 0);
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

QString SelectedPaintedText(const Panel& panel)
{
    QString text;
    const PaintedItem* previous = nullptr;
    for (std::size_t i = 0; i < panel.painted.size(); ++i) {
        const auto [from, to] = SelectedRange(panel, i);
        const PaintedItem& item = panel.painted[i];
        if (from >= to) continue;
        if (previous) text += previous->rect.top() == item.rect.top() ? QLatin1Char('\t') : QLatin1Char('\n');
        text += item.text.mid(from, to - from);
        previous = &item;
    }
    return text;
}

void ClearPaintedSelection(Panel& panel)
{
    if (panel.selection.anchorItem < 0) return;
    panel.selection = {};
    if (panel.canvas) panel.canvas->update();
}

QString PaintedText(const Panel& panel, const Control& control)
{
    const PaintedItem& item = panel.painted[static_cast<std::size_t>(control.painted)];
    return item.style == CTRL_SQUARE_COMMAND_BUTTON ? item.label : item.text;
}

}  // namespace toolkit
