// The popup slot table: slot order, the cascade of positions, the limit of
// fifty, closing one popup (Close button, Escape, close box) or all of them,
// and restarting the cascade.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <utility>
#include <vector>

#include "data/spell.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Position = std::pair<int, int>;  // (left, top)

class PopupManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        livePanels_ = CountLivePanels();
        for (int i = 0; i < 3; ++i) {
            SpellStruct& spell = g_spellArray[static_cast<std::size_t>(g_numSpells++)];
            spell.id = 100 + i;
            CopyText(spell.name, "Popup spell");
            spell.duration = 10;
            spell.attrib.fill(UNUSED_EFFECT);
            spell.classLevel.fill(CLASS_LEVEL_NONE);
        }
    }

    void TearDown() override
    {
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(CountLivePanels(), livePanels_) << "every popup is discarded";
    }

    // Opens spell 0 the way a "Link" button does; returns the new slot.
    static int Open()
    {
        EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0), 0);
        EXPECT_NE(g_lastPopup, -1);
        return g_lastPopup;
    }

    static int Handle(int slot) { return g_popupHandles[static_cast<std::size_t>(slot)]; }

    static Position PositionOf(int panel)
    {
        Position p{-1, -1};
        GetPanelAttribute(panel, ATTR_LEFT, &p.first);
        GetPanelAttribute(panel, ATTR_TOP, &p.second);
        return p;
    }

    static QWidget* WindowOf(int panel)
    {
        toolkit::Panel* p = toolkit::FindPanel(panel);
        return p ? p->window.data() : nullptr;
    }

    static int OpenSlots()
    {
        int open = 0;
        for (int handle : g_popupHandles) open += handle != -1;
        return open;
    }

    int livePanels_ = 0;
};

// ---- Slots and positions ---------------------------------------------------------

TEST_F(PopupManagerTest, FirstPopupTakesSlotOneAt220)
{
    const int slot = Open();
    EXPECT_EQ(slot, 1);
    EXPECT_GT(Handle(1), 0);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(g_nextPopup, 1);
    EXPECT_EQ(PositionOf(Handle(1)), Position(220, 220));
}

TEST_F(PopupManagerTest, CascadeWrapsAfter420AndRepeatsEveryTwelve)
{
    std::vector<int> expected;
    for (int i = 1; i <= 11; ++i) expected.push_back(200 + 20 * i);  // 220 .. 420
    expected.push_back(200);
    expected.push_back(220);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int slot = Open();
        EXPECT_EQ(slot, static_cast<int>(i) + 1);
        EXPECT_EQ(PositionOf(Handle(slot)), Position(expected[i], expected[i])) << "popup " << i + 1;
        EXPECT_EQ(g_popupX, g_popupY);
    }
}

TEST_F(PopupManagerTest, SlotsRunOneToFortyNineThenZero)
{
    for (int i = 1; i < MAX_POPUPS; ++i) ASSERT_EQ(Open(), i);
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(g_numPopups, MAX_POPUPS);
    EXPECT_EQ(OpenSlots(), MAX_POPUPS);
}

TEST_F(PopupManagerTest, FiftyFirstIsRefusedUntilAnyOneCloses)
{
    for (int closing : {0, 17, 49}) {
        SCOPED_TRACE(closing);
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        Dialogs().Reset();
        while (g_numPopups < MAX_POPUPS) Open();
        const int live = CountLivePanels();
        const int next = g_nextPopup;
        const int last = g_lastPopup;
        const Position cascade{g_popupX, g_popupY};

        EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0), -1);
        ASSERT_EQ(Dialogs().messages.size(), 1u);
        EXPECT_EQ(Dialogs().messages[0].title, "Error");
        EXPECT_EQ(Dialogs().messages[0].text,
                  "Too many spell popups are already open - you must close one before opening another");
        EXPECT_EQ(CountLivePanels(), live) << "nothing opened";
        EXPECT_EQ(g_numPopups, MAX_POPUPS);
        EXPECT_EQ(g_nextPopup, next);
        EXPECT_EQ(g_lastPopup, last);
        EXPECT_EQ(Position(g_popupX, g_popupY), cascade);

        ExitPopupCallback(Handle(closing), SPELLPANEL_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
        EXPECT_EQ(Handle(closing), -1);
        EXPECT_EQ(g_numPopups, MAX_POPUPS - 1);
        EXPECT_EQ(Open(), closing) << "the freed slot is taken again";
        EXPECT_EQ(Dialogs().messages.size(), 1u);
    }
}

