// The main window's search and comparison: the list, the status line and the
// comparison window show what the core gives for the controls' values, as
// the user sets them, and leave the loaded table and other windows alone.
#include <gtest/gtest.h>

#include <QTest>

#include "app/app.h"
#include "app/main_uir.h"
#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "list/search.h"
#include "list/search_status.h"
#include "popup/spell_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

struct MainWindowTest : PopupTest {
    void SetUp() override
    {
        PopupTest::SetUp();
        mainPanel = mainPanel_ = LoadMainPanel();
        ASSERT_GT(mainPanel_, 0);
        DisplayPanel(mainPanel_);
    }
    QWidget* Widget(int control) { return toolkit::FindControl(mainPanel_, control)->widget.data(); }
};

// The list and the status line show what the core search gives for the
// controls' values as the user types and chooses. Tab walks the box, list,
// class and effect; Down leads from the box into the list, Return opens a row.
TEST_F(MainWindowTest, ListAndStatusFollowTheTypingTheSelectorsAndTheKeys)
{
    Rows classes, effects;
    for (const ClassSelectorEntry& e : kClassSelector) classes.emplace_back(e.label, e.value);
    for (const EffectSelectorEntry& e : EffectSelector()) effects.emplace_back(e.label.data(), e.value);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_CLASS), classes);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_EFFECT), effects);
    SetCtrlIndex(mainPanel_, MAINPANEL_CLASS, 0);  // ListRows moved them
    SetCtrlIndex(mainPanel_, MAINPANEL_EFFECT, 0);

    SetSlot(AddSpell(1, "Alpha Ward"), 2, 0, 5);  // Hitpoints
    g_spellArray[0].classLevel[CLASS_BRD] = 12;
    AddSpell(2, "Alpha").classLevel[CLASS_BST] = 3;
    SetSlot(AddSpell(3, "<b>Beta</b> &amp;"), 0, 0, 5);  // shown as it stands
    struct Step {
        const char* name;
        const char* keys;  // typed in the search text
        int control;       // a selector set to `value` and committed, or 0
        int value;
        const char* text;  // what the search then runs with
        int classValue, effect;
        std::size_t rows;
    };
    const Step steps[] = {
        {"typing", "alp", 0, 0, "alp", 0, ANY_EFFECT, 2},
        {"effect chosen", "", MAINPANEL_EFFECT, 0, "alp", 0, 0, 1},
        {"text erased", "\b\b\b", 0, 0, "", 0, 0, 2},
        {"class chosen", "", MAINPANEL_CLASS, 1, "", 1, 0, 1},
        {"nothing matches", "b", 0, 0, "b", 1, 0, 0},
        {"erased again", "\b", 0, 0, "", 1, 0, 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), s.keys);
        if (s.control) {
            SetCtrlVal(mainPanel_, s.control, s.value);
            CommitCtrl(mainPanel_, s.control);
        }
        Rows core;
        ForEachSpellRow(s.text, s.classValue, s.effect,
                        [&](const char* l, int i) { core.emplace_back(l, i); });
        EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), core);
        EXPECT_EQ(core.size(), s.rows);
        TextField status{};
        FormatSearchStatus(status, static_cast<int>(s.rows), 3);
        EXPECT_EQ(Text(mainPanel_, MAINPANEL_STATUS), status.data());
    }

    ASSERT_EQ(SetActiveCtrl(mainPanel_, MAINPANEL_SEARCH_TEXT), 0);
    QWidget* window = Widget(MAINPANEL_SEARCH_TEXT)->window();
    for (int next : {MAINPANEL_SPELL_LIST, MAINPANEL_CLASS, MAINPANEL_EFFECT, MAINPANEL_SEARCH}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(GetActiveCtrl(mainPanel_), next);
    }
    ASSERT_EQ(SetActiveCtrl(mainPanel_, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Down);
    ASSERT_EQ(GetActiveCtrl(mainPanel_), MAINPANEL_SPELL_LIST);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Return);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Alpha Ward");
}

// The rows the core gives for a kind and a part of a name.
Rows CoreRows(const SpellComparison& comparison, ChangeFilter kind, const char* part)
{
    Rows rows;
    for (int i : FilterDifferences(comparison, kind, part))
        rows.emplace_back(DifferenceRow(comparison, comparison.differences[static_cast<std::size_t>(i)]), i);
    return rows;
}

TEST_F(MainWindowTest, ComparisonShowsWhatTheCoreFoundAndLeavesTheLoadedTableAndWindowsAlone)
{
    const testsupport::TempDir dir;
    const std::string loaded = dir.Write("new.txt", "1^Alpha^\n2^Beta^\n3^Gamma II^\n5^Epsilon^\n5^Zeta^\n");
    const std::string other = dir.Write("old.txt", "1^Alpha^\n3^Gamma^\n4^Delta^\n5^Epsilon^\n5^Eta^\n");
    ParseSpells(mainPanel_, loaded.c_str());
    CommitCtrl(mainPanel_, MAINPANEL_SEARCH);
    const Rows listBefore = ListRows(mainPanel_, MAINPANEL_SPELL_LIST);
    ASSERT_EQ(OpenSpellPopup(0), 0);
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, other);
    ASSERT_EQ(CommitCtrl(mainPanel_, MAINPANEL_COMPARE), 0);
    const int panel = ComparePanel();
    ASSERT_GT(panel, 0);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), listBefore);
    EXPECT_EQ(g_numPopups, 1);

    SpellComparison core;
    ASSERT_EQ(CompareWithLoadedSpells(other.c_str(), 0, core), 0);
    const Rows all = CoreRows(core, ChangeFilter::All, "");
    EXPECT_EQ(Text(panel, COMPAREPANEL_SUMMARY), ComparisonSummary(core, other.c_str()));
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_KIND),
              (Rows{{"All differences (4)", 0}, {"Removed (1)", 1}, {"Added (1)", 2}, {"Changed (2)", 3}}));
    SetCtrlIndex(panel, COMPAREPANEL_KIND, 0);  // ListRows moved it
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), all);
    // Moving in the list shows the current row's spell; Return opens its window.
    QWidget* list = toolkit::FindControl(panel, COMPAREPANEL_LIST)->widget;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), all[1].first);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Gamma II");
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "DEL");
    CommitCtrl(panel, COMPAREPANEL_FILTER_BUTTON);
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), CoreRows(core, ChangeFilter::All, "DEL"));
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "");
    SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(ChangeFilter::Changed));
    CommitCtrl(panel, COMPAREPANEL_KIND);
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), CoreRows(core, ChangeFilter::Changed, ""));

    // Once the file is loaded again the comparison's indexes are stale.
    ParseSpells(mainPanel_, loaded.c_str());
    CommitCtrl(panel, COMPAREPANEL_OPEN);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text.rfind("The spell file was loaded again", 0), 0u);
    EXPECT_EQ(g_numPopups, 2);
    QTest::keyClick(list, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ComparePanel(), -1) << "Escape closes the comparison window";
    EXPECT_EQ(g_numPopups, 2) << "and nothing else";
}

}  // namespace
