// The main window's search: the list and the status line show what the core
// search gives for the controls' values, as the user sets them.
#include <gtest/gtest.h>

#include <QTest>

#include "app/app.h"
#include "app/main_uir.h"
#include "list/search.h"
#include "list/search_status.h"
#include "popup/popup_callbacks.h"
#include "test_support.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

class SearchWindow : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        panel = LoadMainPanel();
        ASSERT_GT(panel, 0);
        DisplayPanel(panel);
    }
    void TearDown() override { DiscardPanel(panel); }

    QWidget* Widget(int control) { return toolkit::FindControl(panel, control)->widget.data(); }
    std::string Status()
    {
        TextField text{};
        GetCtrlVal(panel, MAINPANEL_STATUS, text);
        return text.data();
    }

    int panel = -1;
};

TEST_F(SearchWindow, ListAndStatusFollowTheTypingAndBothSelectors)
{
    SetSlot(AddSpell(1, "Alpha Ward"), 2, 0, 5);  // Hitpoints
    g_spellArray[0].classLevel[CLASS_BRD] = 12;
    AddSpell(2, "Alpha").classLevel[CLASS_BST] = 3;
    SetSlot(AddSpell(3, "Beta"), 0, 0, 5);
    struct Step {
        const char* name;
        int erase;         // Backspaces in the search text, then
        const char* keys;  // these keys typed
        int control;       // a selector set to `value` and committed, or 0
        int value;
        const char* text;  // what the search then runs with
        int classValue, effect;
        std::size_t rows;
    };
    const Step steps[] = {
        {"typing", 0, "alp", 0, 0, "alp", 0, ANY_EFFECT, 2},
        {"effect chosen", 0, "", MAINPANEL_EFFECT, 0, "alp", 0, 0, 1},
        {"text erased", 3, "", 0, 0, "", 0, 0, 2},
        {"class chosen", 0, "", MAINPANEL_CLASS, 1, "", 1, 0, 1},
        {"nothing matches", 0, "b", 0, 0, "b", 1, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        for (int i = 0; i < s.erase; ++i) QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Backspace);
        QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), s.keys);
        if (s.control) {
            SetCtrlVal(panel, s.control, s.value);
            CommitCtrl(panel, s.control);
        }
        Rows core;
        ForEachSpellRow(s.text, s.classValue, s.effect,
                        [&](const char* l, int i) { core.emplace_back(l, i); });
        EXPECT_EQ(ListRows(panel, MAINPANEL_SPELL_LIST), core);
        EXPECT_EQ(core.size(), s.rows);
        TextField status{};
        FormatSearchStatus(status, static_cast<int>(s.rows), 3);
        EXPECT_EQ(Status(), status.data());
    }
    EXPECT_EQ(Status(), "0 of 3 spells - no spell matches this name, class and effect");
}

TEST_F(SearchWindow, SelectorsOfferTheCoreEntries)
{
    Rows classes, effects;
    for (const ClassSelectorEntry& e : kClassSelector) classes.emplace_back(e.label, e.value);
    for (const EffectSelectorEntry& e : EffectSelector()) effects.emplace_back(e.label.data(), e.value);
    EXPECT_EQ(ListRows(panel, MAINPANEL_CLASS), classes);
    EXPECT_EQ(ListRows(panel, MAINPANEL_EFFECT), effects);
}

TEST_F(SearchWindow, KeyboardLeadsFromTheSearchTextToASpellWindowAndBack)
{
    AddSpell(1, "Alpha");
    AddSpell(2, "Beta");
    ASSERT_EQ(SetActiveCtrl(panel, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), "a");
    QWidget* window = Widget(MAINPANEL_SEARCH_TEXT)->window();
    for (int next : {MAINPANEL_SPELL_LIST, MAINPANEL_CLASS, MAINPANEL_EFFECT, MAINPANEL_SEARCH}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(GetActiveCtrl(panel), next);
    }
    // Down leads from the search text into the list, Return opens the row.
    ASSERT_EQ(SetActiveCtrl(panel, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Down);
    ASSERT_EQ(GetActiveCtrl(panel), MAINPANEL_SPELL_LIST);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Down);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Return);
    ASSERT_EQ(g_numPopups, 1);
    QWidget* popup = toolkit::FindPanel(g_popupHandles[static_cast<std::size_t>(g_lastPopup)])->window;
    EXPECT_EQ(popup->windowTitle().toStdString(), "Beta - Spell");
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(g_numPopups, 0);
}

}  // namespace
