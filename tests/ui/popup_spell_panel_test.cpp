// The spell detail window as drawn: fixed texts, run-time rows and buttons
// with their geometry and colours, heights, and the callbacks that open
// spells from the list and from links.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_uir.h"
#include "data/spell.h"
#include "list/search_callbacks.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_panel.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kWeaponProc = 85;  // links the spell whose id is in the slot's base

// The controls PopulateSpellPopup added, in the order it added them.
struct RunTimeControl {
    int id;
    toolkit::Control* control;
};

class SpellWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        livePanels_ = CountLivePanels();
    }

    void TearDown() override
    {
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        if (mainPanel_ > 0) DiscardPanel(mainPanel_);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(CountLivePanels(), livePanels_) << "every popup is discarded";
    }

    static SpellStruct& AddSpell(int id, const char* name, int* index = nullptr)
    {
        const int i = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        spell.id = id;
        CopyText(spell.name, name);
        spell.duration = 10;
        spell.attrib.fill(UNUSED_EFFECT);
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        if (index) *index = i;
        return spell;
    }

    // Opens g_spellArray[index] the way a "Link" button does; returns its panel.
    static int OpenSpell(int index)
    {
        EXPECT_EQ(
            GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[static_cast<std::size_t>(index) + 1], 0, 0), 0);
        return g_lastPopup >= 0 ? g_popupHandles[static_cast<std::size_t>(g_lastPopup)] : -1;
    }

    static std::string Text(int panel, int control)
    {
        TextField text{};
        EXPECT_EQ(GetCtrlVal(panel, control, text), 0) << control;
        return text.data();
    }

    static int Attr(int panel, int control, int attribute)
    {
        int value = -12345;
        EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &value), 0) << control << " " << attribute;
        return value;
    }

    static int PanelAttr(int panel, int attribute)
    {
        int value = -12345;
        EXPECT_EQ(GetPanelAttribute(panel, attribute, &value), 0);
        return value;
    }

    static std::vector<RunTimeControl> RunTimeControls(int panel)
    {
        std::vector<RunTimeControl> controls;
        for (int id = SPELLPANEL_EFFECTS_FRAME + 1; id < 200; ++id) {
            if (toolkit::Control* c = toolkit::FindControl(panel, id)) controls.push_back({id, c});
        }
        return controls;
    }

    static std::vector<RunTimeControl> Buttons(int panel)
    {
        std::vector<RunTimeControl> buttons;
        for (const RunTimeControl& c : RunTimeControls(panel)) {
            if (c.control->kind == toolkit::Kind::Button) buttons.push_back(c);
        }
        return buttons;
    }

    static int OpenPopups()
    {
        int open = 0;
        for (int handle : g_popupHandles) open += handle != -1;
        return open;
    }

    int livePanels_ = 0;
    int mainPanel_ = -1;
};

// ---- Fixed elements -----------------------------------------------------------------

TEST_F(SpellWindowTest, FixedElementsShowTheComputedTexts)
{
    SpellStruct& spell = AddSpell(321, "Aegis of Tests");
    spell.duration = 25;
    spell.seconds13 = 2.5;
    spell.skill = 49;
    spell.targetType = 2;
    spell.reagentId = {0, 10015, -1, 0};
    spell.reagentCount = {9, 3, 9, 9};
    spell.classLevel[CLASS_WAR] = 1;
    spell.classLevel[CLASS_MNK] = 4;
    CopyText(spell.message2, "Someone glows.");
    spell.linkedSpell = 654;
    AddSpell(654, "Aegis Echo");

    const int panel = OpenSpell(0);
    ASSERT_GT(panel, 0);
    SpellPanelContent content;
    ASSERT_EQ(BuildSpellPanelContent(0, content), 0);
    for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
        EXPECT_EQ(Text(panel, SpellPanelTextCtrl(PanelText(text))),
                  content.texts[static_cast<std::size_t>(text)].data())
            << kPanelTextFields[static_cast<std::size_t>(text)];
    }
    EXPECT_EQ(Text(panel, SPELLPANEL_NAME), "Aegis of Tests");
    EXPECT_EQ(Text(panel, SPELLPANEL_DURATION), "25 ticks (2.5 minutes)");
    EXPECT_EQ(Text(panel, SPELLPANEL_SECONDS13), "2.50");
    EXPECT_EQ(Text(panel, SPELLPANEL_SKILL), "Stringed");
    EXPECT_EQ(Text(panel, SPELLPANEL_TARGET_TYPE), "Unknown");
    EXPECT_EQ(Text(panel, SPELLPANEL_COMPONENTS), "Malachite (3)");
    EXPECT_EQ(Text(panel, SPELLPANEL_CLASSES), "WAR(1) MNK(4) ");
    EXPECT_EQ(Text(panel, SPELLPANEL_MESSAGE2), "Someone glows.");
    EXPECT_EQ(Text(panel, SPELLPANEL_LINKED_SPELL), "Aegis Echo");
    int linkIndex = -5;
    GetCtrlVal(panel, SPELLPANEL_LINK_INDEX, &linkIndex);
    EXPECT_EQ(linkIndex, 1);
    EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), 1);
    EXPECT_EQ(PanelAttr(panel, ATTR_VISIBLE), 1) << "the filled panel is shown";
}

