// The popup slot table: slot order, the cascade, the limit of fifty, closing one popup or all of them.
#include "popup/popup_manager.h"

#include <QTest>

#include "app/main_uir.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit_testing.h"
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
    static int Open() { return OpenSpell(0) > 0 ? g_lastPopup : -1; }  // opens spell 0: the slot it took
    static int Handle(int slot) { return g_popupHandles[static_cast<std::size_t>(slot)]; }
    static Position At(int s) { return {PanelAttr(Handle(s), ATTR_LEFT), PanelAttr(Handle(s), ATTR_TOP)}; }
};

TEST_F(PopupManagerTest, SlotsRunInOrderAndAFreedSlotIsTakenWhenTheSearchReachesIt)
{
    for (int slot = 1; slot < MAX_POPUPS; ++slot) {
        ASSERT_EQ(Open(), slot);
        if (slot == 5) ExitPopupFunction(Handle(2));  // taken again only after the search wraps
    }
    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(Open(), 2);
}

// With fifty popups open, each way of opening one is refused with the message and changes
// nothing; once a popup is closed it opens in the freed slot.
enum class Opener { Link, List, Stacking };
struct OpenerRow {
    const char* name;
    Opener opener;
    int closing;  // the slot freed
};
const OpenerRow kOpenerRows[] = {
    {"link", Opener::Link, 0},
    {"list", Opener::List, 17},
    {"stacking", Opener::Stacking, 49},
};

class FullTable : public PopupManagerTest, public testing::WithParamInterface<OpenerRow> {
protected:
    int OpenBy(Opener opener)
    {
        switch (opener) {
            case Opener::Link:
                return GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0);
            case Opener::List:
                return SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0);
            case Opener::Stacking:
                return StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0);
        }
        return 0;
    }
};

TEST_P(FullTable, RefusesEveryOpenerUntilASlotIsFreed)
{
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Popup spell", 0);
    for (int slot = 0; slot < MAX_POPUPS; ++slot) Open();
    ASSERT_EQ(g_numPopups, MAX_POPUPS);
    const PopupState before;
    EXPECT_EQ(OpenBy(GetParam().opener), -1);
    EXPECT_EQ(PopupState(), before);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title + ": " + Dialogs().messages[0].text,
              "Error: Too many spell popups are already open - you must close one before opening another");
    ExitPopupFunction(Handle(GetParam().closing));
    EXPECT_EQ(OpenBy(GetParam().opener), 0);
    EXPECT_EQ(g_lastPopup, GetParam().closing) << "the freed slot is taken again";
}

INSTANTIATE_TEST_SUITE_P(PopupManagerTest, FullTable, testing::ValuesIn(kOpenerRows), RowName());

// The n-th popup opened after start-up: the slot it takes and where it stands.
struct CascadeRow {
    const char* name;
    int opened;
    int slot;
    Position at;
};
const CascadeRow kCascadeRows[] = {
    {"first", 1, 1, {220, 220}},
    {"eleventh at the far corner", 11, 11, {420, 420}},
    {"twelfth wraps back", 12, 12, {200, 200}},
    {"thirteenth", 13, 13, {220, 220}},
    {"fiftieth takes slot 0", 50, 0, {240, 240}},
};

class PopupCascade : public PopupManagerTest, public testing::WithParamInterface<CascadeRow> {};

TEST_P(PopupCascade, TheNthPopupTakesItsSlotAndPlace)
{
    int slot = -1;
    for (int n = 0; n < GetParam().opened; ++n) slot = Open();
    EXPECT_EQ(slot, GetParam().slot);
    EXPECT_EQ(At(slot), GetParam().at);
    EXPECT_EQ(g_numPopups, GetParam().opened);
}

INSTANTIATE_TEST_SUITE_P(PopupManagerTest, PopupCascade, testing::ValuesIn(kCascadeRows), RowName());

enum class Closer { Button, Escape, CloseBox };
struct CloserRow {
    const char* name;
    Closer closer;
};
// Were a popup closed by its close box only hidden, it would keep its slot.
const CloserRow kCloserRows[] = {
    {"Close", Closer::Button}, {"Escape", Closer::Escape}, {"close box", Closer::CloseBox}};

class ClosingOnePopup : public PopupManagerTest, public testing::WithParamInterface<CloserRow> {
protected:
    static void Close(int panel)
    {
        switch (GetParam().closer) {
            case Closer::Button:
                QTest::mouseClick(ControlWidget(panel, SPELLPANEL_CLOSE), Qt::LeftButton);
                break;
            case Closer::Escape:
                QTest::keyClick(PanelWindow(panel), Qt::Key_Escape);
                break;
            case Closer::CloseBox:
                PanelWindow(panel)->close();
                break;
        }
    }
};

