// Links: lines of text drawn in runs (marked, linked, selected parts), and
// links on texts and lists that have widgets of their own. A canvas draws
// the links of its drawn fields itself (toolkit_canvas.cpp).
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>

#include "ui/toolkit_canvas.h"
#include "ui/toolkit_internal.h"

namespace toolkit {

TextSpan SpanOfBytes(const QString& text, int start, int length)
{
    const QByteArray bytes = text.toUtf8();
    const long long size = bytes.size();
    const long long from = std::clamp<long long>(start, 0, size);
    const long long to = std::clamp<long long>(from + std::max(length, 0), from, size);
    const auto before = static_cast<int>(QString::fromUtf8(bytes.left(from)).size());
    return {before, before + static_cast<int>(QString::fromUtf8(bytes.mid(from, to - from)).size())};
}

QRect DrawTextRuns(QPainter* painter, const QFont& font, const QPalette& palette, const QRect& area,
                   Qt::Alignment alignment, const TextRuns& runs)
{
    const auto length = static_cast<int>(runs.text.size());
    auto cut = [length](int at) { return std::clamp(at, 0, length); };
    std::array<int, 8> cuts = {0,
                               length,
                               cut(runs.mark.from),
                               cut(runs.mark.to),
                               cut(runs.link.from),
                               cut(runs.link.to),
                               cut(runs.selection.from),
                               cut(runs.selection.to)};
    std::sort(cuts.begin(), cuts.end());
    const auto end = std::unique(cuts.begin(), cuts.end());
    auto inside = [](const TextSpan& span, int at) { return at >= span.from && at < span.to; };

    // The runs' fonts and widths first: the alignment needs the whole width.
    struct Run {
        int from = 0;
        int to = 0;
        QFont font;
        int width = 0;
    };
    std::array<Run, cuts.size() - 1> list{};
    std::size_t count = 0;
    int total = 0;
    for (auto at = cuts.begin(); at + 1 < end; ++at) {
        Run& run = list[count++];
        run = {*at, *(at + 1), font, 0};
        if (inside(runs.mark, run.from)) run.font.setBold(true);
        if (inside(runs.link, run.from) && runs.linkHovered) run.font.setUnderline(true);
        run.width = QFontMetrics(run.font).horizontalAdvance(runs.text.mid(run.from, run.to - run.from));
        total += run.width;
    }
    int x = area.left();
    if (alignment & Qt::AlignRight) x = area.right() + 1 - total;
    if (alignment & Qt::AlignHCenter) x = area.left() + (area.width() - total) / 2;

    QRect link;
    if (painter) {
        painter->save();
        painter->setClipRect(area);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Run& run = list[i];
        const QRect box(x, area.top(), run.width, area.height());
        x += run.width;
        const bool linked = inside(runs.link, run.from);
        if (linked) link |= box;
        if (!painter) continue;
        QColor pen = linked ? palette.color(QPalette::Link) : runs.color;
        if (inside(runs.mark, run.from) || inside(runs.selection, run.from)) {
            painter->fillRect(box, palette.color(QPalette::Highlight));
            pen = palette.color(QPalette::HighlightedText);
        }
        painter->setFont(run.font);
        painter->setPen(pen);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          runs.text.mid(run.from, run.to - run.from));
    }
    if (painter) painter->restore();
    return link.intersected(area);
}

namespace {

// The link of a text widget: draws the text in runs, follows the mouse over
// the link and commits on a click, Return or Space. Selecting the text with
// the mouse still works from outside the link.
class LinkLabel : public QObject {
public:
    LinkLabel(QLabel* label, int panel, int control)
        : QObject(label), label_(label), panel_(panel), control_(control), focusPolicy_(label->focusPolicy())
    {
        label->installEventFilter(this);
    }

    int start = 0;
    int length = 0;
    int target = 0;

