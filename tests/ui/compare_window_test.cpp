// The comparison window: what it says when it cannot compare, and how its list
// and detail pane follow the filter, the selection and the loaded file.
// Sharing from the windows: "Copy" on a spell window puts on the clipboard
// what the exporter's --describe prints, "Save report..." writes what its
// --diff --format prints; texts selected with the mouse copy with Ctrl+C.
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <map>

#include "app/main_uir.h"
#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "compare/report.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "markup_readback.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using testsupport::FileText;
using testsupport::SpellLine;

struct CompareWindowTest : MainWindowTest {
    void TearDown() override
    {
        if (ComparePanel() > 0) CommitCtrl(ComparePanel(), COMPAREPANEL_CLOSE);
        MainWindowTest::TearDown();
    }
    // Compares `other` with the loaded file through the main window's button.
    int Compare(int answer, const std::string& other)
    {
        Dialogs().AnswerNextFileSelect(answer, other);
        return CommitCtrl(mainPanel_, MAINPANEL_COMPARE);
    }
    // The detail pane's rows as they stand, top to bottom: caption, old, new; the lines a long text
    // goes on over (no caption of their own) join their row's.
    static std::vector<std::array<std::string, 3>> PaneRows(int panel)
    {
        std::map<int, std::array<std::string, 3>> lines;
        for (int control = COMPAREPANEL_NEW_HEADING + 1; !ControlKind(panel, control).empty(); ++control) {
            if (!Attr(panel, control, ATTR_VISIBLE)) continue;
            std::string caption;
            QRect place;
            EXPECT_TRUE(PaintedCaption(panel, control, caption, place)) << control;
            auto& line = lines[Attr(panel, control, ATTR_TOP)];
            if (!caption.empty()) {
                line[0] = caption;
                EXPECT_GE(place.left(), 0) << caption << " stands left of the pane";
            }
            line[Attr(panel, control, ATTR_LEFT) == COMPARE_OLD_LEFT ? 1 : 2] = Text(panel, control);
        }
        std::vector<std::array<std::string, 3>> shown;
        for (const auto& [top, line] : lines) {
            if (line[0].empty() && !shown.empty()) {
                shown.back()[1] += line[1];
                shown.back()[2] += line[2];
            } else {
                shown.push_back(line);
            }
        }
        return shown;
    }

    static int VisibleLines(int panel)
    {
        int lines = 0;
        for (int control = COMPAREPANEL_NEW_HEADING + 1; !ControlKind(panel, control).empty(); ++control)
            lines += Attr(panel, control, ATTR_VISIBLE);
        return lines;
    }

    testsupport::TempDir dir;
};

// The chooser's answer (PATH: a path longer than 259 bytes) and the message; "loaded" tells
// whether a spell file is loaded first.
struct RefusedRow {
    const char* name;
    bool loaded;
    int answer;
    std::string path;
    const char* message;
};
const RefusedRow kRefusedRows[] = {
    {"no spell file loaded", false, VAL_EXISTING_FILE_SELECTED, "old.txt",
     "No spell file is loaded: open one before comparing."},
    {"typed file does not exist", true, VAL_NEW_FILE_SELECTED, "/nowhere/old.txt",
     "The file /nowhere/old.txt does not exist. Nothing was compared."},
    {"path longer than 259 bytes", true, VAL_EXISTING_FILE_SELECTED, "/" + std::string(300, 'p'),
     "That path is longer than 259 bytes. Nothing was compared."},
};

class CompareRefused : public CompareWindowTest, public testing::WithParamInterface<RefusedRow> {};

TEST_P(CompareRefused, SaysWhyAndOpensNoWindow)
{
    const RefusedRow& row = GetParam();
    ParseSpells(mainPanel_,
                (row.loaded ? dir.Write("new.txt", FileText({{1, "Alpha"}})) : "/nowhere").c_str());
    Dialogs().Reset();
    Compare(row.answer, row.path);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text, row.message);
    EXPECT_EQ(ComparePanel(), -1);
}

INSTANTIATE_TEST_SUITE_P(CompareWindow, CompareRefused, testing::ValuesIn(kRefusedRows), RowName());