TEST_F(SpellWindowTest, NoLinkedSpellKeepsTheButtonHiddenAndIndexMinusOne)
{
    AddSpell(1, "Unlinked").linkedSpell = -1;
    AddSpell(2, "Dangling").linkedSpell = 77;
    for (int index : {0, 1}) {
        const int panel = OpenSpell(index);
        EXPECT_EQ(Text(panel, SPELLPANEL_LINKED_SPELL), "None");
        int linkIndex = 0;
        GetCtrlVal(panel, SPELLPANEL_LINK_INDEX, &linkIndex);
        EXPECT_EQ(linkIndex, -1);
        EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), 0);
        EXPECT_EQ(GoToLinkCallback(panel, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, nullptr, 0, 0), 0);
        EXPECT_EQ(g_numPopups, index + 1) << "no linked spell: nothing opens";
    }
}

// ---- Run-time rows and buttons --------------------------------------------------------

TEST_F(SpellWindowTest, RowsLinkButtonsAndStackingButtonTakeTheirPlacesAndColours)
{
    int origin = -1;
    SpellStruct& spell = AddSpell(10, "Rows", &origin);
    int target = -1;
    AddSpell(20, "Proc target", &target);
    spell.attrib[0] = kHitpoints;
    spell.base[0] = 5;
    spell.attrib[2] = kWeaponProc;
    spell.base[2] = 20;

    const int panel = OpenSpell(origin);
    const std::vector<RunTimeControl> controls = RunTimeControls(panel);
    ASSERT_EQ(controls.size(), 4u) << "two rows, one link button, the stacking button";

    const int rowIds[] = {controls[0].id, controls[1].id};
    const int rowTops[] = {355, 380};
    const char* labels[] = {"Slot 1:", "Slot 3:"};
    for (int r = 0; r < 2; ++r) {
        const int row = rowIds[r];
        SCOPED_TRACE(labels[r]);
        EXPECT_EQ(toolkit::FindControl(panel, row)->kind, toolkit::Kind::String);
        EXPECT_EQ(Attr(panel, row, ATTR_TOP), rowTops[r]);
        EXPECT_EQ(Attr(panel, row, ATTR_LEFT), 80);
        EXPECT_EQ(Attr(panel, row, ATTR_WIDTH), 500);
        EXPECT_LE(Attr(panel, row, ATTR_LABEL_LEFT), 45) << "35 left of the field, or further when wider";
        const int centre = Attr(panel, row, ATTR_TOP) + Attr(panel, row, ATTR_HEIGHT) / 2;
        const int labelCentre = Attr(panel, row, ATTR_LABEL_TOP) + Attr(panel, row, ATTR_LABEL_HEIGHT) / 2;
        EXPECT_LE(std::abs(centre - labelCentre), 1);
        EXPECT_EQ(toolkit::FindControl(panel, row)->label->text().toStdString(), labels[r]);
        EXPECT_EQ(Attr(panel, row, ATTR_LABEL_COLOR), 0xFFFF00);
        EXPECT_EQ(Attr(panel, row, ATTR_TEXT_COLOR), 0xFFFFFF);
        EXPECT_EQ(Attr(panel, row, ATTR_TEXT_BOLD), 1);
        EXPECT_EQ(Attr(panel, row, ATTR_LABEL_BOLD), 0) << "the toolkit's default weight";
        EXPECT_EQ(Text(panel, row), spell.effectText[r == 0 ? 0 : 2].data());
    }

    const int link = controls[2].id;
    EXPECT_EQ(Text(panel, link), "Link");
    EXPECT_LE(Attr(panel, link, ATTR_LEFT), 15) << "beside its row: see LinkButtonsClearTheirCaptions...";
    EXPECT_EQ(Attr(panel, link, ATTR_WIDTH), 20);
    EXPECT_EQ(Attr(panel, link, ATTR_HEIGHT), 8);
    EXPECT_EQ(Attr(panel, link, ATTR_LABEL_POINT_SIZE), 8);
    EXPECT_EQ(Attr(panel, link, ATTR_LABEL_COLOR), 0xFFFFFF);
    EXPECT_EQ(Attr(panel, link, ATTR_CMD_BUTTON_COLOR), 0x008000);
    EXPECT_EQ(controls[2].control->callback, &GoToLink2Callback);
    EXPECT_EQ(controls[2].control->callbackData, &g_intArray[static_cast<std::size_t>(target) + 1]);

    const int stacking = controls[3].id;
    EXPECT_EQ(Text(panel, stacking), "Stacking");
    EXPECT_EQ(Attr(panel, stacking, ATTR_TOP), 412);
    EXPECT_EQ(Attr(panel, stacking, ATTR_LEFT), 265);
    EXPECT_EQ(Attr(panel, stacking, ATTR_WIDTH), 70);
    EXPECT_EQ(Attr(panel, stacking, ATTR_HEIGHT), 30);
    EXPECT_EQ(Attr(panel, stacking, ATTR_LABEL_POINT_SIZE), 14);
    EXPECT_EQ(Attr(panel, stacking, ATTR_LABEL_COLOR), 0xFFFFFF);
    EXPECT_EQ(Attr(panel, stacking, ATTR_CMD_BUTTON_COLOR), 0x02387B);
    EXPECT_EQ(controls[3].control->callback, &StackingCallback);
    EXPECT_EQ(controls[3].control->callbackData, &g_spellArray[static_cast<std::size_t>(origin)]);

    EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), 475);
    EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), 125);
}

