// The main, spell and stacking windows show what the core computed for them,
// file texts as plain text; their controls open the right window. The filter
// box refills the list with what the core keeps and keeps the list on a bad
// expression; the selectors write their condition; a name under "Referenced
// by:" opens its spell window.
#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QWindow>

#include "app/filter_box.h"
#include "app/main_uir.h"
#include "app/search_callbacks.h"
#include "data/spell_index.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "list/search.h"
#include "list/search_status.h"
#include "popup/referenced_by.h"
#include "popup/spell_panel.h"
#include "popup/spell_uir.h"
#include "stacking/stacking.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui_test_support.h"

namespace {

using WindowTest = MainWindowTest;

// Tab walks the box, the filter and its selectors (Add is dimmed: the
// selectors were filled for no spell), list, class and effect; Down leads
// into the list.
TEST_F(WindowTest, ListAndStatusFollowTheTypingTheSelectorsAndTheKeys)
{
    Rows classes, effects;
    for (const ClassSelectorEntry& e : kClassSelector) classes.emplace_back(e.label, e.value);
    for (const EffectSelectorEntry& e : EffectSelector()) effects.emplace_back(e.label.data(), e.value);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_CLASS), classes);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_EFFECT), effects);
    SetCtrlIndex(mainPanel_, MAINPANEL_CLASS, 0);  // ListRows moved them
    SetCtrlIndex(mainPanel_, MAINPANEL_EFFECT, 0);

    SetSlot(AddSpell(1, "Alpha Ward"), 2, 0, 5);  // Hitpoints
    g_spellArray[0].classLevel[CLASS_BRD] = 12;
    AddSpell(2, "Alpha").classLevel[CLASS_BST] = 3;
    SetSlot(AddSpell(3, "<b>Beta</b> &amp;"), 0, 0, 5);  // shown as it stands
    struct Step {
        const char* name;
        const char* keys;  // typed in the search text
        int control;       // a selector set to `value` and committed, or 0
        int value;
        const char* text;  // what the search then runs with
        int classValue, effect;
    };
    const Step steps[] = {
        {"typing", "alp", 0, 0, "alp", 0, ANY_EFFECT},
        {"effect chosen", "", MAINPANEL_EFFECT, 0, "alp", 0, 0},
        {"text erased", "\b\b\b", 0, 0, "", 0, 0},
        {"class chosen", "", MAINPANEL_CLASS, 1, "", 1, 0},
        {"nothing matches", "b", 0, 0, "b", 1, 0},
        {"erased again", "\b", 0, 0, "", 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        QTest::keyClicks(Widget(MAINPANEL_SEARCH_TEXT), s.keys);
        if (s.control) {
            SetCtrlVal(mainPanel_, s.control, s.value);
            CommitCtrl(mainPanel_, s.control);
        }
        Rows core;
        ForEachSpellRow(s.text, s.classValue, s.effect,
                        [&](const char* l, int i) { core.emplace_back(l, i); });
        EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), core);
        TextField status{};
        FormatSearchStatus(status, static_cast<int>(core.size()), 3);
        EXPECT_EQ(Text(mainPanel_, MAINPANEL_STATUS), status.data());
    }

    ASSERT_EQ(SetActiveCtrl(mainPanel_, MAINPANEL_SEARCH_TEXT), 0);
    QWidget* window = Widget(MAINPANEL_SEARCH_TEXT)->window();
    for (int next : {MAINPANEL_FILTER, MAINPANEL_FILTER_FIELD, MAINPANEL_FILTER_VALUE, MAINPANEL_SPELL_LIST,
                     MAINPANEL_CLASS, MAINPANEL_EFFECT, MAINPANEL_SEARCH}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(GetActiveCtrl(mainPanel_), next);
    }
    ASSERT_EQ(SetActiveCtrl(mainPanel_, MAINPANEL_SEARCH_TEXT), 0);
    QTest::keyClick(Widget(MAINPANEL_SEARCH_TEXT), Qt::Key_Down);
    ASSERT_EQ(GetActiveCtrl(mainPanel_), MAINPANEL_SPELL_LIST);
    QTest::keyClick(Widget(MAINPANEL_SPELL_LIST), Qt::Key_Return);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Alpha Ward");
    // A selector that cannot be read (no choice) leaves the list as it is.
    const Rows shown = ListRows(mainPanel_, MAINPANEL_SPELL_LIST);
    ClearListCtrl(mainPanel_, MAINPANEL_CLASS);
    EXPECT_EQ(SearchStringCallback(mainPanel_, MAINPANEL_SEARCH, EVENT_COMMIT, nullptr, 0, 0), -1);
    EXPECT_EQ(ListRows(mainPanel_, MAINPANEL_SPELL_LIST), shown);
}

constexpr int kHitpoints = 0, kMana = 15, kStun = 21,
              kWeaponProc = 85;                            // a proc links the spell its base names
constexpr int kFirstRow = SPELLPANEL_EFFECTS_CAPTION + 1;  // the highest id in spell.uir, + 1
constexpr int kFirstMade = STACKPANEL_LEVEL + 1;