TEST_F(PopupManagerTest, ASlotFreedOutOfOrderIsTakenWhenTheSearchReachesIt)
{
    for (int i = 0; i < 5; ++i) Open();  // slots 1..5
    ExitPopupFunction(Handle(2));
    EXPECT_EQ(Open(), 6) << "the search starts after the slot handed out last";
    for (int i = 7; i < MAX_POPUPS; ++i) Open();
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(Open(), 2);
}

// ---- Closing one popup -------------------------------------------------------------

TEST_F(PopupManagerTest, CloseButtonClosesItsPopupAndFreesTheSlot)
{
    Open();
    const int slot = Open();
    const int panel = Handle(slot);
    QWidget* window = WindowOf(panel);
    ASSERT_NE(window, nullptr);
    auto* close = window->findChild<QPushButton*>("closeButton");
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(Handle(slot), -1);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(g_lastPopup, -1) << "the most recent popup was closed";
    EXPECT_LT(DisplayPanel(panel), 0) << "the panel is discarded";
}

TEST_F(PopupManagerTest, EscapeClosesOnlyItsPopupAndOtherKeysDoNothing)
{
    const int first = Open();
    const int second = Open();
    const int third = Open();
    QWidget* window = WindowOf(Handle(second));
    ASSERT_NE(window, nullptr);

    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Space, Qt::Key_F1}) QTest::keyClick(window, key);
    SpellPanelCallback(Handle(second), EVENT_KEYPRESS, nullptr, 'A', 0);
    EXPECT_EQ(g_numPopups, 3);

    const int panel = Handle(second);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(Handle(second), -1);
    EXPECT_LT(DisplayPanel(panel), 0);
    EXPECT_NE(Handle(first), -1);
    EXPECT_NE(Handle(third), -1);
    EXPECT_EQ(g_numPopups, 2);
    EXPECT_EQ(g_lastPopup, third) << "closing another popup keeps the most recent one";
}

