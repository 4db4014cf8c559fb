// The spell detail window shows what BuildSpellPanelContent computed, file
// texts literally; its links, the linked spell button and the spell list
// open the right spell, and stale indexes open nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QWindow>
#include <string>
#include <vector>

#include "app/main_uir.h"
#include "list/search_callbacks.h"
#include "popup/spell_panel.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kWeaponProc = 85;  // links the spell whose id is in the slot's base
constexpr int kFirstRow = SPELLPANEL_EFFECTS_FRAME + 1;

class SpellWindowTest : public PopupTest {
protected:
    // The controls PopulateSpellPopup made, of one kind, in the order made.
    static std::vector<toolkit::Control*> Made(int panel, toolkit::Kind kind)
    {
        std::vector<toolkit::Control*> controls;
        for (int id = kFirstRow; toolkit::Control* c = toolkit::FindControl(panel, id); ++id)
            if (c->kind == kind) controls.push_back(c);
        return controls;
    }
    static const QLabel* Label(int panel, int control)
    {
        return qobject_cast<const QLabel*>(toolkit::FindControl(panel, control)->widget.data());
    }
    static std::string Title(int panel)  // as the window system shows it
    {
        return toolkit::FindPanel(panel)->window->windowHandle()->title().toStdString();
    }
};