TEST_F(SpellWindowTest, PanelAndFrameHeightsFollowRowsAndStackingButton)
{
    struct Case {
        int rows;
        int duration;
        int panelHeight;
        int frameHeight;
        bool stacking;
    };
    const Case cases[] = {
        {0, 10, 425, 75, true}, {1, 10, 450, 100, true},  {12, 10, 725, 375, true},
        {1, 0, 405, 55, false}, {12, 0, 680, 330, false}, {0, 0, 425, 75, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, duration " + std::to_string(c.duration));
        int index = -1;
        SpellStruct& spell = AddSpell(1000 + g_numSpells, "Sized", &index);
        spell.duration = c.duration;
        for (int k = 0; k < c.rows; ++k) spell.attrib[static_cast<std::size_t>(k)] = kHitpoints;
        const int panel = OpenSpell(index);
        EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), c.panelHeight);
        EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), c.frameHeight);
        EXPECT_EQ(Buttons(panel).size(), c.stacking ? 1u : 0u);
        EXPECT_EQ(RunTimeControls(panel).size(), static_cast<std::size_t>(c.rows) + (c.stacking ? 1 : 0));
    }
}

TEST_F(SpellWindowTest, ResourceFileIsLaidOutForTheRunTimeElements)
{
    const int panel = LoadPanel(0, SPELL_UIR, SPELLPANEL);
    ASSERT_GT(panel, 0);
    EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), PANEL_BASE_HEIGHT) << "as with no row and a stacking button";
    EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), FRAME_BASE_HEIGHT);
    EXPECT_GE(PanelAttr(panel, ATTR_WIDTH), ROW_LEFT + ROW_WIDTH + 10);
    EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), 0);
    EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_INDEX, ATTR_VISIBLE), 0);
    const int frameTop = Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_TOP);
    EXPECT_LT(frameTop, ROW_FIRST_TOP);
    for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
        const int control = SpellPanelTextCtrl(PanelText(text));
        EXPECT_LE(Attr(panel, control, ATTR_TOP) + Attr(panel, control, ATTR_HEIGHT), frameTop)
            << "fixed elements stay above the effects frame";
    }
    DiscardPanel(panel);
}