TEST_P(ClosingOnePopup, DiscardsOnlyItsPopupAndFreesTheSlot)
{
    const int first = Open(), second = Open(), third = Open();
    const int panel = Handle(second);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Space}) QTest::keyClick(PanelWindow(panel), key);
    EXPECT_EQ(g_numPopups, 3) << "other keys do nothing";
    Close(panel);
    EXPECT_EQ(Handle(second), -1);
    EXPECT_LT(DisplayPanel(panel), 0) << "the panel is discarded";
    EXPECT_NE(Handle(first), -1);
    EXPECT_EQ(g_lastPopup, third) << "closing another popup keeps the most recent one";
    Close(Handle(third));
    EXPECT_EQ(g_lastPopup, -1) << "the most recent popup was closed";
    EXPECT_EQ(g_numPopups, 1);
}

INSTANTIATE_TEST_SUITE_P(PopupManagerTest, ClosingOnePopup, testing::ValuesIn(kCloserRows), RowName());

enum class Stray {
    UnloadedIndex,
    SpellLoadFails,
    StackingLoadFails,
    ReleaseFilledSlot,
    CloseUnslotted,
    CloseFreeMark,
    CountBelowSlots,
    OtherPanelEvents
};
struct StrayRow {
    const char* name;
    Stray action;
};
const StrayRow kStrayRows[] = {
    {"index of no loaded spell", Stray::UnloadedIndex},
    {"spell window that could not load", Stray::SpellLoadFails},
    {"stacking window that could not load", Stray::StackingLoadFails},
    {"releasing a slot that holds a panel", Stray::ReleaseFilledSlot},
    {"closing a panel in no slot", Stray::CloseUnslotted},
    {"closing -1, the mark of free slots", Stray::CloseFreeMark},
    {"a slot count below the filled slots", Stray::CountBelowSlots},
    {"panel events but Escape and close box", Stray::OtherPanelEvents},
};

class StrayAction : public PopupManagerTest, public testing::WithParamInterface<StrayRow> {
protected:
    static void Act(int panel)
    {
        switch (GetParam().action) {
            case Stray::UnloadedIndex:
                GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[4], 0, 0);
                break;
            case Stray::SpellLoadFails:
                FailNextLoadPanelsForTesting(1);
                OpenSpellPopup(0);
                break;
            case Stray::StackingLoadFails:
                FailNextLoadPanelsForTesting(1);
                StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0);
                break;
            case Stray::ReleaseFilledSlot:
                ReleaseReservedPopupSlot(1);
                break;
            case Stray::CloseUnslotted:
                ExitPopupFunction(LoadPanel(0, SPELL_UIR, SPELLPANEL));
                break;
            case Stray::CloseFreeMark:
                ExitPopupFunction(-1);
                break;
            case Stray::CountBelowSlots: {
                const auto handles = g_popupHandles;
                const int count = std::exchange(g_numPopups, 0);
                g_popupHandles.fill(1);
                EXPECT_EQ(GetPopupIndex(), -1);
                g_popupHandles = handles, g_numPopups = count;
                break;
            }
            case Stray::OtherPanelEvents:
                for (int event : {EVENT_COMMIT, 2, 3, 11})
                    SpellPanelCallback(panel, event, nullptr, VAL_ESC_VKEY, 0);
                break;
        }
    }
};

TEST_P(StrayAction, ChangesNothing)
{
    Open();
    const int second = Open();
    const PopupState before;
    Act(Handle(second));
    EXPECT_EQ(PopupState(), before);
    EXPECT_TRUE(Dialogs().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(PopupManagerTest, StrayAction, testing::ValuesIn(kStrayRows), RowName());

TEST_F(PopupManagerTest, ResetMovesOnlyTheMostRecentPopupAndCloseAllKeepsTheOrder)
{
    const int first = Open(), second = Open();
    const std::array reset{Position(200, 200), Position(220, 220)};
    EXPECT_EQ(ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ((std::array{At(second), At(first)}), reset);
    EXPECT_EQ(At(Open()), Position(220, 220)) << "the cascade starts again";
    ExitPopupFunction(LastPanel());
    ResetPositionCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ((std::array{At(second), At(first)}), reset) << "the most recent popup is closed: none moves";
    EXPECT_EQ(Open(), 4);
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(std::pair(g_numPopups, CountLivePanels()), std::pair(0, livePanels_));
    EXPECT_EQ(At(Open()), Position(240, 240)) << "slot order and cascade go on after closing all";
    EXPECT_EQ(g_lastPopup, 5);
}

}  // namespace