// At every text size: captions and "Link" buttons stay clear of each other.
TEST_F(SpellWindowTest, ShowsWhatTheContentBuilderComputedAtEveryTextSize)
{
    SpellStruct& spell = AddSpell(321, "Aegis of Tests");
    spell.reagentId = {0, 10015, -1, 0};
    spell.reagentCount = {9, 3, 9, 9};
    spell.classLevel[CLASS_MNK] = 4;
    CopyText(spell.message2, "Someone glows.");
    spell.linkedSpell = 20;
    SetSlot(spell, 0, kHitpoints, 5);
    SetSlot(spell, 2, kWeaponProc, 20);  // a link
    SetSlot(spell, 5, kWeaponProc, 77);  // no spell 77: no link
    AddSpell(20, "Proc target").linkedSpell = 77;
    SpellStruct& rows = AddSpell(30, "Twelve rows, instant");
    SpellStruct& links = AddSpell(40, "Twelve links");
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        SetSlot(rows, k, kHitpoints, k);
        SetSlot(links, k, kWeaponProc, 20);
    }
    rows.duration = 0;
    AddSpell(50, "No duration, no rows").duration = 0;

    struct Case {
        const char* name;
        int index, rows, links;
        bool linkedSpell, stacking;
    };
    const Case cases[] = {
        {"texts, rows, a link, the linked spell", 0, 3, 1, true, true},
        {"no row, a linked spell not loaded", 1, 0, 0, false, true},
        {"twelve rows, instant", 2, 12, 0, false, false},
        {"twelve links", 3, 12, 12, false, true},
        {"no duration, no rows", 4, 0, 0, false, true},
    };
    const QFont normal = QApplication::font();
    for (int pixels : {0, 16, 20}) {  // 0: the toolkit's default
        QFont font = normal;
        if (pixels > 0) font.setPixelSize(pixels);
        QApplication::setFont(font);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", text size " + std::to_string(pixels));
            const int panel = OpenSpell(c.index);
            SpellPanelContent content;
            ASSERT_EQ(BuildSpellPanelContent(c.index, content), 0);
            for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
                EXPECT_EQ(Text(panel, SpellPanelTextCtrl(PanelText(text))),
                          content.texts[static_cast<std::size_t>(text)].data())
                    << kPanelTextFields[static_cast<std::size_t>(text)];
            }
            int linkIndex = -5;
            GetCtrlVal(panel, SPELLPANEL_LINK_INDEX, &linkIndex);
            EXPECT_EQ(linkIndex, content.linkedSpellIndex);
            EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), c.linkedSpell ? 1 : 0);
            EXPECT_EQ(Title(panel), std::string(content.texts[PANEL_TEXT_NAME].data()) + " - Spell");

            const auto fields = Made(panel, toolkit::Kind::String);
            const auto buttons = Made(panel, toolkit::Kind::Button);
            ASSERT_EQ(content.rowCount, c.rows);
            ASSERT_EQ(fields.size(), static_cast<std::size_t>(c.rows));
            ASSERT_EQ(buttons.size(), static_cast<std::size_t>(c.links + (c.stacking ? 1 : 0)));
            std::size_t button = 0;
            for (std::size_t r = 0; r < fields.size(); ++r) {
                const EffectRowContent& row = content.rows[r];
                EXPECT_EQ(Text(panel, fields[r]->id), row.text.data());
                EXPECT_EQ(fields[r]->label->text().toStdString(), row.label.data());
                EXPECT_EQ(PlaceOf(panel, fields[r]->id, row.field), PlaceOf(row.field));
                EXPECT_EQ(Attr(panel, fields[r]->id, ATTR_LABEL_COLOR), ROW_LABEL_COLOR);
                if (row.linkIndex < 0) continue;
                const toolkit::Control* link = buttons[button++];
                const QRect field = fields[r]->widget->geometry();
                const QRect caption = fields[r]->label->geometry();
                const QRect place = link->widget->geometry();
                EXPECT_FALSE(place.intersects(caption)) << r;
                EXPECT_LT(caption.right(), field.left()) << r;
                EXPECT_GE(place.left(), 10) << "inside the effects frame";
                EXPECT_LE(std::abs(place.center().y() - field.center().y()), 1) << r;
                EXPECT_LE(std::abs(caption.center().y() - field.center().y()), 1) << r;
                EXPECT_EQ(link->callback, &GoToLink2Callback);
                EXPECT_EQ(link->callbackData, &g_intArray[static_cast<std::size_t>(row.linkIndex) + 1]);
                EXPECT_EQ(Attr(panel, link->id, ATTR_CMD_BUTTON_COLOR), LINK_BUTTON_COLOR);
            }
            EXPECT_EQ(button, static_cast<std::size_t>(c.links));
            if (c.stacking) {
                EXPECT_EQ(buttons.back()->callback, &StackingCallback);
                EXPECT_EQ(buttons.back()->callbackData, &g_spellArray[static_cast<std::size_t>(c.index)]);
                EXPECT_EQ(PlaceOf(panel, buttons.back()->id, content.stacking), PlaceOf(content.stacking));
                EXPECT_EQ(Attr(panel, buttons.back()->id, ATTR_CMD_BUTTON_COLOR), STACKING_BUTTON_COLOR);
            }
            EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), content.panelHeight);
            EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), content.frameHeight);
            EXPECT_EQ(PanelAttr(panel, ATTR_VISIBLE), 1);
        }
        CloseAllPopups();
    }
    QApplication::setFont(normal);
}

TEST_F(SpellWindowTest, FileTextIsShownAsItStandsAndWholeInATooltipWhenCut)
{
    const std::string markup = "<b>Bold</b> &amp; <u>under</u>   [*] <img src=x>";
    std::string longName;
    while (longName.size() < 200) longName += "Very <b>Long</b>  Name ";
    AddSpell(10, markup);
    SetSlot(AddSpell(20, "Quoting"), 0, kWeaponProc, 10);  // its sentence quotes the name
    SpellStruct& cut = AddSpell(30, longName);
    cut.reagentId.fill(16505);
    cut.reagentCount.fill(1000000);
    cut.linkedSpell = 30;

    const int named = OpenSpell(0);
    const int quoting = OpenSpell(1);
    for (const QLabel* label : {Label(named, SPELLPANEL_NAME), Label(quoting, kFirstRow)}) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_NE(label->text().toStdString().find(markup), std::string::npos) << label->text().toStdString();
    }
    EXPECT_EQ(Title(named), markup + " - Spell");
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    EXPECT_EQ(Title(LastPanel()), "Stacking - " + markup);
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    char search[] = "bold";
    PopulateSpellList(mainPanel_, MAINPANEL_SPELL_LIST, search, 0);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST),
              (std::vector<std::pair<std::string, int>>{{markup, 0}}));

    const int panel = OpenSpell(2);
    for (int control : {SPELLPANEL_NAME, SPELLPANEL_COMPONENTS, SPELLPANEL_LINKED_SPELL, SPELLPANEL_ID}) {
        SCOPED_TRACE(control);
        QString shown = Label(panel, control)->toolTip();  // read as markup when it looks like markup
        if (Qt::mightBeRichText(shown)) {
            QTextDocument tip;
            tip.setHtml(shown);
            shown = tip.toPlainText();
        }
        EXPECT_EQ(shown.toStdString(), control == SPELLPANEL_ID ? "" : Text(panel, control))
            << "cut texts only";
    }
}

