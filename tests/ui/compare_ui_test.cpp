// The comparison window as the user reaches it from the main window: it
// shows the differences the core found, moves and opens with the list, and
// leaves the loaded table, the spell list and the open windows as they were.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_uir.h"
#include "compare/compare_callbacks.h"
#include "compare/compare_uir.h"
#include "compare/comparison.h"
#include "core/temp_dir.h"
#include "data/spell_index.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

std::string Text(int panel, int control)
{
    TextField text{};
    GetCtrlVal(panel, control, text);
    return text.data();
}

std::vector<std::string> Rows(int panel, int control)
{
    int count = 0;
    GetNumListItems(panel, control, &count);
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        TextField label{};
        GetLabelFromIndex(panel, control, i, label);
        rows.emplace_back(label.data());
    }
    return rows;
}

// The name shown by the most recent spell window.
std::string LastPopupName()
{
    return Text(g_popupHandles[static_cast<std::size_t>(g_lastPopup)], SPELLPANEL_NAME);
}

TEST(CompareWindow, ShowsTheDifferencesAndLeavesTheLoadedTableAndWindowsAlone)
{
    InitGlobals();
    mainPanel = LoadMainPanel();
    ASSERT_GT(mainPanel, 0);
    TempDir dir;
    const std::string loaded = dir.Write("new.txt", "1^Alpha^\n2^Beta^\n3^Gamma II^\n5^Epsilon^\n5^Zeta^\n");
    const std::string other = dir.Write("old.txt", "1^Alpha^\n3^Gamma^\n4^Delta^\n5^Epsilon^\n5^Eta^\n");
    ParseSpells(mainPanel, loaded.c_str());
    CommitCtrl(mainPanel, MAINPANEL_SEARCH);
    const std::vector<std::string> listBefore = Rows(mainPanel, MAINPANEL_SPELL_LIST);
    ASSERT_EQ(OpenSpellPopup(0), 0);
    const int livePanels = CountLivePanels();
    const int popups = g_numPopups;
    const std::vector<SpellStruct> tableBefore(g_spellArray.begin(), g_spellArray.end());
    const SpellIdIndex indexBefore = g_spellIdIndex;

    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, other);
    ASSERT_EQ(CommitCtrl(mainPanel, MAINPANEL_COMPARE), 0);
    const int panel = ComparePanel();
    ASSERT_GT(panel, 0);
    EXPECT_TRUE(Dialogs().messages.empty());

    // Nothing else changed.
    EXPECT_EQ(std::memcmp(g_spellArray.data(), tableBefore.data(), sizeof g_spellArray), 0);
    EXPECT_EQ(g_numSpells, 5);
    EXPECT_EQ(std::memcmp(&g_spellIdIndex, &indexBefore, sizeof indexBefore), 0);
    EXPECT_EQ(Rows(mainPanel, MAINPANEL_SPELL_LIST), listBefore);
    EXPECT_EQ(g_numPopups, popups);
    EXPECT_EQ(CountLivePanels(), livePanels + 1);

    // What the core found, row by row, and the counts.
    EXPECT_EQ(Rows(panel, COMPAREPANEL_KIND),
              (std::vector<std::string>{"All differences (4)", "Removed (1)", "Added (1)", "Changed (2)"}));
    EXPECT_EQ(Rows(panel, COMPAREPANEL_LIST),
              (std::vector<std::string>{"added          2  Beta", "changed        3  Gamma II  (1 field)",
                                        "removed        4  Delta", "changed      5#2  Zeta  (1 field)"}));
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), "added          2  Beta");
    EXPECT_NE(Text(panel, COMPAREPANEL_SUMMARY).find("1 removed, 1 added, 2 changed"), std::string::npos);

    // Moving the list shows the selected spell; Return opens its window.
    auto* list = static_cast<QListWidget*>(toolkit::FindControl(panel, COMPAREPANEL_LIST)->widget.data());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(Text(panel, COMPAREPANEL_DETAIL_TITLE), "changed        3  Gamma II  (1 field)");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(g_numPopups, popups + 1);
    EXPECT_EQ(LastPopupName(), "Gamma II");

    // The name filter and the kind selector narrow the list.
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "DEL");
    CommitCtrl(panel, COMPAREPANEL_FILTER_BUTTON);
    EXPECT_EQ(Rows(panel, COMPAREPANEL_LIST), std::vector<std::string>{"removed        4  Delta"});
    SetCtrlVal(panel, COMPAREPANEL_FILTER, "");
    SetCtrlVal(panel, COMPAREPANEL_KIND, static_cast<int>(ChangeFilter::Added));
    CommitCtrl(panel, COMPAREPANEL_KIND);
    EXPECT_EQ(Rows(panel, COMPAREPANEL_LIST), std::vector<std::string>{"added          2  Beta"});

    // Once the file is loaded again the comparison's indexes are stale:
    // opening says so instead of opening another spell.
    ParseSpells(mainPanel, loaded.c_str());
    CommitCtrl(panel, COMPAREPANEL_OPEN);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].text.rfind("The spell file was loaded again", 0), 0u);
    EXPECT_EQ(g_numPopups, popups + 1);

    // Escape closes the window and nothing else.
    QTest::keyClick(list, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ComparePanel(), -1);
    EXPECT_EQ(CountLivePanels(), livePanels + 1);  // the spell window opened from it stays

    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    DiscardPanel(mainPanel);
}

TEST(CompareWindow, AFileThatDoesNotOpenGivesTheLoadMessageAndNoWindow)
{
    InitGlobals();
    mainPanel = LoadMainPanel();
    TempDir dir;
    const std::string missing = (dir.path() / "missing.txt").string();
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, missing);
    EXPECT_EQ(CommitCtrl(mainPanel, MAINPANEL_COMPARE), 0);
    EXPECT_EQ(ComparePanel(), -1);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    EXPECT_EQ(Dialogs().messages[0].text,
              "Cannot open the file: " + missing + " - please browse for a valid file.");
    DiscardPanel(mainPanel);
}

}  // namespace
