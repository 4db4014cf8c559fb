#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/main_uir.h"
#include "data/spell.h"
#include "list/search.h"
#include "list/search_callbacks.h"
#include "popup/popup_callbacks.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

class SearchWindow : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        panel_ = LoadMainPanel();  // main.uir's panel 1 with its class selector filled
        ASSERT_GT(panel_, 0);
    }

    void TearDown() override
    {
        if (panel_ > 0) DiscardPanel(panel_);
    }

    static int AddSpell(const std::string& name)
    {
        const int index = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        CopyText(spell.name, name.c_str());
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return index;
    }

    // Sets the two controls and commits the search the way the window does.
    int Commit(const char* text, int classValue, int event = EVENT_COMMIT)
    {
        EXPECT_EQ(SetCtrlVal(panel_, MAINPANEL_SEARCH_TEXT, text), 0);
        EXPECT_EQ(SetCtrlVal(panel_, MAINPANEL_CLASS, classValue), 0);
        return SearchStringCallback(panel_, MAINPANEL_SEARCH, event, nullptr, 0, 0);
    }

    Rows ListRows() { return ::ListRows(panel_, MAINPANEL_SPELL_LIST); }

    // The text of a message control, such as the status line.
    std::string Text(int control)
    {
        TextField text{};
        EXPECT_EQ(GetCtrlVal(panel_, control, text), 0);
        return text.data();
    }

    // The widget of one of the main window's controls.
    QWidget* Widget(int control) { return toolkit::FindControl(panel_, control)->widget.data(); }

    int panel_ = -1;
};

TEST_F(SearchWindow, CommitFillsTheListWithLabelsAndTableIndices)
{
    const int ward = AddSpell("Alpha Ward");
    const int alpha = AddSpell("Alpha");
    AddSpell("Beta");
    const int alphas = AddSpell("Alphas");
    g_spellArray[ward].classLevel[CLASS_BRD] = 12;
    g_spellArray[alpha].classLevel[CLASS_BST] = 3;
    g_spellArray[alphas].classLevel[CLASS_BRD] = 40;
    g_spellArray[alphas].classLevel[CLASS_BST] = 2;

    EXPECT_EQ(Commit("ALP", 0), 0);
    EXPECT_EQ(ListRows(), (Rows{{"Alpha Ward", ward}, {"Alpha", alpha}, {"Alphas", alphas}}));

    // A new search replaces the rows of the last one.
    EXPECT_EQ(Commit("", 1), 0);
    EXPECT_EQ(ListRows(), (Rows{{"12    Alpha Ward", ward}, {"40    Alphas", alphas}}));
    EXPECT_EQ(Commit("a", 2), 0);
    EXPECT_EQ(ListRows(), (Rows{{"2    Alphas", alphas}, {"3    Alpha", alpha}}));

    EXPECT_EQ(Commit("beta", 1), 0);
    EXPECT_TRUE(ListRows().empty());
}

TEST_F(SearchWindow, OtherEventsAndEmptyTableLeaveTheList)
{
    AddSpell("Alpha");
    ASSERT_EQ(Commit("", 0), 0);
    ASSERT_EQ(ListRows().size(), 1u);

    EXPECT_EQ(Commit("zzz", 0, EVENT_KEYPRESS), 0);  // not a commit: nothing happens
    EXPECT_EQ(ListRows().size(), 1u);

    g_numSpells = -1;  // after a failed load
    EXPECT_EQ(Commit("", 0), 0);
    EXPECT_TRUE(ListRows().empty());
}

