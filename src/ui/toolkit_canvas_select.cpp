// Text selected with the mouse on a canvas that draws its controls: from a
// place in one painted field to a place in the same or another field.
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "ui/toolkit_canvas.h"
#include "ui/toolkit_internal.h"

namespace toolkit {

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

int TextItemAt(const Panel& panel, QPoint point, bool nearest)
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

int OffsetAt(const QFont& base, const PaintedItem& item, int x)
{
    const QFontMetrics metrics(FontFor(base, item.textPointSize, item.textBold));
    const int left = item.rect.left() + 2;
    int previous = 0;
    for (int i = 1; i <= item.text.size(); ++i) {
        const int advance = metrics.horizontalAdvance(item.text.left(i));
        if (x < left + (previous + advance) / 2) return i - 1;
        previous = advance;
    }
    return static_cast<int>(item.text.size());
}

bool StartSelection(Panel& panel, QWidget* canvas, QPoint point, bool whole)
{
    for (QLabel* label : canvas->window()->findChildren<QLabel*>()) {
        if (label->hasSelectedText()) label->setSelection(0, 0);
    }
    const int item = TextItemAt(panel, point, false);
    panel.selection = {};
    if (item >= 0) {
        const PaintedItem& field = panel.painted[static_cast<std::size_t>(item)];
        const int offset = whole ? 0 : OffsetAt(canvas->font(), field, point.x());
        panel.selection = {item, offset, item, whole ? static_cast<int>(field.text.size()) : offset};
    }
    canvas->update();
    return item >= 0 && !whole;
}

void ExtendSelection(Panel& panel, QWidget* canvas, QPoint point)
{
    const int item = TextItemAt(panel, point, true);
    if (item < 0) return;
    panel.selection.focusItem = item;
    panel.selection.focusOffset =
        OffsetAt(canvas->font(), panel.painted[static_cast<std::size_t>(item)], point.x());
    canvas->update();
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
}  // namespace toolkit