TEST_F(SpellWindowTest, CreateStringControlPlacesAndStylesItsField)
{
    const int panel = LoadPanel(0, SPELL_UIR, SPELLPANEL);
    ASSERT_GT(panel, 0);
    const int field = CreateStringControl(panel, 300, 120, 220, "Slot 4: ", "Increase Mana by 5");
    ASSERT_GT(field, SPELLPANEL_EFFECTS_FRAME);
    EXPECT_EQ(Attr(panel, field, ATTR_LEFT), 300);
    EXPECT_EQ(Attr(panel, field, ATTR_TOP), 120);
    EXPECT_EQ(Attr(panel, field, ATTR_WIDTH), 220);
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_LEFT), 250);
    const int centre = 120 + Attr(panel, field, ATTR_HEIGHT) / 2;
    const int labelCentre = Attr(panel, field, ATTR_LABEL_TOP) + Attr(panel, field, ATTR_LABEL_HEIGHT) / 2;
    EXPECT_LE(std::abs(centre - labelCentre), 1);
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_COLOR), 0xFFFF00);
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_POINT_SIZE), 12);
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_BOLD), 1);
    EXPECT_EQ(Attr(panel, field, ATTR_TEXT_COLOR), 0xFFFFFF);
    EXPECT_EQ(Attr(panel, field, ATTR_TEXT_POINT_SIZE), 12);
    EXPECT_EQ(Attr(panel, field, ATTR_TEXT_BOLD), 1);
    EXPECT_EQ(Text(panel, field), "Increase Mana by 5");

    const int unlabelled = CreateStringControl(panel, 70, 200, 220, "", "Spell name");
    EXPECT_GT(unlabelled, field);
    EXPECT_EQ(Text(panel, unlabelled), "Spell name");
    EXPECT_EQ(Attr(panel, unlabelled, ATTR_TEXT_COLOR), 0xFFFFFF);
    DiscardPanel(panel);
}

TEST_F(SpellWindowTest, LinkButtonsClearTheirCaptionsAndLineUpAtEveryTextSize)
{
    AddSpell(10, "Twelve links");
    AddSpell(20, "Proc target");
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        g_spellArray[0].attrib[k] = kWeaponProc;
        g_spellArray[0].base[k] = 20;
    }
    const QFont normal = QApplication::font();
    for (int pixels : {0, 16, 20}) {  // 0: the toolkit's default
        SCOPED_TRACE(pixels);
        QFont font = normal;
        if (pixels > 0) font.setPixelSize(pixels);
        QApplication::setFont(font);
        const int panel = OpenSpell(0);
        std::vector<RunTimeControl> rows;
        for (const RunTimeControl& c : RunTimeControls(panel)) {
            if (c.control->kind == toolkit::Kind::String) rows.push_back(c);
        }
        const std::vector<RunTimeControl> buttons = Buttons(panel);
        ASSERT_EQ(rows.size(), 12u);
        ASSERT_EQ(buttons.size(), 13u) << "twelve links and the stacking button";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const QRect field = rows[r].control->widget->geometry();
            const QRect caption = rows[r].control->label->geometry();
            const QRect link = buttons[r].control->widget->geometry();
            EXPECT_FALSE(link.intersects(caption)) << "slot " << r + 1;
            EXPECT_LT(caption.right(), field.left()) << "slot " << r + 1;
            EXPECT_GE(link.left(), 10) << "inside the effects frame";
            EXPECT_LE(std::abs(link.center().y() - field.center().y()), 1) << "slot " << r + 1;
            EXPECT_LE(std::abs(caption.center().y() - field.center().y()), 1) << "slot " << r + 1;
        }
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    }
    QApplication::setFont(normal);
}