// The controls PopulateSpellPopup made, of one kind, in the order made.
std::vector<int> Made(int panel, const std::string& kind)
{
    std::vector<int> controls;
    for (int id = kFirstRow; !ControlKind(panel, id).empty(); ++id)
        if (ControlKind(panel, id) == kind) controls.push_back(id);
    return controls;
}

// At every text size captions and "Link" buttons stay clear of each other.
TEST_F(WindowTest, SpellWindowShowsWhatTheContentBuilderComputedAtEveryTextSize)
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
            const auto* name = qobject_cast<const QLabel*>(ControlWidget(panel, SPELLPANEL_NAME));
            EXPECT_EQ(name->textFormat(), Qt::PlainText);
            EXPECT_EQ(PanelWindow(panel)->windowHandle()->title().toStdString(),
                      std::string(content.texts[PANEL_TEXT_NAME].data()) + " - Spell");
            // A text cut off by its field (the first name) shows its whole text as a tooltip.
            const QString tip = name->toolTip();
            QTextDocument rich;
            rich.setHtml(tip);
            EXPECT_EQ((Qt::mightBeRichText(tip) ? rich.toPlainText() : tip).toStdString(),
                      index == 0 ? Text(panel, SPELLPANEL_NAME) : "");
            EXPECT_EQ(Attr(panel, SPELLPANEL_LINK_BUTTON, ATTR_VISIBLE), content.linkedSpellButton ? 1 : 0);

            const auto fields = Made(panel, "string");
            const auto buttons = Made(panel, "button");
            ASSERT_EQ(fields.size(), static_cast<std::size_t>(content.rowCount));
            std::size_t button = 0;
            for (std::size_t r = 0; r < fields.size(); ++r) {
                const EffectRowContent& row = content.rows[r];
                const QLabel* label = ControlCaption(panel, fields[r]);
                EXPECT_EQ(Text(panel, fields[r]), row.text.data());
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
                EXPECT_EQ(label->text().toStdString(), row.label.data());
                EXPECT_EQ(PlaceOf(panel, fields[r], row.field), PlaceOf(row.field));
                if (row.linkIndex < 0) continue;
                const int link = buttons.at(button++);
                const QRect field = ControlWidget(panel, fields[r])->geometry();
                const QRect caption = label->geometry();
                const QRect place = ControlWidget(panel, link)->geometry();
                EXPECT_FALSE(place.intersects(caption)) << r;
                EXPECT_LT(caption.right(), field.left()) << r;
                EXPECT_GE(place.left(), 10) << "inside the effects frame";
                EXPECT_LE(std::abs(place.center().y() - field.center().y()), 1) << r;
                EXPECT_LE(std::abs(caption.center().y() - field.center().y()), 1) << r;
                EXPECT_EQ(ControlCallback(panel, link), &GoToLink2Callback);
                EXPECT_EQ(ControlCallbackData(panel, link),
                          &g_intArray[static_cast<std::size_t>(row.linkIndex) + 1]);
            }
            ASSERT_EQ(buttons.size(), button + (content.stackingButton ? 1 : 0));
            if (content.stackingButton) {
                EXPECT_EQ(ControlCallback(panel, buttons.back()), &StackingCallback);
                EXPECT_EQ(ControlCallbackData(panel, buttons.back()),
                          &g_spellArray[static_cast<std::size_t>(index)]);
                EXPECT_EQ(PlaceOf(panel, buttons.back(), content.stacking), PlaceOf(content.stacking));
            }
            const auto referrers = ReferencedBy(g_referencedBy, index);
            EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT),
                      PlaceReferencedBy(content.panelHeight, static_cast<int>(referrers.size())).panelHeight);
            EXPECT_EQ(Attr(panel, SPELLPANEL_EFFECTS_FRAME, ATTR_HEIGHT), content.frameHeight);
        }
        CloseAllPopups();
    }
    QApplication::setFont(normal);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[0], 0, 0), 0);
    EXPECT_EQ(PanelWindow(LastPanel())->windowHandle()->title().toStdString(), "Stacking - " + markup);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[1], 0, 0), 0);
    EXPECT_EQ(ControlKind(LastPanel(), kFirstMade), "") << "an instant spell takes no part";
}

