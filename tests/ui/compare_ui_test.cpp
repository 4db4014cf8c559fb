// The comparison window as the user reaches it from the main window: it shows
// what the comparison core found, follows the list, filter and kind selector,
// and leaves the loaded table, the spell list and the open windows alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstring>

#include "app/app.h"
#include "app/main_uir.h"
#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "data/spell_index.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "test_support.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

std::string Text(int panel, int control)
{
    TextField text{};
    GetCtrlVal(panel, control, text);
    return text.data();
}

// The rows the core gives for a kind and a part of a name.
Rows CoreRows(const SpellComparison& comparison, ChangeFilter kind, const char* part)
{
    Rows rows;
    for (int i : FilterDifferences(comparison, kind, part))
        rows.emplace_back(DifferenceRow(comparison, comparison.differences[static_cast<std::size_t>(i)]), i);
    return rows;
}

TEST(CompareWindow, ShowsWhatTheCoreFoundAndLeavesTheLoadedTableAndWindowsAlone)
{
    InitGlobals();
    mainPanel = LoadMainPanel();
    const testsupport::TempDir dir;
    const std::string loaded = dir.Write("new.txt", "1^Alpha^\n2^Beta^\n3^Gamma II^\n5^Epsilon^\n5^Zeta^\n");
    const std::string other = dir.Write("old.txt", "1^Alpha^\n3^Gamma^\n4^Delta^\n5^Epsilon^\n5^Eta^\n");
    ParseSpells(mainPanel, loaded.c_str());
    CommitCtrl(mainPanel, MAINPANEL_SEARCH);
    const Rows listBefore = ListRows(mainPanel, MAINPANEL_SPELL_LIST);
    ASSERT_EQ(OpenSpellPopup(0), 0);
    const int livePanels = CountLivePanels();
    const std::vector<SpellStruct> tableBefore(g_spellArray.begin(), g_spellArray.end());
    const SpellIdIndex indexBefore = g_spellIdIndex;

    // A file that does not open gives the load message and no window.
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, (dir.path() / "missing.txt").string());
    CommitCtrl(mainPanel, MAINPANEL_COMPARE);
    EXPECT_EQ(ComparePanel(), -1);
    EXPECT_EQ(Dialogs().messages.size(), 1u);

    Dialogs().Reset();
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, other);
    ASSERT_EQ(CommitCtrl(mainPanel, MAINPANEL_COMPARE), 0);
    const int panel = ComparePanel();
    ASSERT_GT(panel, 0);
    EXPECT_TRUE(Dialogs().messages.empty());
    EXPECT_EQ(std::memcmp(g_spellArray.data(), tableBefore.data(), sizeof g_spellArray), 0);
    EXPECT_EQ(std::memcmp(&g_spellIdIndex, &indexBefore, sizeof indexBefore), 0);
    EXPECT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), listBefore);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(CountLivePanels(), livePanels + 1);

    SpellComparison core;
    ASSERT_EQ(CompareWithLoadedSpells(other.c_str(), 0, core), 0);
    const Rows all = CoreRows(core, ChangeFilter::All, "");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(Text(panel, COMPAREPANEL_SUMMARY), ComparisonSummary(core, other.c_str()));
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_KIND),
              (Rows{{"All differences (4)", 0}, {"Removed (1)", 1}, {"Added (1)", 2}, {"Changed (2)", 3}}));
    SetCtrlIndex(panel, COMPAREPANEL_KIND, 0);  // ListRows moved it
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), all);

    // Moving in the list shows the current row's spell; Return opens its window.
    auto* list = toolkit::FindControl(panel, COMPAREPANEL_LIST)->widget.data();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), all[0].first);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), all[1].first);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(g_numPopups, 2);
    EXPECT_EQ(Text(g_popupHandles[static_cast<std::size_t>(g_lastPopup)], SPELLPANEL_NAME), "Gamma II");

    // The name filter and the kind selector narrow the list.
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "DEL");
    CommitCtrl(panel, COMPAREPANEL_FILTER_BUTTON);
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), CoreRows(core, ChangeFilter::All, "DEL"));
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "");
    SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(ChangeFilter::Changed));
    CommitCtrl(panel, COMPAREPANEL_KIND);
    EXPECT_EQ(ListRows(panel, COMPAREPANEL_LIST), CoreRows(core, ChangeFilter::Changed, ""));

    // After the file is loaded again the comparison's indexes are stale:
    // opening says so instead of opening another spell.
    ParseSpells(mainPanel, loaded.c_str());
    CommitCtrl(panel, COMPAREPANEL_OPEN);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text.rfind("The spell file was loaded again", 0), 0u);
    EXPECT_EQ(g_numPopups, 2);

    // Escape closes the comparison window and nothing else.
    QTest::keyClick(list, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ComparePanel(), -1);
    EXPECT_EQ(CountLivePanels(), livePanels + 1);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    DiscardPanel(mainPanel);
}

}  // namespace
