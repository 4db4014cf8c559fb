#include "compare/detail_pane.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "compare/compare_uir.h"
#include "compare/report.h"
#include "ui/toolkit.h"

namespace {

constexpr const char* kNotShown = "(not shown)";
constexpr int kNotShownColor = 0x808080;
constexpr int kTextColor = 0x000000;
// More lines than a 259-byte text takes at the narrowest column.
constexpr int kMaxLines = 64;

// What one side of a field shows: an effect slot that side does not show
// says so, in grey and unmarked.
struct SideText {
    std::string_view text;
    std::size_t markBegin = 0;
    std::size_t markEnd = 0;
    bool notShown = false;
};

SideText SideOf(const DetailField& f, bool newSide)
{
    SideText side{newSide ? f.newText : f.oldText, newSide ? f.marks.newBegin : f.marks.oldBegin,
                  newSide ? f.marks.newEnd : f.marks.oldEnd};
    if (f.field >= SLOT_FIELD_FIRST && side.text.empty()) side = {kNotShown, 0, 0, true};
    return side;
}

}  // namespace

void DetailPane::Show(const std::array<DetailField, SPELL_TEXT_FIELDS>& fields, int count)
{
    fields_ = fields;
    count_ = std::clamp(count, 0, SPELL_TEXT_FIELDS);
    Lay();
    // Each spell's fields from the top, the pane as long as they are.
    FitCanvas(panel_);
}

void DetailPane::Resized()
{
    if (CanvasViewWidth(panel_) != width_) {
        Lay();
        FitCanvas(panel_);
    }
}

int DetailPane::LineField(std::size_t n)
{
    while (lines_.size() <= n) {
        const int field = NewCtrl(panel_, CTRL_STRING, "", 0, COMPARE_OLD_LEFT);
        SetCtrlAttribute(panel_, field, ATTR_LABEL_LEFT, COMPARE_LABEL_LEFT);
        lines_.push_back(field);
    }
    return lines_[n];
}

void DetailPane::Lay()
{
    width_ = CanvasViewWidth(panel_);
    const int fieldWidth = std::max(
        COMPARE_FIELD_MIN_WIDTH, (width_ - COMPARE_OLD_LEFT - COMPARE_COLUMN_GAP - COMPARE_RIGHT_ROOM) / 2);
    const int lefts[2] = {COMPARE_OLD_LEFT, COMPARE_OLD_LEFT + fieldWidth + COMPARE_COLUMN_GAP};
    std::size_t used = 0;
    int top = COMPARE_ROW_FIRST_TOP;
    for (int k = 0; k < count_; ++k) {
        const DetailField& f = fields_[static_cast<std::size_t>(k)];
        TextField caption{};
        FieldCaption(f.field, caption);
        int rowLines = 1;
        for (int s = 0; s < 2; ++s) {
            const SideText side = SideOf(f, s == 1);
            const std::string text(side.text);
            std::array<int, kMaxLines + 1> starts{};
            const int first = LineField(used);
            const int lines =
                std::clamp(BreakTextLines(panel_, first, text.c_str(), static_cast<int>(side.markBegin),
                                          static_cast<int>(side.markEnd - side.markBegin), fieldWidth,
                                          starts.data(), kMaxLines),
                           1, kMaxLines);
            starts[static_cast<std::size_t>(lines)] = static_cast<int>(text.size());
            for (int i = 0; i < lines; ++i) {
                const auto begin = static_cast<std::size_t>(starts[static_cast<std::size_t>(i)]);
                const auto end = static_cast<std::size_t>(starts[static_cast<std::size_t>(i) + 1]);
                const std::size_t markBegin = std::clamp(side.markBegin, begin, end);
                const std::size_t markEnd = std::clamp(side.markEnd, markBegin, end);
                const int field = LineField(used++);
                SetCtrlVal(panel_, field, text.substr(begin, end - begin).c_str());
                SetCtrlAttribute(panel_, field, ATTR_TEXT_COLOR, side.notShown ? kNotShownColor : kTextColor);
                SetCtrlAttribute(panel_, field, ATTR_LEFT, lefts[s]);
                SetCtrlAttribute(panel_, field, ATTR_TOP, top + i * COMPARE_LINE_STEP);
                SetCtrlAttribute(panel_, field, ATTR_WIDTH, fieldWidth);
                // The caption is placed last: moving a field moves its caption along.
                SetCtrlAttribute(panel_, field, ATTR_LABEL_TEXT, s == 0 && i == 0 ? caption.data() : "");
                SetCtrlAttribute(panel_, field, ATTR_TEXT_MARK_START, static_cast<int>(markBegin - begin));
                SetCtrlAttribute(panel_, field, ATTR_TEXT_MARK_LENGTH, static_cast<int>(markEnd - markBegin));
                SetCtrlAttribute(panel_, field, ATTR_VISIBLE, 1);
            }
            rowLines = std::max(rowLines, lines);
        }
        top += rowLines * COMPARE_LINE_STEP + (COMPARE_ROW_STEP - COMPARE_LINE_STEP);
    }
    for (std::size_t n = used; n < lines_.size(); ++n) SetCtrlAttribute(panel_, lines_[n], ATTR_VISIBLE, 0);
    // The column headings stand over their columns.
    int headingLeft = 0;
    GetCtrlAttribute(panel_, COMPAREPANEL_OLD_HEADING, ATTR_LEFT, &headingLeft);
    SetCtrlAttribute(panel_, COMPAREPANEL_OLD_HEADING, ATTR_WIDTH, fieldWidth);
    SetCtrlAttribute(panel_, COMPAREPANEL_NEW_HEADING, ATTR_LEFT, headingLeft + lefts[1] - lefts[0]);
    SetCtrlAttribute(panel_, COMPAREPANEL_NEW_HEADING, ATTR_WIDTH, fieldWidth);
}
