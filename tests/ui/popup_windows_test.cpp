// The spell and stacking windows show what the core computed for them, file
// texts as plain text; their links, the linked spell button and the spell
// list open the right spell, and stale indexes open nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QWindow>

#include "app/main_uir.h"
#include "list/search_callbacks.h"
#include "popup/spell_panel.h"
#include "popup/spell_uir.h"
#include "stacking/stacking.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kMana = 15;
constexpr int kWeaponProc = 85;  // links the spell whose id is in the slot's base
constexpr int kFirstRow = SPELLPANEL_EFFECTS_FRAME + 1;
constexpr int kFirstMade = STACKPANEL_FRAME_1 + NUM_EFFECT_SLOTS;

// The controls PopulateSpellPopup made, of one kind, in the order made.
std::vector<toolkit::Control*> Made(int panel, toolkit::Kind kind)
{
    std::vector<toolkit::Control*> controls;
    for (int id = kFirstRow; toolkit::Control* c = toolkit::FindControl(panel, id); ++id)
        if (c->kind == kind) controls.push_back(c);
    return controls;
}

const QLabel* Label(int panel, int control)
{
    return qobject_cast<const QLabel*>(toolkit::FindControl(panel, control)->widget.data());
}

std::string Title(int panel)  // as the window system shows it
{
    return toolkit::FindPanel(panel)->window->windowHandle()->title().toStdString();
}

std::string ToolTip(int panel, int control)  // as it reads: markup only when it looks like markup
{
    const QString tip = Label(panel, control)->toolTip();
    QTextDocument rich;
    rich.setHtml(tip);
    return (Qt::mightBeRichText(tip) ? rich.toPlainText() : tip).toStdString();
}

using SpellWindowTest = PopupTest;
using StackingWindowTest = PopupTest;

// At every text size captions and "Link" buttons stay clear of each other.
TEST_F(SpellWindowTest, ShowsWhatTheContentBuilderComputedAtEveryTextSize)
{
    const std::string markup = "<b>Bold</b> &amp; <u>under</u>   [*] <img src=x>";
    SpellStruct& spell = AddSpell(321, markup);
    spell.linkedSpell = 40;
    SetSlot(spell, 0, kHitpoints, 5);
    SetSlot(spell, 2, kWeaponProc, 40);                 // a link
    SetSlot(spell, 5, kWeaponProc, 77);                 // no spell 77: no link
    SpellStruct& links = AddSpell(40, "Twelve links");  // instant, each quoting the first name
    links.duration = 0;
    links.linkedSpell = 77;  // not loaded
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) SetSlot(links, k, kWeaponProc, 321);

    const QFont normal = QApplication::font();
    for (int pixels : {0, 16, 20}) {  // 0: the toolkit's default
        QFont font = normal;
        if (pixels > 0) font.setPixelSize(pixels);
        QApplication::setFont(font);
        for (int index : {0, 1}) {
            SCOPED_TRACE("spell " + std::to_string(index) + ", text size " + std::to_string(pixels));
            const int panel = OpenSpell(index);
            SpellPanelContent content;
            ASSERT_EQ(BuildSpellPanelContent(index, content), 0);
            for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
                EXPECT_EQ(Text(panel, SpellPanelTextCtrl(PanelText(text))),
                          content.texts[static_cast<std::size_t>(text)].data())
                    << kPanelTextFields[static_cast<std::size_t>(text)];
            }
            EXPECT_EQ(Label(panel, SPELLPANEL_NAME)->textFormat(), Qt::PlainText);
            EXPECT_EQ(Title(panel), std::string(content.texts[PANEL_TEXT_NAME].data()) + " - Spell");
            // A text cut off by its field (the first name) shows its whole text as a tooltip.
            EXPECT_EQ(ToolTip(panel, SPELLPANEL_NAME), index == 0 ? Text(panel, SPELLPANEL_NAME) : "");
            EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), content.linkedSpellButton ? 1 : 0);

            const auto fields = Made(panel, toolkit::Kind::String);
            const auto buttons = Made(panel, toolkit::Kind::Button);
            ASSERT_EQ(fields.size(), static_cast<std::size_t>(content.rowCount));
            std::size_t button = 0;
            for (std::size_t r = 0; r < fields.size(); ++r) {
                const EffectRowContent& row = content.rows[r];
                EXPECT_EQ(Text(panel, fields[r]->id), row.text.data());
                EXPECT_EQ(fields[r]->label->text().toStdString(), row.label.data());
                EXPECT_EQ(PlaceOf(panel, fields[r]->id, row.field), PlaceOf(row.field));
                if (row.linkIndex < 0) continue;
                ASSERT_LT(button, buttons.size());
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
            }
            ASSERT_EQ(buttons.size(), button + (content.stackingButton ? 1 : 0));
            if (content.stackingButton) {
                EXPECT_EQ(buttons.back()->callback, &StackingCallback);
                EXPECT_EQ(buttons.back()->callbackData, &g_spellArray[static_cast<std::size_t>(index)]);
                EXPECT_EQ(PlaceOf(panel, buttons.back()->id, content.stacking), PlaceOf(content.stacking));
            }
            EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), content.panelHeight);
            EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), content.frameHeight);
        }
        CloseAllPopups();
    }
    QApplication::setFont(normal);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    EXPECT_EQ(Title(LastPanel()), "Stacking - " + markup);
}