TEST_F(CompareWindowTest, EachSelectionShowsItsFieldsFromTheTop)
{
    // Alpha differs in more fields than the pane shows at once, Beta in its name only, a name longer
    // than the list is wide.
    SpellLine many(1, "Alpha");
    SpellLine manyOld(1, "Alpha");
    for (int k = 0; k < 10; ++k) many.Slot(k, 0, 10 + k, 0, 100);
    for (int k = 0; k < 11; ++k) manyOld.Slot(k, 0, 20 + k, 0, 100);
    for (int column : {2, 3, 6, 7, 9, 10, 11, 13, 14, 15, 17, 18, 19, 147}) manyOld.Set(column, "7");
    ParseSpells(mainPanel_,
                dir.Write("new.txt", FileText({many, {2, "Beta" + std::string(120, 'a')}})).c_str());
    ASSERT_EQ(Compare(VAL_EXISTING_FILE_SELECTED, dir.Write("old.txt", FileText({manyOld, {2, "Beta Old"}}))),
              0);
    const int panel = ComparePanel();
    SpellComparison core;
    ASSERT_EQ(CompareWithLoadedSpells((dir.path() / "old.txt").c_str(), 0, core), 0);
    ASSERT_EQ(core.differences.size(), 2u);
    std::array<DetailField, SPELL_TEXT_FIELDS> fields;
    const int count = DetailFields(core, core.differences[0], fields);
    ASSERT_GT(count, 20);
    const auto rows = PaneRows(panel);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(rows[0][1], fields[0].oldText);
    EXPECT_EQ(rows[0][2], fields[0].newText);
    EXPECT_EQ(fields[static_cast<std::size_t>(count - 1)].field, SLOT_FIELD_FIRST + 10);
    EXPECT_EQ(rows.back()[2], "(not shown)") << "slot 11 shows in the old file only";
    // Fields go by the spell window's captions, as the core names them, not by their export keys.
    const auto col19 = std::find_if(fields.begin(), fields.begin() + count,
                                    [](const DetailField& f) { return f.field == PANEL_TEXT_COL19; });
    ASSERT_NE(col19, fields.begin() + count);
    TextField caption{};
    FieldCaption(PANEL_TEXT_COL19, caption);
    EXPECT_EQ(rows[static_cast<std::size_t>(col19 - fields.begin())][0], caption.data());
    FieldCaption(SLOT_FIELD_FIRST + 10, caption);
    EXPECT_EQ(rows.back()[0], caption.data());

    auto* scroll = qobject_cast<QScrollArea*>(PanelCanvas(panel)->parentWidget()->parentWidget());
    ASSERT_NE(scroll, nullptr);
    QScrollBar* bar = scroll->verticalScrollBar();
    QApplication::processEvents();
    bar->setValue(bar->maximum());
    ASSERT_GT(bar->value(), 0);
    QWidget* list = ControlWidget(panel, COMPAREPANEL_LIST);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(DetailFields(core, core.differences[1], fields), 1);
    const auto second = PaneRows(panel);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0][1], fields[0].oldText);
    EXPECT_EQ(second[0][2], fields[0].newText);
    EXPECT_EQ(bar->value(), 0) << "the new selection starts at the top";
    const int lines = VisibleLines(panel);
    EXPECT_GE(lines, 3) << "the long new name goes on over lines instead of being cut";
    EXPECT_LT(PanelCanvas(panel)->minimumHeight(), (lines + 2) * COMPARE_LINE_STEP)
        << "the pane fits its row";

    // A wider window gives both columns the room: fewer lines, the heading over the new column moves.
    const int headingLeft = Attr(panel, COMPAREPANEL_NEW_HEADING, ATTR_LEFT);
    int width = 0;
    GetPanelAttribute(panel, ATTR_WIDTH, &width);
    SetPanelAttribute(panel, ATTR_WIDTH, width + 300);
    QApplication::processEvents();
    EXPECT_EQ(PaneRows(panel), second);
    EXPECT_LT(VisibleLines(panel), lines);
    EXPECT_EQ(Attr(panel, COMPAREPANEL_NEW_HEADING, ATTR_LEFT), headingLeft + 150);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(PaneRows(panel), rows) << "back to the first spell, its rows laid out anew";

    auto* rowList = qobject_cast<QListWidget*>(list);
    ASSERT_NE(rowList, nullptr);
    const QPoint at(10, rowList->visualItemRect(rowList->item(1)).center().y());
    QHelpEvent help(QEvent::ToolTip, at, rowList->viewport()->mapToGlobal(at));
    QApplication::sendEvent(rowList->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), rowList->item(1)->text()) << "a cut row shows whole as a tooltip";
}