TEST_F(SpellWindowTest, FileTextIsShownAsItStands)
{
    const std::string markup = "<b>Bold</b> &amp; <u>under</u>   [*] <img src=x>";
    AddSpell(10, markup.c_str());
    SpellStruct& proc = AddSpell(20, "Quoting");  // its sentence quotes the name
    proc.attrib[0] = kWeaponProc;
    proc.base[0] = 10;

    auto shownPlain = [](const toolkit::Control* c, const std::string& text) {
        const auto* label = qobject_cast<const QLabel*>(c->widget.data());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(label->text().toStdString(), text);
    };
    shownPlain(toolkit::FindControl(OpenSpell(0), SPELLPANEL_NAME), markup);
    const std::vector<RunTimeControl> rows = RunTimeControls(OpenSpell(1));
    ASSERT_FALSE(rows.empty());
    shownPlain(rows[0].control, "Add Weapon Proc: 10 (" + markup + ")");

    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    QWidget* stacking = toolkit::FindPanel(g_popupHandles[static_cast<std::size_t>(g_lastPopup)])->window;
    ASSERT_NE(stacking->windowHandle(), nullptr);
    EXPECT_EQ(stacking->windowHandle()->title().toStdString(), "Stacking - " + markup);

    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    char text[] = "bold";
    PopulateSpellList(mainPanel_, MAINPANEL_SPELL_LIST, text, 0);
    auto* list =
        qobject_cast<QListWidget*>(toolkit::FindControl(mainPanel_, MAINPANEL_SPELL_LIST)->widget.data());
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), markup);
}

TEST_F(SpellWindowTest, TextsCutOffByTheirFieldsShowWholeInATooltip)
{
    std::string longName;
    while (longName.size() < 200) longName += "Very <b>Long</b>  Name ";
    SpellStruct& spell = AddSpell(10, longName.c_str());
    spell.reagentId.fill(16505);  // Enchanted Electrum Bar
    spell.reagentCount.fill(1000000);
    spell.linkedSpell = 20;
    AddSpell(20, longName.c_str());
    const int panel = OpenSpell(0);
    for (int control : {SPELLPANEL_NAME, SPELLPANEL_COMPONENTS, SPELLPANEL_LINKED_SPELL, SPELLPANEL_ID}) {
        SCOPED_TRACE(control);
        const auto* label = qobject_cast<const QLabel*>(toolkit::FindControl(panel, control)->widget.data());
        // What the tooltip shows: read as markup when it looks like markup.
        QString shown = label->toolTip();
        if (Qt::mightBeRichText(shown)) {
            QTextDocument tip;
            tip.setHtml(shown);
            shown = tip.toPlainText();
        }
        EXPECT_EQ(shown.toStdString(), control == SPELLPANEL_ID ? "" : label->text().toStdString());
    }
}

// ---- Opening and following links ---------------------------------------------------------

TEST_F(SpellWindowTest, LinkButtonOpensItsSpellInANewPopupAndTheOldOneStays)
{
    SpellStruct& spell = AddSpell(10, "Origin");
    AddSpell(20, "Proc target");
    spell.attrib[0] = kWeaponProc;
    spell.base[0] = 20;
    const int origin = OpenSpell(0);
    const int originSlot = g_lastPopup;
    std::vector<RunTimeControl> buttons = Buttons(origin);
    ASSERT_EQ(buttons.size(), 2u);
    auto* link = qobject_cast<QPushButton*>(buttons[0].control->widget.data());
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::LeftButton);

    EXPECT_EQ(g_numPopups, 2);
    EXPECT_NE(g_lastPopup, originSlot);
    const int opened = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    EXPECT_EQ(Text(opened, SPELLPANEL_NAME), "Proc target");
    EXPECT_EQ(Text(origin, SPELLPANEL_NAME), "Origin") << "the popup with the button stays";
}

TEST_F(SpellWindowTest, LinkedSpellButtonOpensTheLinkedSpell)
{
    AddSpell(10, "Origin").linkedSpell = 30;
    AddSpell(20, "Other");
    AddSpell(30, "Linked");
    const int origin = OpenSpell(0);
    QWidget* button = toolkit::FindControl(origin, SPELLPANEL_LINK_BUTTON)->widget;
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(g_numPopups, 2);
    EXPECT_EQ(Text(g_popupHandles[static_cast<std::size_t>(g_lastPopup)], SPELLPANEL_NAME), "Linked");

    // Callback data, when set, names the target instead of the panel's index.
    EXPECT_EQ(GoToLinkCallback(origin, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, &g_intArray[2], 0, 0), 0);
    EXPECT_EQ(Text(g_popupHandles[static_cast<std::size_t>(g_lastPopup)], SPELLPANEL_NAME), "Other");
    EXPECT_EQ(GoToLinkCallback(origin, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, &g_intArray[0], 0, 0), 0);
    EXPECT_EQ(g_numPopups, 3) << "data pointing at 0 means no spell";
}

