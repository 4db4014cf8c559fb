// The stacking window as drawn: headers, frames, conflict lines and their
// "Link" buttons with geometry and colours, the popup slot it takes, and
// what the "Stacking" button of a spell window opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <string>
#include <vector>

#include "data/spell.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "stacking/stacking.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kFirstRunTimeCtrl = STACKPANEL_FRAME_1 + NUM_EFFECT_SLOTS;

// A control made at run time, as the toolkit reports it.
struct Shown {
    int id;
    std::string text;
    int top;
    int left;
    int width;
    int height;
};

class StackingWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        livePanels_ = CountLivePanels();
    }

    void TearDown() override
    {
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(CountLivePanels(), livePanels_) << "every popup is discarded";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is off";
    }

    static int AddSpell(int id, int duration = 10)
    {
        const int index = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        spell.id = id;
        spell.duration = duration;
        CopyText(spell.name, ("Spell " + std::to_string(index)).c_str());
        spell.attrib.fill(UNUSED_EFFECT);
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return index;
    }

    static void SetSlot(int index, int slot, int attrib, int base, int max = 0, int calc = 100)
    {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        const auto k = static_cast<std::size_t>(slot);
        spell.attrib[k] = attrib;
        spell.base[k] = base;
        spell.max[k] = max;
        spell.calc[k] = calc;
    }

    // Presses "Stacking" for g_spellArray[index]; returns the new panel.
    static int OpenStacking(int index)
    {
        EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[static_cast<std::size_t>(index)], 0, 0),
                  0);
        return g_lastPopup >= 0 ? g_popupHandles[static_cast<std::size_t>(g_lastPopup)] : -1;
    }

    static int Attr(int panel, int control, int attribute)
    {
        int value = -12345;
        EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &value), 0) << control << " " << attribute;
        return value;
    }

    static std::string Text(int panel, int control)
    {
        TextField text{};
        EXPECT_EQ(GetCtrlVal(panel, control, text), 0) << control;
        return text.data();
    }

    // Every control made at run time, in the order it was made.
    static std::vector<Shown> RunTimeControls(int panel)
    {
        std::vector<Shown> shown;
        int top = 0;
        for (int id = kFirstRunTimeCtrl; GetCtrlAttribute(panel, id, ATTR_TOP, &top) == 0; ++id) {
            shown.push_back({id, Text(panel, id), top, Attr(panel, id, ATTR_LEFT),
                             Attr(panel, id, ATTR_WIDTH), Attr(panel, id, ATTR_HEIGHT)});
        }
        return shown;
    }

    static const Shown* Find(const std::vector<Shown>& controls, const std::string& text, int left)
    {
        for (const Shown& c : controls) {
            if (c.text == text && c.left == left) return &c;
        }
        return nullptr;
    }

    int livePanels_ = 0;
};

