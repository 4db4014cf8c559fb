// What the files of a canvas that draws its controls share: fonts, and the
// text selected with the mouse.
#pragma once

#include <QFont>
#include <QPoint>
#include <utility>

#include "ui/toolkit_internal.h"

namespace toolkit {

// The canvas's font at a text size (0: the canvas's own) and weight.
inline QFont FontFor(const QFont& base, int pointSize, bool bold)
{
    QFont font = base;
    if (pointSize > 0) font.setPixelSize(pointSize);
    font.setBold(bold);
    return font;
}

// A field whose text can be selected: a visible one that is not a button.
inline bool IsTextItem(const PaintedItem& item)
{
    return item.visible && item.style != CTRL_SQUARE_COMMAND_BUTTON;
}

// The selected characters [from, to) of painted field `index`.
std::pair<int, int> SelectedRange(const Panel& panel, std::size_t index);
// The text field under a point; with `nearest`, else the nearest field on
// the point's line. -1 for none.
int TextItemAt(const Panel& panel, QPoint point, bool nearest);
// The character offset in a field's text nearest to x.
int OffsetAt(const QFont& base, const PaintedItem& item, int x);
// A press on a field starts a selection there (a double click selects the
// whole field); a press anywhere else clears the selection. Text selected
// in the window's other texts goes. True when a drag may extend it.
bool StartSelection(Panel& panel, QWidget* canvas, QPoint point, bool whole);
// A drag moves the selection's far end to the field under (or nearest) it.
void ExtendSelection(Panel& panel, QWidget* canvas, QPoint point);

}  // namespace toolkit
