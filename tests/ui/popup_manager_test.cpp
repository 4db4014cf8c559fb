// The popup slot table: slot order, the cascade, the limit of fifty, closing
// one popup (Close button, Escape, close box) or all of them, and restarting
// the cascade.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <utility>

#include "app/main_uir.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

using Position = std::pair<int, int>;  // (left, top)

class PopupManagerTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        AddSpell(100, "Popup spell");
    }
    // Opens spell 0; returns the slot it took.
    static int Open()
    {
        OpenSpell(0);
        return g_lastPopup;
    }
    static int Handle(int slot) { return g_popupHandles[static_cast<std::size_t>(slot)]; }
    static QWidget* Window(int panel) { return toolkit::FindPanel(panel)->window; }
    static Position PositionOf(int panel)
    {
        return {PanelAttr(panel, ATTR_LEFT), PanelAttr(panel, ATTR_TOP)};
    }
};

TEST_F(PopupManagerTest, SlotsRunInOrderAlongTheCascadeAndAFreedSlotWaitsForTheSearch)
{
    const int cascade[] = {220, 240, 260, 280, 300, 320, 340, 360, 380, 400, 420, 200, 220};
    for (int slot = 1; slot < MAX_POPUPS; ++slot) {
        ASSERT_EQ(Open(), slot);
        if (slot <= 13) {
            EXPECT_EQ(PositionOf(Handle(slot)), Position(cascade[slot - 1], cascade[slot - 1])) << slot;
        }
        if (slot == 5) ExitPopupFunction(Handle(2));  // taken again only after the search wraps
    }
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(Open(), 2);
    EXPECT_EQ(g_numPopups, MAX_POPUPS);
    EXPECT_EQ(OpenSlots(), MAX_POPUPS);
}

TEST_F(PopupManagerTest, WithFiftyOpenEveryOpenerIsRefusedWithTheMessageUntilOneCloses)
{
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Popup spell", 0);
    struct Case {
        const char* name;
        int (*open)(int mainPanel);
        int closing;  // the slot freed afterwards
    };
    const Case cases[] = {
        {"link button", [](int) { return GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0); }, 0},
        {"list row",
         [](int main) { return SpellRingCallback(main, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0); },
         17},
        {"stacking button", [](int) { return StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0); },
         49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseAllPopups();
        Dialogs().Reset();
        while (g_numPopups < MAX_POPUPS) Open();
        const auto handles = g_popupHandles;
        const int live = CountLivePanels();
        const int next = g_nextPopup;
        const int last = g_lastPopup;
        const Position cascade{g_popupX, g_popupY};
        const int height = PanelAttr(Handle(1), ATTR_HEIGHT);

        EXPECT_EQ(c.open(mainPanel_), -1);
        ASSERT_EQ(Dialogs().messages.size(), 1u);
        EXPECT_EQ(Dialogs().messages[0].title, "Error");
        EXPECT_EQ(Dialogs().messages[0].text,
                  "Too many spell popups are already open - you must close one before opening another");
        EXPECT_EQ(CountLivePanels(), live) << "nothing opened";
        EXPECT_EQ(g_popupHandles, handles);
        EXPECT_EQ(g_nextPopup, next);
        EXPECT_EQ(g_lastPopup, last);
        EXPECT_EQ(Position(g_popupX, g_popupY), cascade);
        EXPECT_EQ(PanelAttr(Handle(1), ATTR_HEIGHT), height) << "open windows stay as they were";
        EXPECT_EQ(PanelAttr(Handle(1), ATTR_VISIBLE), 1);

        ExitPopupCallback(Handle(c.closing), SPELLPANEL_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
        EXPECT_EQ(Handle(c.closing), -1);
        EXPECT_EQ(c.open(mainPanel_), 0);
        EXPECT_EQ(g_lastPopup, c.closing) << "the freed slot is taken again";
        EXPECT_EQ(Dialogs().messages.size(), 1u);
    }
}