TEST_F(SearchWindow, ListFollowsTheTypingAndBothSelectors)
{
    for (const char* name : {"Alpha Ward", "Alpha", "Beta"}) {
        g_spellArray[static_cast<std::size_t>(AddSpell(name))].attrib.fill(UNUSED_EFFECT);
    }
    g_spellArray[0].attrib[2] = 0;  // Hitpoints
    g_spellArray[2].attrib[0] = 0;
    g_spellArray[0].classLevel[CLASS_BRD] = 12;
    DisplayPanel(panel_);

    // Each key typed runs the search; nothing waits for Return.
    QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), "alp");
    EXPECT_EQ(ListRows(), (Rows{{"Alpha Ward", 0}, {"Alpha", 1}}));
    EXPECT_EQ(Text(MAINPANEL_STATUS), "2 of 3 spells");

    ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_EFFECT, 0), 0);  // Hitpoints, chosen as the user would
    ASSERT_EQ(CommitCtrl(panel_, MAINPANEL_EFFECT), 0);
    EXPECT_EQ(ListRows(), (Rows{{"Alpha Ward", 0}}));
    EXPECT_EQ(Text(MAINPANEL_STATUS), "1 of 3 spells");

    for (int i = 0; i < 3; ++i) QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Backspace);
    EXPECT_EQ(ListRows(), (Rows{{"Alpha Ward", 0}, {"Beta", 2}}));

    ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_CLASS, 1), 0);  // BRD
    ASSERT_EQ(CommitCtrl(panel_, MAINPANEL_CLASS), 0);
    EXPECT_EQ(ListRows(), (Rows{{"12    Alpha Ward", 0}}));

    QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), "b");
    EXPECT_TRUE(ListRows().empty());
    EXPECT_EQ(Text(MAINPANEL_STATUS), "0 of 3 spells - no spell matches this name, class and effect");
}

TEST_F(SearchWindow, KeyboardLeadsFromTheSearchTextToASpellWindowAndBack)
{
    AddSpell("Alpha");
    AddSpell("Beta");
    DisplayPanel(panel_);
    ASSERT_EQ(SetActiveCtrl(panel_, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), "a");

    // Tab: search text, list, class, effect, then the rest.
    QWidget* window = Widget(MAINPANEL_SEARCH_TEXT)->window();
    for (int expected : {MAINPANEL_SPELL_LIST, MAINPANEL_CLASS, MAINPANEL_EFFECT, MAINPANEL_SEARCH}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(GetActiveCtrl(panel_), expected);
    }

    // Down leads from the search text into the list, Return opens the row.
    ASSERT_EQ(SetActiveCtrl(panel_, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Down);
    ASSERT_EQ(GetActiveCtrl(panel_), MAINPANEL_SPELL_LIST);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Down);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Return);
    ASSERT_EQ(g_numPopups, 1);
    QWidget* popup = toolkit::FindPanel(g_popupHandles[static_cast<std::size_t>(g_lastPopup)])->window;
    EXPECT_EQ(popup->windowTitle().toStdString(), "Beta - Spell");

    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(g_numPopups, 0);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
}

TEST_F(SearchWindow, LongNameRowOpensTheRightSpell)
{
    g_numSpells = 3999;
    const int index = AddSpell(std::string(SPELL_FIELD_CHARS - 1, 'L'));
    g_spellArray[index].classLevel[CLASS_WIZ] = 254;
    EXPECT_EQ(Commit("lll", 16384), 0);
    EXPECT_EQ(ListRows(), (Rows{{"254    " + std::string(247, 'L'), 3999}}));
}

TEST_F(SearchWindow, ClassSelectorOffersEveryClassValue)
{
    int count = 0;
    ASSERT_EQ(GetNumListItems(panel_, MAINPANEL_CLASS, &count), 0);
    EXPECT_EQ(count, NUM_CLASS_SELECTOR_VALUES);
    int value = -1;
    ASSERT_EQ(GetCtrlVal(panel_, MAINPANEL_CLASS, &value), 0);
    EXPECT_EQ(value, 0);
    for (const ClassSelectorEntry& entry : kClassSelector) {
        ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_CLASS, entry.value), 0) << entry.label;
        TextField label;
        ASSERT_EQ(GetCtrlVal(panel_, MAINPANEL_CLASS, label), 0);
        EXPECT_STREQ(label.data(), entry.label);
    }
}

}  // namespace
