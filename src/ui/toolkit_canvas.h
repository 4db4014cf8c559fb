// What the files of a canvas that draws its controls share: fonts, the text
// selected with the mouse, and lines of text drawn in runs (marks, links),
// which texts with widgets of their own draw the same way.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
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

// Characters [from, to) of a text.
struct TextSpan {
    int from = 0;
    int to = 0;
};
// The characters of `text` that its UTF-8 bytes [start, start + length) are;
// a length past the end reaches the end.
TextSpan SpanOfBytes(const QString& text, int start, int length);

// One line of text in runs: the marked part is bold on the highlight colour,
// the linked part in the link colour (underlined while hovered), the selected
// part on the highlight colour in the highlighted text's colour; the rest in
// `color`.
struct TextRuns {
    const QString& text;
    QColor color;
    TextSpan mark{};
    TextSpan link{};
    TextSpan selection{};
    bool linkHovered = false;
};
// Draws the runs on one line of `area`, clipped to it and aligned as
// `alignment` says, in `font` and the colours of `palette`; with no painter
// it only measures. Returns the place of the link's run within the area
// (empty without a link).
QRect DrawTextRuns(QPainter* painter, const QFont& font, const QPalette& palette, const QRect& area,
                   Qt::Alignment alignment, const TextRuns& runs);

}  // namespace toolkit
