// The stacking window shows what the stacking check computed, drawn on its
// scrolling canvas; its links and its Close button and Escape work; it opens
// only for a loaded record.
#include <gtest/gtest.h>

#include <QScrollArea>
#include <QTest>
#include <string>
#include <vector>

#include "popup/popup_callbacks.h"
#include "popup/spell_panel.h"
#include "popup/spell_uir.h"
#include "stacking/stacking.h"
#include "stacking/stacking_callbacks.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kMana = 15;
constexpr int kFirstRunTimeCtrl = STACKPANEL_FRAME_1 + NUM_EFFECT_SLOTS;

// A control made at run time: what it shows and where.
struct Shown {
    std::string text;
    std::string label;
    int top, left, width, height;
    void* callbackData;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << '"' << s.label << "\" \"" << s.text << "\" " << s.top << ',' << s.left << ' ' << s.width
               << 'x' << s.height;
}

class StackingWindowTest : public PopupTest {
protected:
    void TearDown() override
    {
        PopupTest::TearDown();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is off";
    }

    static int OpenStacking(int index)
    {
        EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[static_cast<std::size_t>(index)], 0, 0),
                  0);
        return LastPanel();
    }

    // Every control made at run time, in the order it was made; a button's
    // label is its caption.
    static std::vector<Shown> RunTimeControls(int panel)
    {
        std::vector<Shown> shown;
        const toolkit::Panel* p = toolkit::FindPanel(panel);
        for (int id = kFirstRunTimeCtrl; toolkit::Control* c = toolkit::FindControl(panel, id); ++id) {
            EXPECT_TRUE(c->painted >= 0 && !c->widget) << "drawn by the canvas, no widget of its own";
            if (c->painted < 0) continue;
            const std::string label = p->painted[static_cast<std::size_t>(c->painted)].label.toStdString();
            shown.push_back({Text(panel, id), label, Attr(panel, id, ATTR_TOP), Attr(panel, id, ATTR_LEFT),
                             Attr(panel, id, ATTR_WIDTH), Attr(panel, id, ATTR_HEIGHT), c->callbackData});
        }
        return shown;
    }
};

// The window against ForEachStackingSlot: headers, the no-conflict line,
// each listed spell's name, sentence and "Link" to it, and the frames.
TEST_F(StackingWindowTest, ShowsWhatTheCheckComputedOnItsCanvas)
{
    SpellStruct& given = AddSpell(1, "Given");
    SetSlot(given, 0, kArmorClass, 5);
    SetSlot(given, 1, 35, 5);  // never taking part
    SetSlot(given, 2, kHitpoints, 10);
    SetSlot(AddSpell(2, "Small"), 0, kArmorClass, 8);
    SetSlot(AddSpell(3, "Big"), 0, kArmorClass, 30);
    SpellStruct& instant = AddSpell(4, "Instant");
    SetSlot(instant, 0, kArmorClass, 5);
    instant.duration = 0;
    SpellStruct& full = AddSpell(5, "Every slot");
    for (int i = 0; i < 20; ++i) {
        SpellStruct& other = AddSpell(100 + i, "Other");
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
            SetSlot(full, k, kMana, 5);
            SetSlot(other, k, kMana, i);
        }
    }
    SpellPanelContent content;  // caches the sentences the headers show, as a spell window does
    for (int index : {0, 3, 4}) ASSERT_EQ(BuildSpellPanelContent(index, content), 0);
    ASSERT_EQ(instant.isInstant, 1);
    const int resourceHeight = [] {
        const int loaded = LoadPanel(0, STACKING_UIR, STACKPANEL);
        const int height = PanelAttr(loaded, ATTR_HEIGHT);
        DiscardPanel(loaded);
        return height;
    }();

    struct Case {
        const char* name;
        int index;
        int slotCount;  // slots shown
        int lines;      // listed spells
        bool byEscape;  // closed with Escape, else with its Close button
    };
    const Case cases[] = {
        {"two slots, one without conflicts", 0, 2, 2, false},
        {"instant spell", 3, 0, 0, true},
        {"twelve slots of twenty lines", 4, 12, 240, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int panel = OpenStacking(c.index);
        ASSERT_GT(panel, 0);
        std::vector<Shown> expected;
        bool frames[NUM_EFFECT_SLOTS + 1] = {};
        int lines = 0;
        auto field = [](const char* label, const char* text, const StackRect& r) {
            return Shown{text, label, r.top, r.left, r.width, 0, nullptr};
        };
        const int shownSlots = ForEachStackingSlot(
            c.index,
            [&](const StackingSlot& s) {
                EXPECT_NE(*s.header, '\0') << "the header shows the sentence the spell window made";
                expected.push_back(field(s.label.data(), s.header, s.headerField));
                if (s.rowCount == 0) expected.push_back(field("", kNoStackingConflicts, s.noConflictField));
                frames[s.slot + 1] = true;
                const int frame = GetDecorationVal(s.slot + 1);
                EXPECT_EQ(Attr(panel, frame, ATTR_TOP), s.frame.top);
                EXPECT_EQ(Attr(panel, frame, ATTR_LEFT), s.frame.left);
                EXPECT_EQ(Attr(panel, frame, ATTR_WIDTH), s.frame.width);
                EXPECT_EQ(Attr(panel, frame, ATTR_HEIGHT), s.frame.height);
                EXPECT_EQ(Attr(panel, frame, ATTR_FRAME_COLOR), STACK_FRAME_COLOR);
            },
            [&](const StackingSlot&, const StackingLine& l) {
                ++lines;
                expected.push_back(field("", l.name, l.nameField));
                expected.push_back(field("", l.text, l.textField));
                const StackRect& b = l.linkButton;
                expected.push_back({"Link", "Link", 0, b.left, b.width, b.height,
                                    &g_intArray[static_cast<std::size_t>(l.index) + 1]});
            });
        EXPECT_EQ(shownSlots, c.slotCount);
        EXPECT_EQ(lines, c.lines);
        std::vector<Shown> shown = RunTimeControls(panel);
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = shown.size(); i-- > 0;) {
            if (shown[i].callbackData) {  // a link, centred on its line's name field
                const Shown& name = shown[i - 2];
                EXPECT_LE(std::abs(2 * shown[i].top + shown[i].height - 2 * name.top - name.height), 1);
                shown[i].top = 0;
            } else {
                shown[i].height = 0;  // the toolkit's default
            }
            EXPECT_EQ(shown[i], expected[i]) << "control " << i;
        }
        for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n)
            EXPECT_EQ(Attr(panel, GetDecorationVal(n), ATTR_VISIBLE), frames[n] ? 1 : 0) << "frame " << n;

        // The window keeps its size and scrolls to the last line.
        EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), resourceHeight);
        toolkit::Panel* p = toolkit::FindPanel(panel);
        const int last = GetDecorationVal(c.slotCount);
        if (c.slotCount > 0) {
            EXPECT_GE(p->canvas->minimumHeight(),
                      Attr(panel, last, ATTR_TOP) + Attr(panel, last, ATTR_HEIGHT));
        }
        EXPECT_NE(qobject_cast<QScrollArea*>(p->canvas->parentWidget()->parentWidget()), nullptr);

        if (c.byEscape) {
            QTest::keyClick(p->window, Qt::Key_Escape);
        } else {
            ASSERT_EQ(CommitCtrl(panel, STACKPANEL_CLOSE), 0);
        }
        EXPECT_EQ(g_numPopups, 0);
        EXPECT_EQ(g_lastPopup, -1);
    }
}

