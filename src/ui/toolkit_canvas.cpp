// Painted controls: run-time controls of a scrolling canvas are records that
// the canvas draws, not widgets. A window with tens of thousands of rows then
// builds in milliseconds and holds a few hundred bytes a control; only the
// rows in view are drawn. Buttons react to the mouse, long texts show in a
// tooltip.
#include "ui/toolkit_canvas.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolTip>
#include <algorithm>

#include "ui/toolkit_internal.h"

namespace toolkit {
namespace {

// Where a field's text stands: inside its rectangle, 2 pixels in.
QRect TextArea(const PaintedItem& item)
{
    return item.rect.adjusted(2, 0, -2, 0);
}

TextRuns RunsOf(const PaintedItem& item, bool hovered)
{
    const QString& text = item.text;
    return {text,
            ColorOf(item.textColor),
            SpanOfBytes(text, item.markStart, item.markLength),
            SpanOfBytes(text, item.linkStart, item.linkLength),
            {},
            hovered};
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
                    pressed_ = ActiveAt(*panel, point, false);
                    Repaint(*panel, pressed_);
                    if (pressed_ > 0) {
                        // A pressed button or link takes the focus, as a button widget does.
                        Focus(*panel, pressed_);
                        canvas_->setFocus(Qt::MouseFocusReason);
                        return true;
                    }
                    selecting_ =
                        StartSelection(*panel, canvas_, point, event->type() == QEvent::MouseButtonDblClick);
                    return true;
                }
                break;
            case QEvent::MouseMove:
                if (selecting_ && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
                    ExtendSelection(*panel, canvas_, static_cast<QMouseEvent*>(event)->position().toPoint());
                    return true;
                }
                Hover(*panel, ActiveAt(*panel, static_cast<QMouseEvent*>(event)->position().toPoint(), true));
                break;
            case QEvent::Leave:
                Hover(*panel, 0);
                break;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && pressed_ > 0) {
                    int control = pressed_;
                    pressed_ = 0;
                    Repaint(*panel, control);
                    if (ActiveAt(*panel, static_cast<QMouseEvent*>(event)->position().toPoint(), false) ==
                        control)
                        FireLink(panel_, control, ItemOf(*panel, control).linkControl);
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
            const QFont font = FontFor(base, item.textPointSize, item.textBold);
            painter.setFont(font);
            PaintSelection(painter, panel, static_cast<std::size_t>(c.painted));
            painter.setPen(ColorOf(item.textColor));
            if (item.markLength > 0 || item.linkLength > 0) {
                DrawTextRuns(&painter, font, canvas_->palette(), TextArea(item), Qt::AlignLeft,
                             RunsOf(item, c.id == hovered_));
            } else {
                painter.drawText(TextArea(item), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                 item.text);
            }
            if (c.id == focused_ && canvas_->hasFocus()) PaintFocusMark(painter, MarkRect(item));
        }
    }

    QRect LinkRect(const PaintedItem& item) const { return PaintedLinkRect(canvas_, item); }

    PaintedItem& ItemOf(Panel& panel, int control) const
    {
        return panel
            .painted[static_cast<std::size_t>(panel.controls[static_cast<std::size_t>(control)].painted)];
    }

    // The mouse is over the link of `control` (0: over none): it is
    // underlined and the cursor is a hand.
    void Hover(Panel& panel, int control)
    {
        if (control == hovered_) return;
        const int before = hovered_;
        hovered_ = control;
        Repaint(panel, before);
        Repaint(panel, hovered_);
        if (control > 0) {
            canvas_->setCursor(Qt::PointingHandCursor);
        } else {
            canvas_->unsetCursor();
        }
    }

    // Where the focus mark of a drawn control stands: just around it, or
    // around its link.
    QRect MarkRect(const PaintedItem& item) const
    {
        const int m = kFocusMarkWidth + 1;
        const QRect link = LinkRect(item);
        return (link.isEmpty() ? item.rect : link).adjusted(-m, -m, m, m);
    }

    bool IsFocusable(const Panel& panel, int control) const
    {
        if (control <= 0 || static_cast<std::size_t>(control) >= panel.controls.size()) return false;
        const Control& c = panel.controls[static_cast<std::size_t>(control)];
        if (c.painted < 0) return false;
        const PaintedItem& item = panel.painted[static_cast<std::size_t>(c.painted)];
        return item.visible && (item.style == CTRL_SQUARE_COMMAND_BUTTON || !LinkRect(item).isEmpty());
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
        if (!IsPressKey(key) || !IsFocusable(panel, focused_)) return false;
        if (!key.isAutoRepeat()) FireLink(panel_, focused_, ItemOf(panel, focused_).linkControl);
        return true;
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

    // The painted button or link under a point (the last made wins), or 0;
    // with `linksOnly` only a link.
    int ActiveAt(const Panel& panel, QPoint point, bool linksOnly) const
    {
        for (std::size_t i = panel.controls.size(); i-- > 1;) {
            const Control& c = panel.controls[i];
            if (c.painted < 0) continue;
            const PaintedItem& item = panel.painted[static_cast<std::size_t>(c.painted)];
            if (!item.visible || !item.rect.contains(point)) continue;
            if (item.style == CTRL_SQUARE_COMMAND_BUTTON ? !linksOnly : LinkRect(item).contains(point))
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
    int hovered_ = 0;         // the drawn control whose link is under the mouse
    int focused_ = 0;         // the drawn control with the focus mark while the canvas has the focus
    bool selecting_ = false;  // a drag from a field goes on
};

}  // namespace

QRect PaintedLinkRect(const QWidget* canvas, const PaintedItem& item)
{
    if (item.linkLength <= 0 || !IsTextItem(item)) return {};
    return DrawTextRuns(nullptr, FontFor(canvas->font(), item.textPointSize, item.textBold),
                        canvas->palette(), TextArea(item), Qt::AlignLeft, RunsOf(item, false));
}

void InstallCanvasPainter(Panel& panel)
{
    panel.paintedCanvas = true;
    panel.canvas->installEventFilter(new CanvasPainter(panel.canvas, panel.handle));
    panel.canvas->setMouseTracking(false);  // until a link is drawn
    // Frames on the canvas only decorate: the mouse reaches what the canvas
    // draws beneath them (links under the mouse, tooltips).
    for (QWidget* child : panel.canvas->findChildren<QWidget*>()) {
        if (KindOf(child) == Kind::Frame) child->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

}  // namespace toolkit
