// The popup slot table: slot order, the cascade, the limit of fifty, closing
// one popup (Close button, Escape, close box) or all of them, and restarting
// the cascade.
#include <gtest/gtest.h>

#include <QTest>
#include <utility>

#include "app/main_uir.h"
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
    static Position At(int panel) { return {PanelAttr(panel, ATTR_LEFT), PanelAttr(panel, ATTR_TOP)}; }
};

TEST_F(PopupManagerTest, SlotsRunInOrderAlongTheCascadeAndAFreedSlotWaitsForTheSearch)
{
    const int cascade[] = {220, 240, 260, 280, 300, 320, 340, 360, 380, 400, 420, 200, 220};
    for (int slot = 1; slot < MAX_POPUPS; ++slot) {
        ASSERT_EQ(Open(), slot);
        if (slot <= 13) {
            EXPECT_EQ(At(Handle(slot)), Position(cascade[slot - 1], cascade[slot - 1])) << slot;
        }
        if (slot == 5) ExitPopupFunction(Handle(2));  // taken again only after the search wraps
    }
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(Open(), 2);
    EXPECT_EQ(g_numPopups, MAX_POPUPS);
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
        {"link", [](int) { return GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0); }, 0},
        {"list",
         [](int m) { return SpellRingCallback(m, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0); }, 17},
        {"stacking", [](int) { return StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0); }, 49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseAllPopups();
        while (g_numPopups < MAX_POPUPS) Open();
        const PopupState before;
        const int height = PanelAttr(Handle(1), ATTR_HEIGHT);
        EXPECT_EQ(c.open(mainPanel_), -1);
        EXPECT_EQ(PopupState(), before);
        EXPECT_EQ(PanelAttr(Handle(1), ATTR_HEIGHT), height) << "open windows stay as they were";
        EXPECT_EQ(PanelAttr(Handle(1), ATTR_VISIBLE), 1);
        ExitPopupFunction(Handle(c.closing));
        EXPECT_EQ(c.open(mainPanel_), 0);
        EXPECT_EQ(g_lastPopup, c.closing) << "the freed slot is taken again";
    }
    ASSERT_EQ(Dialogs().messages.size(), 3u);
    for (const RecordedMessage& message : Dialogs().messages) {
        EXPECT_EQ(message.title, "Error");
        EXPECT_EQ(message.text,
                  "Too many spell popups are already open - you must close one before opening another");
    }
}

TEST_F(PopupManagerTest, EachWayOfClosingDiscardsOnlyItsPopupAndFreesTheSlot)
{
    struct Case {
        const char* name;
        void (*close)(int panel);
    };
    const Case cases[] = {
        {"Close",
         [](int p) { QTest::mouseClick(toolkit::FindControl(p, SPELLPANEL_CLOSE)->widget, Qt::LeftButton); }},
        {"Escape", [](int p) { QTest::keyClick(Window(p), Qt::Key_Escape); }},
        {"close box", [](int p) { Window(p)->close(); }},  // were it only hidden, it would keep its slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloseAllPopups();
        const int first = Open();
        const int second = Open();
        const int third = Open();
        for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Space})
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
}

TEST_F(PopupManagerTest, RefusedOpensOtherEventsAndPanelsInNoSlotLeaveThePopupStateAsItWas)
{
    struct Case {
        const char* name;
        void (*act)(int panel);  // the most recent popup's panel
    };
    const Case cases[] = {
        {"index of no loaded spell",
         [](int) { GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[4], 0, 0); }},
        {"panel that could not load", [](int) { ReleaseReservedPopupSlot(GetPopupIndex()); }},
        {"releasing a slot that holds a panel", [](int) { ReleaseReservedPopupSlot(1); }},
        {"closing a panel in no slot", [](int) { ExitPopupFunction(LoadPanel(0, SPELL_UIR, SPELLPANEL)); }},
        {"closing -1, the mark of free slots", [](int) { ExitPopupFunction(-1); }},
        {"panel events but Escape and close box",
         [](int p) {
             for (int event : {EVENT_COMMIT, 2, 3, 11})
                 SpellPanelCallback(p, event, nullptr, VAL_ESC_VKEY, 0);
         }},
        {"events but commit",
         [](int p) {
             for (int event : {0, 2, EVENT_KEYPRESS, EVENT_CLOSE}) {
                 ExitPopupCallback(p, SPELLPANEL_CLOSE, event, nullptr, 0, 0);
                 CloseAllCallback(0, 0, event, nullptr, 0, 0);
                 ResetPositionCallback(0, 0, event, nullptr, 0, 0);
             }
         }},
    };
    Open();
    const int second = Open();
    const PopupState before;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act(Handle(second));
        EXPECT_EQ(PopupState(), before);
    }
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(At(Handle(second)), Position(200, 200)) << "Reset still moves the most recent popup";
    EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(PopupManagerTest, CloseAllKeepsSlotOrderAndCascadeAndResetMovesOnlyTheMostRecentPopup)
{
    const PopupState start;
    EXPECT_EQ(CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(PopupState(), start) << "with no popup nothing changes";
    const int first = Open();
    const int second = Open();
    EXPECT_EQ(ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(At(Handle(second)), Position(200, 200));
    EXPECT_EQ(At(Handle(first)), Position(220, 220));
    EXPECT_EQ(At(Handle(Open())), Position(220, 220)) << "the cascade starts again";

    ExitPopupFunction(LastPanel());
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(At(Handle(first)), Position(220, 220)) << "the most recent popup is closed: none moves";
    EXPECT_EQ(At(Handle(second)), Position(200, 200));

    EXPECT_EQ(Open(), 4);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(CountLivePanels(), livePanels_);
    EXPECT_EQ(At(Handle(Open())), Position(240, 240)) << "slot order and cascade go on";
    EXPECT_EQ(g_lastPopup, 5);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(At(Handle(Open())), Position(220, 220));
}

}  // namespace