TEST_F(PopupManagerTest, CloseBoxClosesThePopupAndFreesItsSlot)
{
    // Were the window only hidden, its slot would stay taken for good.
    for (int round = 0; round < MAX_POPUPS + 5; ++round) {
        const int slot = Open();
        const int panel = Handle(slot);
        QWidget* window = WindowOf(panel);
        ASSERT_NE(window, nullptr);
        window->close();
        ASSERT_EQ(Handle(slot), -1) << "round " << round;
        EXPECT_LT(DisplayPanel(panel), 0);
    }
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(PopupManagerTest, OtherPanelEventsAndNonCommitEventsDoNothing)
{
    const int slot = Open();
    const int panel = Handle(slot);
    for (int event : {EVENT_COMMIT, 2, 3, 4, 5, 6, 8, 11})
        SpellPanelCallback(panel, event, nullptr, VAL_ESC_VKEY, 0);
    for (int event : {0, 2, EVENT_KEYPRESS, EVENT_CLOSE}) {
        ExitPopupCallback(panel, SPELLPANEL_CLOSE, event, nullptr, 0, 0);
        CloseAllCallback(0, 0, event, nullptr, 0, 0);
        ResetPositionCallback(0, 0, event, nullptr, 0, 0);
    }
    EXPECT_EQ(Handle(slot), panel);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(g_popupX, 220);
}

TEST_F(PopupManagerTest, ClosingAPanelInNoSlotLeavesTheTableAlone)
{
    Open();
    const int stray = LoadPanel(0, SPELL_UIR, SPELLPANEL);
    ASSERT_GT(stray, 0);
    const auto table = g_popupHandles;
    EXPECT_EQ(ExitPopupFunction(stray), 0);
    EXPECT_LT(DisplayPanel(stray), 0) << "the panel is discarded all the same";
    EXPECT_EQ(g_popupHandles, table);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(ExitPopupFunction(-1), 0) << "-1 marks free slots; it owns none of them";
    EXPECT_EQ(g_popupHandles, table);
    EXPECT_EQ(g_numPopups, 1);
}

TEST_F(PopupManagerTest, ARefusedOpenLeavesThePopupStateAsItWas)
{
    struct Case {
        const char* name;
        void (*refuse)();
    };
    const Case cases[] = {
        {"index of no loaded spell",
         [] { EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[4], 0, 0), -1); }},
        {"panel that could not load", [] { ReleaseReservedPopupSlot(GetPopupIndex()); }},
    };
    const int first = Open();
    const int second = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int live = CountLivePanels();
        c.refuse();
        EXPECT_EQ(g_numPopups, 2);
        EXPECT_EQ(g_nextPopup, second);
        EXPECT_EQ(g_lastPopup, second);
        EXPECT_EQ(Position(g_popupX, g_popupY), Position(240, 240));
        EXPECT_EQ(CountLivePanels(), live);
    }
    ReleaseReservedPopupSlot(first);  // holds a panel: untouched
    EXPECT_NE(Handle(first), -1);
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(PositionOf(Handle(second)), Position(200, 200)) << "Reset still moves the most recent popup";
    EXPECT_EQ(Open(), 3);
}

// ---- Close all and reset position ----------------------------------------------------

TEST_F(PopupManagerTest, CloseAllDiscardsEveryPopupAndKeepsOrderAndCascade)
{
    for (int i = 0; i < 3; ++i) Open();
    EXPECT_EQ(CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(OpenSlots(), 0);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(CountLivePanels(), livePanels_);
    EXPECT_EQ(g_nextPopup, 3);
    EXPECT_EQ(g_lastPopup, 3);
    EXPECT_EQ(g_popupX, 260);

    const int slot = Open();
    EXPECT_EQ(slot, 4);
    EXPECT_EQ(PositionOf(Handle(slot)), Position(280, 280));
}

TEST_F(PopupManagerTest, CloseAllWithNoPopupChangesNothing)
{
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(g_nextPopup, 0);
    EXPECT_EQ(g_lastPopup, -1);
    EXPECT_EQ(Open(), 1);
}

TEST_F(PopupManagerTest, ResetPositionMovesOnlyTheMostRecentPopup)
{
    const int first = Open();
    const int second = Open();
    EXPECT_EQ(ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(PositionOf(Handle(second)), Position(200, 200));
    EXPECT_EQ(PositionOf(Handle(first)), Position(220, 220));
    EXPECT_EQ(PositionOf(Handle(Open())), Position(220, 220));
}

TEST_F(PopupManagerTest, ResetPositionWithNoPopupOnlyRestartsTheCascade)
{
    for (int i = 0; i < 4; ++i) Open();
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(g_popupX, 200);
    EXPECT_EQ(g_popupY, 200);
    EXPECT_EQ(PositionOf(Handle(Open())), Position(220, 220));
}

TEST_F(PopupManagerTest, ResetPositionAfterTheMostRecentClosedMovesNoPanel)
{
    const int first = Open();
    const int second = Open();
    ExitPopupFunction(Handle(second));
    ASSERT_EQ(g_lastPopup, -1);
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(PositionOf(Handle(first)), Position(220, 220));
    EXPECT_EQ(g_popupX, 200);
}

}  // namespace
