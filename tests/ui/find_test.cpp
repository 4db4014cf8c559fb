// The filter box refills the list with what the core keeps and keeps the
// list on a bad expression; the selectors write their condition; a name
// under "Referenced by:" opens its spell window.
#include <gtest/gtest.h>

#include <QTest>

#include "app/app.h"
#include "app/filter_box.h"
#include "app/main_uir.h"
#include "data/spell_index.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "list/search.h"
#include "popup/referenced_by.h"
#include "popup/spell_uir.h"
#include "ui/toolkit_testing.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0, kStun = 21, kWeaponProc = 85;

struct FindTest : MainWindowTest {
    // The rows the core lists for the whole table with this expression.
    static Rows CoreRows(const char* expression)
    {
        FilterQuery query;
        FilterError error;
        EXPECT_TRUE(query.Parse(expression, error)) << error.message;
        FilterTexts texts;
        texts.Build(CurrentFilterLevel());
        const SpellFilter filter(query, texts);
        Rows rows;
        ForEachSpellRow("", 0, ANY_EFFECT, &filter, [&](const char* l, int i) { rows.emplace_back(l, i); });
        return rows;
    }
};

TEST_F(FindTest, FilterBoxRefillsTheListAndKeepsItOnABadExpression)
{
    SetSlot(AddSpell(1, "Stunning Blow"), 0, kStun, 2000);
    g_spellArray[0].targetType = 5;
    SetSlot(AddSpell(2, "Minor Healing"), 0, kHitpoints, 10, 0, 102);  // 11 (L1) to 75 (L65)
    g_spellArray[1].targetType = 5;
    AddSpell(3, "Gate").targetType = 6;
    BuildSpellIdIndex();
    FillFilterSelectors(mainPanel_);

    QTest::keyClicks(Widget(MAINPANEL_FILTER), "targetType = \"single\"");
    const Rows single = CoreRows("targetType = \"single\"");
    ASSERT_EQ(single.size(), 2u);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), single);
    EXPECT_EQ(Text(mainPanel_, MAINPANEL_FILTER_MESSAGE), "");
    EXPECT_EQ(Text(mainPanel_, MAINPANEL_STATUS), "2 of 3 spells");

    QTest::keyClicks(Widget(MAINPANEL_FILTER), " and text ~");
    EXPECT_EQ(Text(mainPanel_, MAINPANEL_FILTER_MESSAGE), "expected a value after \"~\" at column 33");
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), single) << "the last good result stays";
    QTest::keyClicks(Widget(MAINPANEL_FILTER), " \"stun\"");
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), CoreRows("text ~ \"stun\""));
    EXPECT_EQ(Text(mainPanel_, MAINPANEL_FILTER_MESSAGE), "");

    // The sentences follow the level setting.
    SetCtrlVal(mainPanel_, MAINPANEL_FILTER, "text ~ \"(L40)\"");
    CommitCtrl(mainPanel_, MAINPANEL_FILTER);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), Rows{});
    SetCtrlVal(mainPanel_, MAINPANEL_LEVEL, 40);
    CommitCtrl(mainPanel_, MAINPANEL_LEVEL);
    SetCtrlVal(mainPanel_, MAINPANEL_LEVEL_ENABLE, 1);
    CommitCtrl(mainPanel_, MAINPANEL_LEVEL_ENABLE);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), (Rows{{"Minor Healing", 1}}));

    // The selectors: Target type offers the file's types; Add joins the condition.
    SetCtrlVal(mainPanel_, MAINPANEL_FILTER, "");
    SetCtrlVal(mainPanel_, MAINPANEL_FILTER_FIELD, 0);  // Target type
    CommitCtrl(mainPanel_, MAINPANEL_FILTER_FIELD);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_FILTER_VALUE), (Rows{{"Self", 0}, {"Single", 1}}));
    SetCtrlVal(mainPanel_, MAINPANEL_FILTER_VALUE, 0);
    CommitCtrl(mainPanel_, MAINPANEL_FILTER_ADD);
    EXPECT_EQ(Text(mainPanel_, MAINPANEL_FILTER), "targetType = \"Self\"");
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), (Rows{{"Gate", 2}}));
}

TEST_F(FindTest, AReferencedByNameOpensItsSpellWindow)
{
    AddSpell(10, "Target");
    SetSlot(AddSpell(11, "Proc One"), 0, kWeaponProc, 10);
    AddSpell(12, "Linker").linkedSpell = 10;
    AddSpell(13, "Alone");
    const int target = OpenSpell(0);
    EXPECT_EQ(Attr(target, SPELLPANEL_REFERENCED_BY, ATTR_VISIBLE), 1);
    EXPECT_EQ(ListRows(target, SPELLPANEL_REFERENCED_BY), (Rows{{"Proc One", 1}, {"Linker", 2}}));
    SetCtrlIndex(target, SPELLPANEL_REFERENCED_BY, 1);
    QWidget* list = ControlWidget(target, SPELLPANEL_REFERENCED_BY);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Linker");
    EXPECT_EQ(Attr(OpenSpell(3), SPELLPANEL_REFERENCED_BY, ATTR_VISIBLE), 0);
}

}  // namespace