    bool Linked() const { return length > 0; }
    // Where the link stands in the label; empty when none is in view.
    QRect LinkRect() const { return Linked() ? Draw(nullptr) : QRect(); }
    void Changed()
    {
        label_->setMouseTracking(label_->hasMouseTracking() || Linked());
        label_->setFocusPolicy(Linked() ? Qt::StrongFocus : focusPolicy_);
        if (!Linked()) Hover(false);
        label_->update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != label_ || !Linked()) return false;
        auto at = [event] { return static_cast<QMouseEvent*>(event)->position().toPoint(); };
        auto left = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
        switch (event->type()) {
            case QEvent::Paint: {
                QPainter painter(label_);
                Draw(&painter);
                return true;
            }
            case QEvent::MouseMove:
                Hover(LinkRect().contains(at()));
                return pressed_;
            case QEvent::Leave:
                Hover(false);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                if (!left() || !LinkRect().contains(at())) break;
                pressed_ = true;
                label_->setFocus(Qt::MouseFocusReason);
                return true;
            case QEvent::MouseButtonRelease:
                if (!left() || !pressed_) break;
                pressed_ = false;
                if (LinkRect().contains(at())) FireLink(panel_, control_, target);
                return true;
            case QEvent::KeyPress: {
                const auto* key = static_cast<QKeyEvent*>(event);
                if (!IsPressKey(*key)) break;
                if (!key->isAutoRepeat()) FireLink(panel_, control_, target);
                return true;
            }
            default:
                break;
        }
        return false;
    }

private:
    QRect Draw(QPainter* painter) const
    {
        const int m = label_->margin();
        const QString text = label_->text();
        TextSpan selection;
        if (label_->hasSelectedText()) {
            selection.from = label_->selectionStart();
            selection.to = selection.from + static_cast<int>(label_->selectedText().size());
        }
        const TextRuns runs{text,      label_->palette().color(label_->foregroundRole()),
                            {},        SpanOfBytes(text, start, length),
                            selection, hovered_};
        return DrawTextRuns(painter, label_->font(), label_->palette(),
                            label_->contentsRect().adjusted(m, m, -m, -m), label_->alignment(), runs);
    }

    void Hover(bool on)
    {
        if (on == hovered_) return;
        hovered_ = on;
        if (on) {
            hadCursor_ = label_->testAttribute(Qt::WA_SetCursor);
            cursor_ = label_->cursor();
            label_->setCursor(Qt::PointingHandCursor);
        } else if (hadCursor_) {
            label_->setCursor(cursor_);
        } else {
            label_->unsetCursor();
        }
        label_->update();
    }

    QLabel* label_;
    int panel_;
    int control_;
    Qt::FocusPolicy focusPolicy_;  // the label's own, without a link
    bool hovered_ = false;
    bool pressed_ = false;
    bool hadCursor_ = false;
    QCursor cursor_;
};

// A list whose rows are links: in the link colour, the row under the mouse
// underlined with a hand cursor; a click on a row or Space commits the list
// (Return and a double click already do, the double click's second press is
// left out: its first click has committed).
class LinkRows : public QStyledItemDelegate {
public:
    LinkRows(QListWidget* list, int panel, int control)
        : QStyledItemDelegate(list), list_(list), listObject_(list), panel_(panel), control_(control)
    {
        list->setItemDelegate(this);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        list->viewport()->setMouseTracking(true);
    }

    int length = 0;
    int target = 0;