// The rows the core gives for a kind and a part of a name.
Rows CoreRows(const SpellComparison& comparison, ChangeFilter kind, const char* part)
{
    Rows rows;
    for (int i : FilterDifferences(comparison, kind, part))
        rows.emplace_back(DifferenceRow(comparison, comparison.differences[static_cast<std::size_t>(i)]), i);
    return rows;
}

// The list shows what the core found for the kind and the name part; its rows open their spell
// until the loaded file is read again.
TEST_F(CompareWindowTest, ListFollowsKindAndNameAndOpensSpellsUntilTheFileIsReadAgain)
{
    const std::string loaded = dir.Write(
        "new.txt", FileText({{1, "Alpha"}, {2, "Beta"}, {3, "Gamma II"}, {5, "Epsilon"}, {5, "Omega"}}));
    const std::string other = dir.Write(
        "old.txt", FileText({{1, "Alpha"}, {3, "Gamma"}, {4, "Delta"}, {5, "Epsilon"}, {5, "Eta"}}));
    ParseSpells(mainPanel_, loaded.c_str());
    ASSERT_EQ(OpenSpellPopup(0), 0);
    ASSERT_EQ(Compare(VAL_EXISTING_FILE_SELECTED, other), 0);
    const int first = ComparePanel();
    ASSERT_EQ(Compare(VAL_EXISTING_FILE_SELECTED, other), 0);
    EXPECT_EQ(PanelWindow(first), nullptr) << "a second comparison replaces the first";
    const int panel = ComparePanel();
    SpellComparison core;
    ASSERT_EQ(CompareWithLoadedSpells(other.c_str(), 0, core), 0);
    const Rows all = CoreRows(core, ChangeFilter::All, "");
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_KIND),
              (Rows{{"All differences (4)", 0}, {"Removed (1)", 1}, {"Added (1)", 2}, {"Changed (2)", 3}}));
    SetCtrlIndex(panel, COMPAREPANEL_KIND, 0);  // ListRows moved it
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), all);
    // Moving in the list shows the current row's spell; Return opens its window.
    QWidget* list = ControlWidget(panel, COMPAREPANEL_LIST);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), all[1].first);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Gamma II");
    for (auto [kind, dimmed] : {std::pair{ChangeFilter::Removed, 1}, {ChangeFilter::Changed, 0}}) {
        SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(kind));
        CommitCtrl(panel, COMPAREPANEL_KIND);
        EXPECT_EQ(Attr(panel, COMPAREPANEL_OPEN, ATTR_DIMMED), dimmed) << "open greyed for a removed spell";
    }
    // Typing a name part: a changed spell is found by its old name too.
    SetCtrlVal(panel, COMPAREPANEL_KIND, 0);
    QTest::keyClicks(ControlWidget(panel, COMPAREPANEL_FILTER), "eta");
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), CoreRows(core, ChangeFilter::All, "eta"));
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_KIND),
              (Rows{{"All differences (2)", 0}, {"Removed (0)", 1}, {"Added (1)", 2}, {"Changed (1)", 3}}));
    SetCtrlIndex(panel, COMPAREPANEL_KIND, 0);
    QTest::keyClicks(ControlWidget(panel, COMPAREPANEL_FILTER), "x");
    EXPECT_TRUE(ListRows(panel, COMPAREPANEL_LIST).empty());
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), "No differing spell has \"etax\" in its name.");

    // Once the file is loaded again the comparison's indexes are stale.
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "");
    CommitCtrl(panel, COMPAREPANEL_FILTER);
    EXPECT_EQ(Text(panel, COMPAREPANEL_NOTICE), "");
    ParseSpells(mainPanel_, loaded.c_str());
    EXPECT_EQ(Text(panel, COMPAREPANEL_NOTICE),
              "Out of date: the spell file was loaded again after this comparison. Compare again to open its "
              "spells.");
    EXPECT_EQ(Attr(panel, COMPAREPANEL_OPEN, ATTR_DIMMED), 1);
    CommitCtrl(panel, COMPAREPANEL_OPEN);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text.rfind("The spell file was loaded again", 0), 0u);
    EXPECT_EQ(g_numPopups, 2);
    QTest::keyClick(list, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ComparePanel(), -1) << "Escape closes the comparison window";
    EXPECT_EQ(g_numPopups, 2) << "and nothing else";
}