// A full table: a run-time "Link" to the last record and the linked spell
// button to an index above 99 (the hidden control that carries it), both
// clicked; the window with the buttons stays.
TEST_F(SpellWindowTest, LinkButtonsOpenTheirSpellsAcrossAFullTable)
{
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1, "Filler");
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "Last record");
    CopyText(g_spellArray[3000].name, "Linked");
    SetSlot(g_spellArray[0], 0, kWeaponProc, MAX_SPELLS);  // id of the last record
    g_spellArray[0].linkedSpell = 3001;

    const int origin = OpenSpell(0);
    QTest::mouseClick(Made(origin, toolkit::Kind::Button).at(0)->widget.data(), Qt::LeftButton);
    ASSERT_EQ(g_numPopups, 2);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last record");
    QTest::mouseClick(toolkit::FindControl(origin, SPELLPANEL_LINK_BUTTON)->widget, Qt::LeftButton);
    ASSERT_EQ(g_numPopups, 3);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Linked");
    EXPECT_EQ(Text(origin, SPELLPANEL_NAME), "Filler") << "the popup with the buttons stays";

    // Callback data, when set, names the target instead of the panel's index.
    EXPECT_EQ(GoToLinkCallback(origin, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, &g_intArray[MAX_SPELLS], 0, 0),
              0);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last record");
    EXPECT_EQ(GoToLinkCallback(origin, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, &g_intArray[0], 0, 0), 0);
    EXPECT_EQ(g_numPopups, 4) << "data pointing at 0 means no spell";
}

// A row or link left from a larger file is refused: its panel discarded and
// its slot free again at once, without a message. Without a target or a
// commit nothing opens.
TEST_F(SpellWindowTest, SpellListOpensTheCurrentRowAndStaleIndexesAreRefused)
{
    AddSpell(1, "Alpha");
    AddSpell(2, "Beta");
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[0], 0, 0), 0);
    for (int event : {0, 2, EVENT_KEYPRESS, EVENT_CLOSE}) {
        EXPECT_EQ(GoToLink2Callback(0, 0, event, &g_intArray[1], 0, 0), 0);
        EXPECT_EQ(GoToLinkCallback(0, 0, event, &g_intArray[1], 0, 0), 0);
        EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, event, nullptr, 0, 0), 0);
    }
    EXPECT_EQ(g_numPopups, 0) << "an empty list, no target or no commit opens nothing";

    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Alpha", 0);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Beta", 1);
    InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, "Gone", 7);
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 1);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Beta");

    const PopupState before;
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 2);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), -1);
    for (int stale : {2, 5, MAX_SPELLS - 1}) {
        EXPECT_EQ(
            GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[static_cast<std::size_t>(stale) + 1], 0, 0),
            -1);
    }
    EXPECT_EQ(PopupState(), before);
    EXPECT_TRUE(Dialogs().messages.empty());
    OpenSpell(0);
    EXPECT_EQ(g_lastPopup, 2) << "a valid spell still opens, in the next slot";
}

}  // namespace