// A full table: a "Link" to the last record and the linked spell button to
// an index above 99 (carried by a hidden control) open their spells, as does
// the list's current row. Once a smaller file is loaded, a row or linked
// spell left from the larger one opens nothing, as does a "Stacking" button
// of a spell with a negative id or of no record, and nothing is said.
TEST_F(SpellWindowTest, LinksAndListRowsOpenTheirSpellAndStaleOnesNothing)
{
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1, "Filler");
    CopyText(g_spellArray[1].name, "Second");
    CopyText(g_spellArray[3000].name, "Linked");
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "Last record");
    SetSlot(g_spellArray[0], 0, kWeaponProc, MAX_SPELLS);  // id of the last record
    g_spellArray[0].linkedSpell = 3001;
    mainPanel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0)
        << "no row";
    const int origin = OpenSpell(0);
    QTest::mouseClick(Made(origin, toolkit::Kind::Button).at(0)->widget.data(), Qt::LeftButton);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last record");
    QTest::mouseClick(toolkit::FindControl(origin, SPELLPANEL_LINK_BUTTON)->widget, Qt::LeftButton);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Linked");
    const std::pair<const char*, int> rows[] = {
        {"Filler", 0}, {"Second", 1}, {"Last record", MAX_SPELLS - 1}};
    for (const auto& [label, index] : rows)
        InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, label, index);
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 1);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_KEYPRESS, nullptr, 0, 0), 0);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Second");
    EXPECT_EQ(g_numPopups, 4) << "every window with the buttons stays";

    g_numSpells = 2;
    g_spellArray[1].id = -5;
    const PopupState before;
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 2);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), -1);
    EXPECT_EQ(GoToLinkCallback(origin, SPELLPANEL_LINK_BUTTON, EVENT_COMMIT, nullptr, 0, 0), -1);
    int notARecord = 0;
    for (void* data : std::initializer_list<void*>{&g_spellArray[1], &notARecord, nullptr})
        EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, data, 0, 0), -1);
    EXPECT_EQ(StackingCallback(0, 0, EVENT_KEYPRESS, &g_spellArray[0], 0, 0), 0);
    EXPECT_EQ(PopupState(), before);
    EXPECT_TRUE(Dialogs().messages.empty());
}