// A "Link" to the last record of a full table, a linked spell above index 99
// (in a hidden control) and the list's row open; once a smaller file is loaded
// neither opens, nor a "Stacking" button of a negative id or of no record.
TEST_F(WindowTest, LinksAndListRowsOpenTheirSpellAndStaleOnesNothing)
{
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1, "Filler");
    CopyText(g_spellArray[1].name, "Second");
    CopyText(g_spellArray[3000].name, "Linked");
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "Last record");
    SetSlot(g_spellArray[0], 0, kWeaponProc, MAX_SPELLS);  // id of the last record
    g_spellArray[0].linkedSpell = 3001;
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    const int origin = OpenSpell(0);
    QTest::mouseClick(ControlWidget(origin, Made(origin, "button").at(0)), Qt::LeftButton);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last record");
    QTest::mouseClick(ControlWidget(origin, SPELLPANEL_LINK_BUTTON), Qt::LeftButton);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Linked");
    const std::pair<const char*, int> rows[] = {{"Filler", 0}, {"Second", 1}, {"Last", MAX_SPELLS - 1}};
    for (const auto& [label, i] : rows) InsertListItem(mainPanel_, MAINPANEL_SPELL_LIST, -1, label, i);
    SetCtrlIndex(mainPanel_, MAINPANEL_SPELL_LIST, 1);
    EXPECT_EQ(SpellRingCallback(mainPanel_, MAINPANEL_SPELL_LIST, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Second");

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

TEST_F(WindowTest, StackingWindowShowsWhatTheCheckComputedOnItsCanvas)
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
    ASSERT_EQ(CommitCtrl(spellPanel, Made(spellPanel, "button").back()), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is off";
    const int panel = LastPanel();
    int id = kFirstMade;
    // The next control made: drawn by the canvas, no widget (48,000 lines stay cheap).
    auto expect = [&](const char* label, const char* text, const PanelRect& r, void* data = nullptr) {
        std::string caption;
        QRect captionPlace;
        ASSERT_TRUE(PaintedCaption(panel, id, caption, captionPlace)) << id;
        EXPECT_EQ(caption, label);
        EXPECT_EQ(Text(panel, id), text);
        EXPECT_EQ(ControlCallbackData(panel, id), data);
        Place at = PlaceOf(panel, id, r);
        if (data) at[0] = r.top;  // a link stands centred on its line instead
        EXPECT_EQ(at, PlaceOf(r)) << id;
        ++id;
    };
    int lines = 0;
    const int shownSlots = ForEachStackingSlot(
        0,
        [&](const StackingSlot& s) {
            EXPECT_EQ(s.header, Text(spellPanel, kFirstRow + s.slot)) << "the spell window's sentence";
            expect(s.label.data(), s.header, s.headerField);
            if (s.rowCount == 0) expect("", kNoStackingConflicts, s.noConflictField);
            EXPECT_EQ(Attr(panel, GetDecorationVal(s.slot + 1), ATTR_VISIBLE), 1);
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
    EXPECT_EQ(ControlKind(panel, id), "") << "nothing else made";
    EXPECT_EQ(Attr(panel, GetDecorationVal(11), ATTR_VISIBLE), 0) << "the slot not taking part";
    const int resource = LoadPanel(0, STACKING_UIR, STACKPANEL);
    EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), PanelAttr(resource, ATTR_HEIGHT)) << "it scrolls instead";
    DiscardPanel(resource);
    const int last = GetDecorationVal(NUM_EFFECT_SLOTS);
    EXPECT_GE(PanelCanvas(panel)->minimumHeight(),
              Attr(panel, last, ATTR_TOP) + Attr(panel, last, ATTR_HEIGHT));

    ASSERT_EQ(ControlCallbackData(panel, kFirstMade + 3), &g_intArray[MAX_SPELLS]);
    EXPECT_EQ(CommitCtrl(panel, kFirstMade + 3), 0) << "the largest value's link";
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "Last");
}

// Each spell and stacking window says which level setting its sentences were
// made at, and keeps saying it after the setting changes.
TEST_F(WindowTest, SpellAndStackingWindowsSayTheLevelSettingTheyWereMadeAt)
{
    SetSlot(AddSpell(1, "Given"), 0, kMana, 5);
    SetSlot(AddSpell(2, "Other"), 0, kMana, 7);
    g_levelEnable = 1;
    g_displayLevel = 40;
    const int atForty = OpenSpell(0);
    ASSERT_EQ(CommitCtrl(atForty, Made(atForty, "button").back()), 0);
    const int stackingAtForty = LastPanel();
    g_levelEnable = 0;
    EXPECT_EQ(Text(atForty, SPELLPANEL_EFFECTS_CAPTION), "Effects (values at level 40)");
    EXPECT_EQ(Text(stackingAtForty, STACKPANEL_LEVEL), "Effects (values at level 40)");
}

// ---- The filter box and "Referenced by:" ----------------------------------

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

TEST_F(FindTest, ReferencedByListsTheSpellsThatLinkHere)
{
    AddSpell(10, "Target");
    SetSlot(AddSpell(11, "Proc One"), 0, kWeaponProc, 10);
    AddSpell(12, "Linker").linkedSpell = 10;
    AddSpell(13, "Alone");
    const int target = OpenSpell(0);
    EXPECT_EQ(Attr(target, SPELLPANEL_REFERENCED_BY, ATTR_VISIBLE), 1);
    EXPECT_EQ(ListRows(target, SPELLPANEL_REFERENCED_BY), (Rows{{"Proc One", 1}, {"Linker", 2}}));
    EXPECT_EQ(Attr(OpenSpell(3), SPELLPANEL_REFERENCED_BY, ATTR_VISIBLE), 0);
}

}  // namespace