TEST_F(StackingWindowTest, ShowsHeadersFramesAndLinesWhereTheLayoutSays)
{
    const int given = AddSpell(1);
    SetSlot(given, 0, kArmorClass, 5);
    SetSlot(given, 1, 35, 5);  // left out: no header, no frame
    SetSlot(given, 2, kHitpoints, 10);
    CopyText(g_spellArray[0].effectText[0], "Cached armor");
    CopyText(g_spellArray[0].effectText[2], "Cached hitpoints");
    const int small = AddSpell(2);
    SetSlot(small, 0, kArmorClass, 8);
    const int big = AddSpell(3);
    SetSlot(big, 0, kArmorClass, 30);

    const int panel = OpenStacking(given);
    ASSERT_GT(panel, 0);
    EXPECT_EQ(g_numPopups, 1);
    EXPECT_EQ(g_lastPopup, 1);
    int value = 0;
    ASSERT_EQ(GetPanelAttribute(panel, ATTR_VISIBLE, &value), 0);
    EXPECT_EQ(value, 1);
    GetPanelAttribute(panel, ATTR_TOP, &value);
    EXPECT_EQ(value, g_popupY);
    GetPanelAttribute(panel, ATTR_LEFT, &value);
    EXPECT_EQ(value, g_popupX);

    const std::vector<Shown> controls = RunTimeControls(panel);
    // Slot 1: header, then two lines (30 before 8); slot 3: header and the
    // no-conflict line.
    const Shown* header1 = Find(controls, "Cached armor", STACK_HEADER_LEFT);
    const Shown* header3 = Find(controls, "Cached hitpoints", STACK_HEADER_LEFT);
    ASSERT_NE(header1, nullptr);
    ASSERT_NE(header3, nullptr);
    EXPECT_EQ(header1->top, 25);
    EXPECT_EQ(header1->width, 600);
    EXPECT_EQ(Attr(panel, header1->id, ATTR_LABEL_LEFT), 50);
    EXPECT_EQ(Attr(panel, header1->id, ATTR_LABEL_POINT_SIZE), 16);
    EXPECT_EQ(Attr(panel, header1->id, ATTR_TEXT_POINT_SIZE), 16);
    EXPECT_EQ(Attr(panel, header1->id, ATTR_LABEL_COLOR), 0xFFFF00);
    EXPECT_EQ(Attr(panel, header1->id, ATTR_TEXT_COLOR), 0xFFFFFF);

    const Shown* bigName = Find(controls, "Spell 2", STACK_NAME_LEFT);
    const Shown* smallName = Find(controls, "Spell 1", STACK_NAME_LEFT);
    ASSERT_NE(bigName, nullptr);
    ASSERT_NE(smallName, nullptr);
    EXPECT_EQ(bigName->top, 70);
    EXPECT_EQ(bigName->width, 220);
    EXPECT_EQ(smallName->top, 95);
    const Shown* bigText = Find(controls, "Increase Armor Class by 30", STACK_TEXT_LEFT);
    ASSERT_NE(bigText, nullptr);
    EXPECT_EQ(bigText->top, 70);
    EXPECT_EQ(bigText->width, 415);

    std::vector<const Shown*> links;
    for (const Shown& c : controls) {
        if (c.text == "Link") links.push_back(&c);
    }
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->top, 70 + (bigName->height - 8) / 2) << "centred on its line";
    EXPECT_EQ(links[0]->left, 40);
    EXPECT_EQ(links[0]->width, 20);
    EXPECT_EQ(links[0]->height, 8);
    EXPECT_EQ(Attr(panel, links[0]->id, ATTR_CMD_BUTTON_COLOR), 0x008000);
    EXPECT_EQ(Attr(panel, links[0]->id, ATTR_LABEL_COLOR), 0xFFFFFF);
    EXPECT_EQ(Attr(panel, links[0]->id, ATTR_LABEL_POINT_SIZE), 8);

    // Slot 3 follows 50 below slot 1's last line and has no conflict.
    EXPECT_EQ(header3->top, 95 + 50);
    const Shown* none = Find(controls, kNoStackingConflicts, STACK_NONE_LEFT);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->top, 145 + 45);
    EXPECT_EQ(none->width, 300);

    // Frames: slot 1 around two lines, slot 3 around one; the others hidden.
    const int frame1 = GetDecorationVal(1);
    const int frame3 = GetDecorationVal(3);
    EXPECT_EQ(Attr(panel, frame1, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(panel, frame1, ATTR_TOP), 55);
    EXPECT_EQ(Attr(panel, frame1, ATTR_LEFT), 30);
    EXPECT_EQ(Attr(panel, frame1, ATTR_WIDTH), 675);
    EXPECT_EQ(Attr(panel, frame1, ATTR_HEIGHT), 80);
    EXPECT_EQ(Attr(panel, frame1, ATTR_FRAME_COLOR), 0x000080);
    EXPECT_EQ(Attr(panel, frame3, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(panel, frame3, ATTR_TOP), 175);
    EXPECT_EQ(Attr(panel, frame3, ATTR_HEIGHT), 55);
    for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n) {
        if (n == 1 || n == 3) continue;
        EXPECT_EQ(Attr(panel, GetDecorationVal(n), ATTR_VISIBLE), 0) << n;
    }
}

TEST_F(StackingWindowTest, ALinkOpensTheListedSpellEvenAtIndex3999)
{
    const int given = AddSpell(1);
    SetSlot(given, 4, kArmorClass, 5);
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1);
    SetSlot(MAX_SPELLS - 1, 4, kArmorClass, 7);
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "The Last One");

    const int panel = OpenStacking(given);
    ASSERT_GT(panel, 0);
    int link = -1;
    for (const Shown& c : RunTimeControls(panel)) {
        if (c.text == "Link") link = c.id;
    }
    ASSERT_GT(link, 0);
    ASSERT_EQ(CommitCtrl(panel, link), 0);
    EXPECT_EQ(g_numPopups, 2);
    const int opened = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    ASSERT_NE(opened, panel);
    EXPECT_EQ(Text(opened, SPELLPANEL_NAME), "The Last One");
}

