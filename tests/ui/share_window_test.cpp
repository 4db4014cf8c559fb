// Sharing from the windows: "Copy" on a spell window puts on the clipboard
// what the exporter's --describe prints, "Save report..." writes what its
// --diff --format prints; texts selected with the mouse copy with Ctrl+C.

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "app/main_uir.h"
#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "data/reader.h"
#include "data/spell_index.h"
#include "markup_readback.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using testsupport::SpellLine;

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

class ShareWindowTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        SpellLine ward(1234, "Ember <b>Ward</b> | **x**");
        ward.Set(17, "10").Set(104, "5").Slot(0, 15, 5, 0, 100).Slot(3, 0, 10, 0, 102);
        SpellLine other(2000, "Caf\xe9 Strike");
        other.Set(17, "20").Slot(0, 15, 9, 0, 100);
        file_ = dir_.Write("spells_us.txt", testsupport::FileText({ward, other}));
        g_numSpells = ParseSpellFile(file_.c_str(), g_spellArray);
        BuildSpellIdIndex();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        if (ComparePanel() > 0)
            CompareCloseCallback(ComparePanel(), COMPAREPANEL_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
        PopupTest::TearDown();
    }
    std::string Export(const std::string& arguments)
    {
        const testsupport::RunResult result = testsupport::RunExporter(dir_.path(), arguments);
        EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
        return result.out;
    }

    testsupport::TempDir dir_;
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
    const std::string old = dir_.Write("old.txt", testsupport::FileText({ward, SpellLine(7, "Gone")}));
    CopyText(g_fileName, file_.c_str());
    mainPanel = mainPanel_ = LoadMainPanel();
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, old);
    ASSERT_EQ(CommitCtrl(mainPanel_, MAINPANEL_COMPARE), 0);
    const int panel = ComparePanel();

    const std::string diff = "--diff '" + old + "' '" + file_ + "' --format ";
    for (const char* name : {"report.html", "report.md"}) {
        const std::string path = (dir_.path() / name).string();
        Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, path);
        ASSERT_EQ(CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT), 0);
        EXPECT_EQ(testsupport::ReadFile(path), Export(diff + (name[7] == 'h' ? "html" : "markdown"))) << name;
    }
    EXPECT_EQ(Dialogs().choosers.back()[1], "*.md (*.md);;*.html (*.html);;*.htm (*.htm);;All files (*)");

    SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(ChangeFilter::Changed));
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "WARD");
    CommitCtrl(panel, COMPAREPANEL_FILTER);
    const std::string filtered = (dir_.path() / "filtered.md").string();
    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, filtered);
    ASSERT_EQ(CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT), 0);
    const readback::Lines lines = readback::ReadMarkdown(testsupport::ReadFile(filtered));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[4], readback::Line{"- Shown: changed spells whose name holds \"WARD\""});
    EXPECT_EQ(lines[6], (readback::Line{"|", "0", "0", "1"}));
    EXPECT_EQ(lines[8], readback::Line{"### Ember <b>Ward</b> | **x** (1234)"});

    const std::string missing = (dir_.path() / "missing" / "report.md").string();
    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, missing);
    CommitCtrl(panel, COMPAREPANEL_SAVE_REPORT);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "missing"));
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text, "Cannot write " + missing + ": No such file or directory.");
}

}  // namespace