// ---- Sharing from the windows --------------------------------------------------

std::string ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->text().toStdString() : "(empty)";
}
std::string ClipboardHtml()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasHtml() ? data->html().toStdString() : "(none)";
}

// The loaded file: a spell whose name holds markup and one other.
class ShareWindowTest : public CompareWindowTest {
protected:
    void SetUp() override
    {
        CompareWindowTest::SetUp();
        SpellLine ward(1234, "Ember <b>Ward</b> | **x**");
        ward.Set(17, "10").Set(104, "5").Slot(0, 15, 5, 0, 100).Slot(3, 0, 10, 0, 102);
        SpellLine other(2000, "Caf\xe9 Strike");
        other.Set(17, "20").Slot(0, 15, 9, 0, 100);
        file_ = dir.Write("spells_us.txt", FileText({ward, other}));
        g_numSpells = ParseSpellFile(file_.c_str(), g_spellArray);
        BuildSpellIdIndex();
        QGuiApplication::clipboard()->clear();
    }
    std::string Export(const std::string& arguments)
    {
        const testsupport::RunResult result = testsupport::RunExporter(dir.path(), arguments);
        EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
        return result.out;
    }

    std::string file_;
};

TEST_F(ShareWindowTest, SpellCopyPutsWhatDescribePrintsOnTheClipboard)
{
    const int panel = OpenSpell(0);
    ASSERT_EQ(CommitCtrl(panel, SPELLPANEL_COPY), 0);
    EXPECT_EQ(ClipboardText(), Export("--describe 0 spells_us.txt"));
    EXPECT_EQ(ClipboardHtml(), Export("--describe 0 --format html spells_us.txt"));

    // The menu beside it: Markdown alone; nothing chosen, nothing copied.
    Dialogs().menuAnswer = 1;
    ASSERT_EQ(CommitCtrl(panel, SPELLPANEL_COPY_MENU), 0);
    EXPECT_EQ(Dialogs().menus, (std::vector<std::vector<std::string>>{{"Copy", "Copy as Markdown"}}));
    EXPECT_EQ(ClipboardText(), Export("--describe 0 --format markdown spells_us.txt"));
    EXPECT_EQ(ClipboardHtml(), "(none)");
    Dialogs().menuAnswer = -1;
    ASSERT_EQ(CommitCtrl(panel, SPELLPANEL_COPY_MENU), 0);
    EXPECT_EQ(ClipboardText(), Export("--describe 0 --format markdown spells_us.txt"));

    // The window keeps what it showed: a later level setting changes nothing.
    g_levelEnable = 1;
    g_displayLevel = 30;
    const int atLevel = OpenSpell(0);
    g_levelEnable = 0;
    ASSERT_EQ(CommitCtrl(panel, SPELLPANEL_COPY), 0);
    EXPECT_EQ(ClipboardText(), Export("--describe 0 spells_us.txt"));
    ASSERT_EQ(CommitCtrl(atLevel, SPELLPANEL_COPY), 0);
    EXPECT_EQ(ClipboardText(), Export("--describe 0 --level 30 spells_us.txt"));
    auto* copy = qobject_cast<QPushButton*>(toolkit::FindControl(atLevel, SPELLPANEL_COPY)->widget.data());
    EXPECT_EQ(copy->shortcut(), QKeySequence("Ctrl+Shift+C"));

    // A text selected with the mouse copies with Ctrl+C.
    auto* name = qobject_cast<QLabel*>(toolkit::FindControl(panel, SPELLPANEL_NAME)->widget.data());
    ASSERT_NE(name, nullptr);
    name->setSelection(6, 11);
    QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardText(), "<b>Ward</b>");
}