TEST_F(StackingWindowTest, TheStackingButtonShowsTheSentencesCachedBeforeTheLevelChanged)
{
    const int given = AddSpell(1);
    g_spellArray[0].classLevel[CLASS_WAR] = 5;
    SetSlot(given, 0, kHitpoints, 10, 0, 102);
    const int other = AddSpell(2);
    g_spellArray[1].classLevel[CLASS_WAR] = 5;
    SetSlot(other, 0, kHitpoints, 10, 0, 102);

    ASSERT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[static_cast<std::size_t>(given) + 1], 0, 0),
              0);
    const int spellPanel = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    int stackingButton = -1;
    for (int id = 1; id < 200; ++id) {
        TextField text{};
        if (GetCtrlVal(spellPanel, id, text) == 0 && std::string(text.data()) == "Stacking")
            stackingButton = id;
    }
    ASSERT_GT(stackingButton, 0);

    g_levelEnable = 1;
    g_displayLevel = 40;
    ASSERT_EQ(CommitCtrl(spellPanel, stackingButton), 0);
    const int panel = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    ASSERT_NE(panel, spellPanel);
    const std::vector<Shown> controls = RunTimeControls(panel);
    EXPECT_NE(Find(controls, "Increase Hitpoints by 15 (L5) to 75 (L65) per tick", STACK_HEADER_LEFT),
              nullptr);
    EXPECT_NE(Find(controls, "Increase Hitpoints by 50 (L40) per tick", STACK_TEXT_LEFT), nullptr);
}

TEST_F(StackingWindowTest, With50PopupsOpenTheCheckIsRefusedAndTheSpellWindowStaysAsItWas)
{
    const int given = AddSpell(1);
    SetSlot(given, 0, kArmorClass, 5);
    ASSERT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0), 0);
    const int spellPanel = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    while (g_numPopups < MAX_POPUPS) OpenStacking(given);
    const auto handles = g_popupHandles;
    const int live = CountLivePanels();
    int height = 0;
    GetPanelAttribute(spellPanel, ATTR_HEIGHT, &height);

    EXPECT_EQ(StackingCallback(spellPanel, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), -1);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    EXPECT_EQ(Dialogs().messages[0].text,
              "Too many spell popups are already open - you must close one before opening another");
    EXPECT_EQ(g_popupHandles, handles);
    EXPECT_EQ(g_numPopups, MAX_POPUPS);
    EXPECT_EQ(CountLivePanels(), live);
    int after = 0;
    GetPanelAttribute(spellPanel, ATTR_HEIGHT, &after);
    EXPECT_EQ(after, height);
    GetPanelAttribute(spellPanel, ATTR_VISIBLE, &after);
    EXPECT_EQ(after, 1);
}

TEST_F(StackingWindowTest, NothingOpensForANegativeIdOtherEventsOrNoRecord)
{
    const int given = AddSpell(-5);
    SetSlot(given, 0, kArmorClass, 5);
    const int live = CountLivePanels();
    EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), -1);
    EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0), -1);
    int notARecord = 0;
    EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &notARecord, 0, 0), -1);
    g_spellArray[0].id = 5;
    EXPECT_EQ(StackingCallback(0, 0, EVENT_KEYPRESS, &g_spellArray[0], 0, 0), 0);
    EXPECT_EQ(CountLivePanels(), live);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(StackingWindowTest, AnInstantSpellGetsAnEmptyWindowThatCloses)
{
    const int given = AddSpell(1, 0);
    SetSlot(given, 0, kArmorClass, 5);
    g_spellArray[0].isInstant = 1;
    const int other = AddSpell(2);
    SetSlot(other, 0, kArmorClass, 5);

    const int panel = OpenStacking(given);
    ASSERT_GT(panel, 0);
    EXPECT_TRUE(RunTimeControls(panel).empty());
    ASSERT_EQ(CommitCtrl(panel, STACKPANEL_CLOSE), 0);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(g_lastPopup, -1);
}

TEST_F(StackingWindowTest, TheWindowKeepsItsSizeAndScrollsToTheLastLine)
{
    const int given = AddSpell(1);
    for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) SetSlot(given, slot, kArmorClass, 5);
    for (int i = 0; i < 20; ++i) {
        const int other = AddSpell(100 + i);
        for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) SetSlot(other, slot, kArmorClass, i);
    }
    const int panel = OpenStacking(given);
    ASSERT_GT(panel, 0);
    int height = 0;
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    EXPECT_EQ(height, 600);

    const int lastFrame = GetDecorationVal(NUM_EFFECT_SLOTS);
    const int bottom = Attr(panel, lastFrame, ATTR_TOP) + Attr(panel, lastFrame, ATTR_HEIGHT);
    toolkit::Panel* p = toolkit::FindPanel(panel);
    ASSERT_NE(p, nullptr);
    ASSERT_NE(p->canvas.data(), p->window.data()) << "the panel has a scrolling canvas";
    EXPECT_GE(p->canvas->minimumHeight(), bottom);
    EXPECT_NE(p->canvas->parentWidget()
                  ? qobject_cast<QScrollArea*>(p->canvas->parentWidget()->parentWidget())
                  : nullptr,
              nullptr);
}

}  // namespace
