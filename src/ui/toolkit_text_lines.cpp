// Breaking a text into the lines a painted text field of a given width
// shows it in, so that a window can lay a long text out over several fields.
#include <QFont>
#include <QTextLayout>
#include <algorithm>

#include "ui/toolkit_canvas.h"
#include "ui/toolkit_internal.h"

using namespace toolkit;

namespace {

// Room a painted field keeps on each side of its text, and a pixel more for
// the bold marked run, which is drawn a piece at a time.
constexpr int kTextSides = 2 * 2 + 2;

int CharactersIn(const QByteArray& utf8, int bytes)
{
    return static_cast<int>(
        QString::fromUtf8(utf8.left(std::clamp(bytes, 0, static_cast<int>(utf8.size())))).size());
}

}  // namespace

int BreakTextLines(int panel, int control, const char* text, int markStart, int markLength, int width,
                   int* starts, int maxStarts)
{
    Panel* p = FindPanel(panel);
    const Control* c = p ? FindControl(panel, control) : nullptr;
    if (!c || c->painted < 0 || !text || !starts || maxStarts < 1) return -1;
    const PaintedItem& item = p->painted[static_cast<std::size_t>(c->painted)];
    const QFont font = FontFor(p->canvas->font(), item.textPointSize, item.textBold);

    const QByteArray utf8(text);
    const QString shown = QString::fromUtf8(utf8);
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    if (markLength > 0) {
        QTextLayout::FormatRange mark;
        mark.start = CharactersIn(utf8, markStart);
        mark.length = CharactersIn(utf8, markStart + markLength) - mark.start;
        mark.format.setFontWeight(QFont::Bold);
        layout.setFormats({mark});
    }
    int count = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width - kTextSides, 1));
        if (count < maxStarts) starts[count] = static_cast<int>(shown.left(line.textStart()).toUtf8().size());
        ++count;
    }
    layout.endLayout();
    if (count == 0) starts[count++] = 0;  // an empty text still takes a line
    return count;
}