// The check's texts on its canvas: "Copy" gives them all, a drag from one
// field into another and a double click on one select them for Ctrl+C.
TEST_F(ShareWindowTest, StackingCopyGivesTheCheckAndItsCanvasTextsSelect)
{
    OpenSpell(0);  // makes the sentences the headers show
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    const int panel = LastPanel();
    ASSERT_EQ(CommitCtrl(panel, STACKPANEL_COPY), 0);
    EXPECT_EQ(ClipboardText(),
              "Stacking - Ember <b>Ward</b> | **x** (values over levels)\n"
              "Slot 1: Increase Mana by 5 per tick\n"
              "  Caf\u00e9 Strike: Increase Mana by 9 per tick\n"
              "Slot 4: Increase Hitpoints by 15 (L5) to 75 (L65) per tick\n"
              "  No stacking conflicts\n");
    const readback::Lines html = readback::ReadHtml(ClipboardHtml());
    ASSERT_EQ(html.size(), 6u);
    EXPECT_EQ(html[3], (readback::Line{"|", "Caf\u00e9 Strike", "Increase Mana by 9 per tick"}));

    const toolkit::Panel* p = toolkit::FindPanel(panel);
    auto field = [&](int offset) {
        return p
            ->painted[static_cast<std::size_t>(
                toolkit::FindControl(panel, STACKPANEL_LEVEL + 1 + offset)->painted)]
            .rect;
    };
    QWidget* canvas = p->canvas;
    const QRect header = field(0);  // then the name, the sentence, the "Link"
    const QRect sentence = field(2);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(header.left() + 3, header.center().y()));
    QTest::mouseMove(canvas, QPoint(sentence.right() - 1, sentence.center().y()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(sentence.right() - 1, sentence.center().y()));
    QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardText(), "Increase Mana by 5 per tick\nCaf\u00e9 Strike\tIncrease Mana by 9 per tick");
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, field(1).center());
    QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardText(), "Caf\u00e9 Strike");
}

// "Save report..." writes the report of what the list shows: for the whole
// list exactly what the exporter prints for the two files, HTML or Markdown
// by the name's ending; a path that cannot be written is said and left as
// it was.
TEST_F(ShareWindowTest, SaveReportWritesWhatDiffPrintsForTheList)
{
    SpellLine ward(1234, "Ember <b>Ward</b> | **x**");
    ward.Set(17, "30").Slot(0, 15, 5, 0, 100);
    const std::string old = dir.Write("old.txt", FileText({ward, SpellLine(7, "Gone")}));
    CopyText(g_fileName, file_.c_str());
    ASSERT_EQ(Compare(VAL_EXISTING_FILE_SELECTED, old), 0);
    const int panel = ComparePanel();

    const std::string diff = "--diff '" + old + "' '" + file_ + "' --format ";
    for (const char* name : {"report.html", "report.md"}) {
        const std::string path = (dir.path() / name).string();
        Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, path);
        ASSERT_EQ(CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT), 0);
        EXPECT_EQ(testsupport::ReadFile(path), Export(diff + (name[7] == 'h' ? "html" : "markdown"))) << name;
    }
    EXPECT_EQ(Dialogs().choosers.back()[1], "*.md (*.md);;*.html (*.html);;*.htm (*.htm);;All files (*)");

    SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(ChangeFilter::Changed));
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "WARD");
    CommitCtrl(panel, COMPAREPANEL_FILTER);
    const std::string filtered = (dir.path() / "filtered.md").string();
    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, filtered);
    ASSERT_EQ(CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT), 0);
    const readback::Lines lines = readback::ReadMarkdown(testsupport::ReadFile(filtered));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[4], readback::Line{"- Shown: changed spells whose name holds \"WARD\""});
    EXPECT_EQ(lines[6], (readback::Line{"|", "0", "0", "1"}));
    EXPECT_EQ(lines[8], readback::Line{"### Ember <b>Ward</b> | **x** (1234)"});

    const std::string missing = (dir.path() / "missing" / "report.md").string();
    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, missing);
    CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text, "Cannot write " + missing + ": No such file or directory.");
}

}  // namespace