// From a spell window's "Stacking" button to the last record of a full
// table: the header is the sentence the spell window showed, the listed
// spells' sentences are made at the level chosen since.
TEST_F(StackingWindowTest, TheStackingButtonAndALinkAtIndex3999OpenTheRightWindows)
{
    SpellStruct& given = AddSpell(1, "Given");
    given.classLevel[CLASS_WAR] = 5;
    SetSlot(given, 0, kHitpoints, 10, 0, 102);
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1, "Filler");
    SpellStruct& last = g_spellArray[MAX_SPELLS - 1];
    CopyText(last.name, "The Last One");
    last.classLevel[CLASS_WAR] = 5;
    SetSlot(last, 0, kHitpoints, 10, 0, 102);

    const int spellPanel = OpenSpell(0);
    int stackingButton = -1;
    for (int id = SPELLPANEL_EFFECTS_FRAME + 1; toolkit::Control* c = toolkit::FindControl(spellPanel, id);
         ++id)
        if (c->callback == &StackingCallback) stackingButton = id;
    ASSERT_GT(stackingButton, 0);
    const std::string shownRow = Text(spellPanel, SPELLPANEL_EFFECTS_FRAME + 1);

    g_levelEnable = 1;
    g_displayLevel = 40;
    ASSERT_EQ(CommitCtrl(spellPanel, stackingButton), 0);
    const int panel = LastPanel();
    ASSERT_NE(panel, spellPanel);
    const std::vector<Shown> shown = RunTimeControls(panel);
    ASSERT_EQ(shown.size(), 4u) << "header, name, sentence, link";
    EXPECT_EQ(shown[0].text, shownRow);
    EXPECT_EQ(shown[1].text, "The Last One");
    EXPECT_NE(shown[2].text.find("(L40)"), std::string::npos) << shown[2].text;

    ASSERT_EQ(CommitCtrl(panel, kFirstRunTimeCtrl + 3), 0);
    EXPECT_EQ(g_numPopups, 3);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "The Last One");
}

TEST_F(StackingWindowTest, NothingOpensForANegativeIdNoRecordOrAnotherEvent)
{
    SpellStruct& given = AddSpell(-5, "Negative");
    SetSlot(given, 0, kArmorClass, 5);
    const int live = CountLivePanels();
    int notARecord = 0;
    for (void* data :
         {static_cast<void*>(&given), static_cast<void*>(nullptr), static_cast<void*>(&notARecord),
          static_cast<void*>(&g_spellArray[1])})  // beyond the loaded table
        EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, data, 0, 0), -1);
    given.id = 5;
    EXPECT_EQ(StackingCallback(0, 0, EVENT_KEYPRESS, &given, 0, 0), 0);
    EXPECT_EQ(CountLivePanels(), live);
    EXPECT_EQ(g_numPopups, 0);
    EXPECT_TRUE(Dialogs().messages.empty());
}

}  // namespace