TEST_F(PopupManagerTest, EachWayOfClosingDiscardsOnlyItsPopupAndFreesTheSlot)
{
    struct Case {
        const char* name;
        void (*close)(int panel);
    };
    const Case cases[] = {
        {"Close button",
         [](int panel) {
             QTest::mouseClick(toolkit::FindControl(panel, SPELLPANEL_CLOSE)->widget, Qt::LeftButton);
         }},
        {"Escape", [](int panel) { QTest::keyClick(Window(panel), Qt::Key_Escape); }},
        {"close box", [](int panel) { Window(panel)->close(); }},  // hidden only, it would hold its slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseAllPopups();
        const int first = Open();
        const int second = Open();
        const int third = Open();
        for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Space, Qt::Key_F1})
            QTest::keyClick(Window(Handle(second)), key);
        EXPECT_EQ(g_numPopups, 3) << "other keys do nothing";

        const int panel = Handle(second);
        c.close(panel);
        EXPECT_EQ(Handle(second), -1);
        EXPECT_LT(DisplayPanel(panel), 0) << "the panel is discarded";
        EXPECT_NE(Handle(first), -1);
        EXPECT_EQ(g_lastPopup, third) << "closing another popup keeps the most recent one";
        c.close(Handle(third));
        EXPECT_EQ(g_lastPopup, -1) << "the most recent popup was closed";
        EXPECT_EQ(g_numPopups, 1);
    }
    EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(PopupManagerTest, OtherEventsAndPanelsInNoSlotLeaveTheTableAlone)
{
    const int panel = Handle(Open());
    for (int event : {EVENT_COMMIT, 2, 3, 11}) SpellPanelCallback(panel, event, nullptr, VAL_ESC_VKEY, 0);
    for (int event : {0, 2, EVENT_KEYPRESS, EVENT_CLOSE}) {
        ExitPopupCallback(panel, SPELLPANEL_CLOSE, event, nullptr, 0, 0);
        CloseAllCallback(0, 0, event, nullptr, 0, 0);
        ResetPositionCallback(0, 0, event, nullptr, 0, 0);
    }
    EXPECT_EQ(Position(g_popupX, g_popupY), Position(220, 220));
    const auto table = g_popupHandles;
    const int stray = LoadPanel(0, SPELL_UIR, SPELLPANEL);
    EXPECT_EQ(ExitPopupFunction(stray), 0);
    EXPECT_LT(DisplayPanel(stray), 0) << "a panel in no slot is discarded all the same";
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

TEST_F(PopupManagerTest, CloseAllKeepsSlotOrderAndCascadeAndResetMovesOnlyTheMostRecentPopup)
{
    EXPECT_EQ(CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(g_nextPopup, 0) << "with no popup nothing changes";
    EXPECT_EQ(g_lastPopup, -1);

    const int first = Open();
    const int second = Open();
    EXPECT_EQ(ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(PositionOf(Handle(second)), Position(200, 200));
    EXPECT_EQ(PositionOf(Handle(first)), Position(220, 220));
    EXPECT_EQ(PositionOf(Handle(Open())), Position(220, 220)) << "the cascade starts again";

    ExitPopupFunction(LastPanel());
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(PositionOf(Handle(first)), Position(220, 220)) << "the most recent popup is closed: none moves";
    EXPECT_EQ(PositionOf(Handle(second)), Position(200, 200));

    EXPECT_EQ(Open(), 4);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(OpenSlots(), 0);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(CountLivePanels(), livePanels_);
    EXPECT_EQ(PositionOf(Handle(Open())), Position(240, 240)) << "slot order and cascade go on";
    EXPECT_EQ(g_lastPopup, 5);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(Position(g_popupX, g_popupY), Position(200, 200));
    EXPECT_EQ(PositionOf(Handle(Open())), Position(220, 220));
}

}  // namespace
