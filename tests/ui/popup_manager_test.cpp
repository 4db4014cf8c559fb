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
using Action = std::pair<const char*, void (*)(int panel)>;

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

TEST_F(PopupManagerTest, StrayActionsChangeNothingAndResetMovesOnlyTheMostRecentPopup)
{
    const Action cases[] = {
        {"index of no loaded spell",
         [](int) { GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[4], 0, 0); }},
        {"spell window that could not load",
         [](int) {
             FailNextLoadPanelsForTesting(1);
             OpenSpellPopup(0);
         }},
        {"stacking window that could not load",
         [](int) {
             FailNextLoadPanelsForTesting(1);
             StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0);
         }},
        {"releasing a slot that holds a panel", [](int) { ReleaseReservedPopupSlot(1); }},
        {"closing a panel in no slot", [](int) { ExitPopupFunction(LoadPanel(0, SPELL_UIR, SPELLPANEL)); }},
        {"closing -1, the mark of free slots", [](int) { ExitPopupFunction(-1); }},
        {"a slot count below the filled slots",
         [](int) {
             const auto handles = g_popupHandles;
             const int count = std::exchange(g_numPopups, 0);
             g_popupHandles.fill(1);
             EXPECT_EQ(GetPopupIndex(), -1);
             g_popupHandles = handles, g_numPopups = count;
         }},
        {"panel events but Escape and close box",
         [](int p) {
             for (int event : {EVENT_COMMIT, 2, 3, 11})
                 SpellPanelCallback(p, event, nullptr, VAL_ESC_VKEY, 0);
         }},
    };
    const int first = Open(), second = Open();
    const PopupState before;
    for (const auto& [name, act] : cases) {
        act(Handle(second));
        EXPECT_EQ(PopupState(), before) << name;
    }
    EXPECT_TRUE(Dialogs().messages.empty());
    // Reset moves the most recent popup to the start of the cascade, no other.
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