    void Changed()
    {
        if (length <= 0) Hover({});
        list_->viewport()->update();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (length <= 0) return;
        option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
        option->font.setUnderline(hovered_ == index);
        // The current row is marked for the keyboard only: to the mouse the
        // rows are links alike.
        if (!list_->hasFocus()) option->state &= ~QStyle::State_Selected;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A list being destroyed is a list no longer: its last events (focus
        // out, hiding, children going) are none of the links' business.
        if (!qobject_cast<QListWidget*>(listObject_)) return false;
        if (watched != list_ && watched != list_->viewport())
            return QStyledItemDelegate::eventFilter(watched, event);  // an editor's
        if (length <= 0) return false;
        if (watched == list_) {
            if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
                list_->viewport()->update();
            if (event->type() != QEvent::KeyPress) return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Space || !IsPressKey(*key)) return false;
            if (!key->isAutoRepeat() && list_->currentRow() >= 0) FireLink(panel_, control_, target);
            return true;
        }
        if (watched != list_->viewport()) return false;
        auto row = [this, event] {
            return list_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        };
        auto left = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
        switch (event->type()) {
            case QEvent::MouseMove:
                Hover(row());
                break;
            case QEvent::Leave:
                Hover({});
                break;
            case QEvent::MouseButtonPress:
                pressed_ = left() ? row() : QModelIndex();
                break;
            case QEvent::MouseButtonRelease:
                if (left() && pressed_.isValid() && pressed_ == row()) {
                    pressed_ = QModelIndex();
                    list_->setCurrentIndex(row());
                    FireLink(panel_, control_, target);
                }
                break;
            case QEvent::MouseButtonDblClick:
                return true;
            default:
                break;
        }
        return false;
    }

private:
    void Hover(const QModelIndex& index)
    {
        if (hovered_ == index) return;
        list_->viewport()->update(list_->visualRect(hovered_));
        hovered_ = index;
        list_->viewport()->update(list_->visualRect(index));
        if (index.isValid()) {
            list_->viewport()->setCursor(Qt::PointingHandCursor);
        } else {
            list_->viewport()->unsetCursor();
        }
    }

    QListWidget* list_;
    QObject* listObject_;  // the list, seen as the object it stays while it is destroyed
    int panel_;
    int control_;
    QPersistentModelIndex hovered_;
    QPersistentModelIndex pressed_;
};

LinkLabel* LinkOf(const QWidget* widget)
{
    if (!widget) return nullptr;
    for (QObject* child : widget->children()) {
        if (auto* link = dynamic_cast<LinkLabel*>(child)) return link;
    }
    return nullptr;
}

// Reads or writes one link attribute of a label's or a list's link.
template <typename Link>
int& Field(Link& link, int attribute)
{
    return attribute == ATTR_LINK_START    ? link.start
           : attribute == ATTR_LINK_LENGTH ? link.length
                                           : link.target;
}

}  // namespace

int GetWidgetLink(const Control& control, int attribute, int* value)
{
    if (qobject_cast<const QLabel*>(control.widget.data())) {
        LinkLabel* link = LinkOf(control.widget);
        *value = link ? Field(*link, attribute) : 0;
        return 0;
    }
    if (auto* list = qobject_cast<const QListWidget*>(control.widget.data())) {
        auto* rows = dynamic_cast<LinkRows*>(list->itemDelegate());
        *value = rows && attribute != ATTR_LINK_START
                     ? (attribute == ATTR_LINK_LENGTH ? rows->length : rows->target)
                     : 0;
        return 0;
    }
    return -1;
}

int SetWidgetLink(Panel& panel, Control& control, int attribute, int value)
{
    if (attribute == ATTR_LINK_CONTROL && value != 0 && !FindControl(panel.handle, value)) return -1;
    if (attribute != ATTR_LINK_CONTROL) value = std::max(value, 0);
    if (auto* label = qobject_cast<QLabel*>(control.widget.data())) {
        LinkLabel* link = LinkOf(label);
        if (!link) link = new LinkLabel(label, panel.handle, control.id);
        Field(*link, attribute) = value;
        link->Changed();
        return 0;
    }
    if (auto* list = qobject_cast<QListWidget*>(control.widget.data())) {
        auto* rows = dynamic_cast<LinkRows*>(list->itemDelegate());
        if (!rows) rows = new LinkRows(list, panel.handle, control.id);
        if (attribute == ATTR_LINK_LENGTH) rows->length = value;
        if (attribute == ATTR_LINK_CONTROL) rows->target = value;
        rows->Changed();
        return 0;
    }
    return -1;
}

QRect LinkArea(const QWidget* widget)
{
    const LinkLabel* link = qobject_cast<const QLabel*>(widget) ? LinkOf(widget) : nullptr;
    return link ? link->LinkRect() : QRect();
}

QRect FocusArea(const QWidget* widget)
{
    const QRect area = LinkArea(widget);
    return area.isEmpty() ? widget->geometry() : area.translated(widget->pos());
}

}  // namespace toolkit