TEST_F(SpellWindowTest, LinksOpenTheLastRecordOfAFullTable)
{
    for (int i = 0; i < MAX_SPELLS; ++i) AddSpell(i + 1, "Filler");
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "Last record");
    g_spellArray[0].attrib[0] = kWeaponProc;
    g_spellArray[0].base[0] = MAX_SPELLS;  // id of the last record

    const int origin = OpenSpell(0);
    std::vector<RunTimeControl> buttons = Buttons(origin);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].control->callbackData, &g_intArray[MAX_SPELLS]);
    EXPECT_EQ(*static_cast<int*>(buttons[0].control->callbackData), MAX_SPELLS);
    QTest::mouseClick(buttons[0].control->widget.data(), Qt::LeftButton);
    ASSERT_EQ(g_numPopups, 2);
    EXPECT_EQ(Text(g_popupHandles[static_cast<std::size_t>(g_lastPopup)], SPELLPANEL_NAME), "Last record");
}

TEST_F(SpellWindowTest, LinkCallbacksWithoutTargetOrCommitDoNothing)
{
    AddSpell(1, "Only");
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[0], 0, 0), 0);
    for (int event : {0, 2, EVENT_KEYPRESS, EVENT_CLOSE}) {
        EXPECT_EQ(GoToLink2Callback(0, 0, event, &g_intArray[1], 0, 0), 0);
        EXPECT_EQ(GoToLinkCallback(0, 0, event, &g_intArray[1], 0, 0), 0);
        EXPECT_EQ(SpellRingCallback(0, 0, event, nullptr, 0, 0), 0);
    }
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_EQ(g_lastPopup, -1);
}

TEST_F(SpellWindowTest, StaleIndexIsRefusedAndItsSlotFreedAtOnce)
{
    AddSpell(1, "Kept");
    const int live = CountLivePanels();
    for (int stale : {1, 5, MAX_SPELLS - 1}) {
        EXPECT_EQ(
            GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[static_cast<std::size_t>(stale) + 1], 0, 0),
            -1);
        EXPECT_EQ(g_numPopups, 0) << stale;
        EXPECT_EQ(OpenPopups(), 0);
        EXPECT_EQ(g_lastPopup, -1);
        EXPECT_EQ(CountLivePanels(), live) << "the loaded panel is discarded";
    }
    EXPECT_TRUE(Dialogs().messages.empty());
    EXPECT_GT(OpenSpell(0), 0) << "a valid spell still opens";
}

// ---- The spell list ----------------------------------------------------------------------

TEST_F(SpellWindowTest, SpellListOpensTheCurrentRowAndRefusesAStaleOne)
{
    AddSpell(1, "Alpha");
    AddSpell(2, "Beta");
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    ASSERT_GT(mainPanel_, 0);

    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(g_numPopups, 0) << "an empty list opens nothing";

    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Alpha", 0);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Beta", 1);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Gone", 7);  // from a larger file, since replaced
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 1);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    ASSERT_EQ(g_numPopups, 2) << "the same spell opens twice";
    const int first = g_popupHandles[1];
    const int second = g_popupHandles[2];
    EXPECT_EQ(Text(first, SPELLPANEL_NAME), "Beta");
    EXPECT_EQ(Text(second, SPELLPANEL_NAME), "Beta");
    EXPECT_EQ(PanelAttr(first, ATTR_LEFT) + 20, PanelAttr(second, ATTR_LEFT));
    EXPECT_EQ(PanelAttr(first, ATTR_TOP) + 20, PanelAttr(second, ATTR_TOP));

    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 2);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), -1);
    EXPECT_EQ(g_numPopups, 2);
    EXPECT_EQ(g_popupHandles[3], -1) << "the refused panel's slot is free again";
}

TEST_F(SpellWindowTest, FullTableOfPopupsRefusesListAndLinksWithTheMessage)
{
    AddSpell(1, "Many");
    while (g_numPopups < MAX_POPUPS) OpenSpell(0);
    const int live = CountLivePanels();
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Many", 0);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), -1);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[1], 0, 0), -1);
    ASSERT_EQ(Dialogs().messages.size(), 2u);
    for (const RecordedMessage& message : Dialogs().messages) {
        EXPECT_EQ(message.title, "Error");
        EXPECT_EQ(message.text,
                  "Too many spell popups are already open - you must close one before opening another");
    }
    EXPECT_EQ(CountLivePanels(), live + 1) << "only the main panel was added";
}

}  // namespace