// Ten slots of twenty-one lines, one never taking part, one without
// conflicts; a listed spell is the last record of a full table.
TEST_F(StackingWindowTest, ShowsWhatTheCheckComputedOnItsCanvas)
{
    SpellStruct& given = AddSpell(1, "Given");
    for (int i = 0; i < 20; ++i) {
        SpellStruct& other = AddSpell(100 + i, "Other");
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) SetSlot(other, k, kMana, i), SetSlot(given, k, kMana, 5);
    }
    SetSlot(given, 10, 35, 5);  // never taking part
    SetSlot(given, 11, kHitpoints, 10);
    while (g_numSpells < MAX_SPELLS - 1) AddSpell(1000 + g_numSpells, "Filler");
    SetSlot(AddSpell(3, "Last"), 0, kMana, 30);
    const int spellPanel = OpenSpell(0);  // makes the sentences the headers show
    ASSERT_EQ(CommitCtrl(spellPanel, Made(spellPanel, toolkit::Kind::Button).back()->id), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is off";
    const int panel = LastPanel();
    const toolkit::Panel* p = toolkit::FindPanel(panel);
    int id = kFirstMade;
    // The next control made: drawn by the canvas, no widget of its own
    // (which is what makes 48,000 lines cheap).
    auto expect = [&](const char* label, const char* text, const StackRect& r, void* data = nullptr) {
        const toolkit::Control* made = toolkit::FindControl(panel, id);
        ASSERT_TRUE(made && made->painted >= 0 && !made->widget) << id;
        EXPECT_EQ(p->painted[static_cast<std::size_t>(made->painted)].label.toStdString(), label);
        EXPECT_EQ(Text(panel, id), text);
        EXPECT_EQ(made->callbackData, data);
        Place at = PlaceOf(panel, id, r);
        if (data) {  // a link, centred on its line's name field
            EXPECT_LE(std::abs(2 * at[0] + at[3] - 2 * Attr(panel, id - 2, ATTR_TOP) -
                               Attr(panel, id - 2, ATTR_HEIGHT)),
                      1);
            at[0] = r.top;
        }
        EXPECT_EQ(at, PlaceOf(r)) << id;
        ++id;
    };
    int visibleFrames[NUM_EFFECT_SLOTS + 1] = {}, lines = 0;
    const int shownSlots = ForEachStackingSlot(
        0,
        [&](const StackingSlot& s) {
            EXPECT_EQ(s.header, Text(spellPanel, kFirstRow + s.slot)) << "the spell window's sentence";
            expect(s.label.data(), s.header, s.headerField);
            if (s.rowCount == 0) expect("", kNoStackingConflicts, s.noConflictField);
            visibleFrames[s.slot + 1] = 1;
            EXPECT_EQ(PlaceOf(panel, GetDecorationVal(s.slot + 1), s.frame), PlaceOf(s.frame));
        },
        [&](const StackingSlot&, const StackingLine& l) {
            ++lines;
            expect("", l.name, l.nameField);
            expect("", l.text, l.textField);
            expect("Link", "Link", l.linkButton, &g_intArray[static_cast<std::size_t>(l.index) + 1]);
        });
    EXPECT_EQ(shownSlots, 11);
    EXPECT_EQ(lines, 201);
    EXPECT_EQ(toolkit::FindControl(panel, id), nullptr) << "nothing else made";
    for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n)
        EXPECT_EQ(Attr(panel, GetDecorationVal(n), ATTR_VISIBLE), visibleFrames[n]) << "frame " << n;
    const int resource = LoadPanel(0, STACKING_UIR, STACKPANEL);
    EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), PanelAttr(resource, ATTR_HEIGHT))
        << "the canvas scrolls instead";
    DiscardPanel(resource);
    const int last = GetDecorationVal(NUM_EFFECT_SLOTS);
    EXPECT_GE(p->canvas->minimumHeight(), Attr(panel, last, ATTR_TOP) + Attr(panel, last, ATTR_HEIGHT));

    ASSERT_EQ(toolkit::FindControl(panel, kFirstMade + 3)->callbackData, &g_intArray[MAX_SPELLS]);
    EXPECT_EQ(CommitCtrl(panel, kFirstMade + 3), 0) << "the largest value's link";
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last");
    EXPECT_EQ(CommitCtrl(panel, STACKPANEL_CLOSE), 0);
    EXPECT_EQ(g_numPopups, 2);
}

}  // namespace
