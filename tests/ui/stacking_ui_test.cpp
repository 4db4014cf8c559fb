// The stacking window shows what the stacking check computed, drawn on its
// scrolling canvas; its links, its Close button and Escape work; it opens
// only for a loaded record.
#include <gtest/gtest.h>

#include <QScrollArea>
#include <QTest>
#include <string>
#include <vector>

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
constexpr int kFirstMade = STACKPANEL_FRAME_1 + NUM_EFFECT_SLOTS;

// A control made at run time: caption, text, place and callback data.
struct Shown {
    std::string label, text;
    Place place;
    void* data;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << '"' << s.label << "\" \"" << s.text << "\" at " << s.place[0] << ',' << s.place[1];
}

class StackingWindowTest : public PopupTest {
protected:
    void TearDown() override
    {
        PopupTest::TearDown();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is off";
    }

    // Every control made at run time, in the order made: drawn by the canvas,
    // no widget of its own (which is what makes 48,000 lines cheap).
    static std::vector<Shown> Made(int panel)
    {
        std::vector<Shown> shown;
        const toolkit::Panel* p = toolkit::FindPanel(panel);
        for (int id = kFirstMade; toolkit::Control* c = toolkit::FindControl(panel, id); ++id) {
            EXPECT_TRUE(c->painted >= 0 && !c->widget) << id;
            if (c->painted < 0) continue;
            shown.push_back({p->painted[static_cast<std::size_t>(c->painted)].label.toStdString(),
                             Text(panel, id), PlaceOf(panel, id, StackRect{0, 0, 0, 1}), c->callbackData});
        }
        return shown;
    }
};

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
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) SetSlot(other, k, kMana, i), SetSlot(full, k, kMana, 5);
    }
    SpellPanelContent content;  // caches the sentences the headers show, as a spell window does
    for (int index : {0, 3, 4}) ASSERT_EQ(BuildSpellPanelContent(index, content), 0);
    const int loaded = LoadPanel(0, STACKING_UIR, STACKPANEL);
    const int resourceHeight = PanelAttr(loaded, ATTR_HEIGHT);
    DiscardPanel(loaded);

    struct Case {
        const char* name;
        int index, slotCount, lineCount;
        bool byEscape;  // closed with Escape, else with its Close button
    };
    const Case cases[] = {
        {"two slots, one without conflicts", 0, 2, 2, false},
        {"instant spell", 3, 0, 0, true},
        {"twelve slots of twenty lines", 4, 12, 240, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(
            StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[static_cast<std::size_t>(c.index)], 0, 0), 0);
        const int panel = LastPanel();
        std::vector<Shown> expected;
        int visibleFrames[NUM_EFFECT_SLOTS + 1] = {};
        auto field = [](const char* label, const char* text, const StackRect& r) {
            return Shown{label, text, PlaceOf(r), nullptr};
        };
        int lines = 0;
        const int shownSlots = ForEachStackingSlot(
            c.index,
            [&](const StackingSlot& s) {
                EXPECT_NE(*s.header, '\0') << "the header shows the sentence the spell window made";
                expected.push_back(field(s.label.data(), s.header, s.headerField));
                if (s.rowCount == 0) expected.push_back(field("", kNoStackingConflicts, s.noConflictField));
                const int frame = GetDecorationVal(s.slot + 1);
                visibleFrames[s.slot + 1] = 1;
                EXPECT_EQ(PlaceOf(panel, frame, s.frame), PlaceOf(s.frame));
                EXPECT_EQ(Attr(panel, frame, ATTR_FRAME_COLOR), STACK_FRAME_COLOR);
            },
            [&](const StackingSlot&, const StackingLine& l) {
                ++lines;
                expected.push_back(field("", l.name, l.nameField));
                expected.push_back(field("", l.text, l.textField));
                expected.push_back({"Link", "Link", PlaceOf(l.linkButton),
                                    &g_intArray[static_cast<std::size_t>(l.index) + 1]});
            });
        EXPECT_EQ(shownSlots, c.slotCount);
        EXPECT_EQ(lines, c.lineCount);
        std::vector<Shown> shown = Made(panel);
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = shown.size(); i-- > 0;) {
            if (shown[i].data) {  // a link, centred on its line's name field
                const Place& name = shown[i - 2].place;
                EXPECT_LE(std::abs(2 * shown[i].place[0] + shown[i].place[3] - 2 * name[0] - name[3]), 1);
                shown[i].place[0] = expected[i].place[0];
            } else {
                shown[i].place[3] = 0;  // the toolkit's default height
            }
            EXPECT_EQ(shown[i], expected[i]) << "control " << i;
        }
        for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n)
            EXPECT_EQ(Attr(panel, GetDecorationVal(n), ATTR_VISIBLE), visibleFrames[n]) << "frame " << n;

        // The window keeps its size and scrolls to the last line.
        EXPECT_EQ(PanelAttr(panel, ATTR_HEIGHT), resourceHeight);
        const toolkit::Panel* p = toolkit::FindPanel(panel);
        const int last = GetDecorationVal(c.slotCount);
        if (c.slotCount > 0) {
            EXPECT_GE(p->canvas->minimumHeight(),
                      Attr(panel, last, ATTR_TOP) + Attr(panel, last, ATTR_HEIGHT));
        }
        EXPECT_NE(qobject_cast<QScrollArea*>(p->canvas->parentWidget()->parentWidget()), nullptr);
        if (c.byEscape) {
            QTest::keyClick(p->window, Qt::Key_Escape);
        } else {
            EXPECT_EQ(CommitCtrl(panel, STACKPANEL_CLOSE), 0);
        }
        EXPECT_EQ(g_numPopups, 0);
    }
}

// From a spell window's "Stacking" button to the last record of a full
// table: the header is the sentence the spell window showed, the listed
// spell's sentence is made at the level chosen since.
TEST_F(StackingWindowTest, TheStackingButtonAndALinkAtIndex3999OpenTheRightWindows)
{
    while (g_numSpells < MAX_SPELLS) AddSpell(g_numSpells + 1, "Filler");
    for (const int index : {0, MAX_SPELLS - 1}) {
        g_spellArray[static_cast<std::size_t>(index)].classLevel[CLASS_WAR] = 5;
        SetSlot(g_spellArray[static_cast<std::size_t>(index)], 0, kHitpoints, 10, 0, 102);
    }
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "The Last One");
    const int spellPanel = OpenSpell(0);
    int stackingButton = -1;
    for (int id = SPELLPANEL_EFFECTS_FRAME + 1; toolkit::Control* c = toolkit::FindControl(spellPanel, id);
         ++id)
        if (c->callback == &StackingCallback) stackingButton = id;

    g_levelEnable = 1;
    g_displayLevel = 40;
    ASSERT_EQ(CommitCtrl(spellPanel, stackingButton), 0);
    const int panel = LastPanel();
    const std::vector<Shown> shown = Made(panel);
    ASSERT_EQ(shown.size(), 4u) << "header, name, sentence, link";
    EXPECT_EQ(shown[0].text, Text(spellPanel, SPELLPANEL_EFFECTS_FRAME + 1));
    EXPECT_EQ(shown[1].text, "The Last One");
    EXPECT_NE(shown[2].text.find("(L40)"), std::string::npos) << shown[2].text;
    ASSERT_EQ(CommitCtrl(panel, kFirstMade + 3), 0);
    EXPECT_EQ(Text(LastPanel(), SPELLPANEL_NAME), "The Last One");
}

TEST_F(StackingWindowTest, NothingOpensForANegativeIdNoRecordOrAnotherEvent)
{
    SpellStruct& given = AddSpell(-5, "Negative");
    SetSlot(given, 0, kArmorClass, 5);
    const PopupState before;
    int notARecord = 0;
    for (void* data :
         {static_cast<void*>(&given), static_cast<void*>(nullptr), static_cast<void*>(&notARecord),
          static_cast<void*>(&g_spellArray[1])})  // beyond the loaded table
        EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, data, 0, 0), -1);
    given.id = 5;
    EXPECT_EQ(StackingCallback(0, 0, EVENT_KEYPRESS, &given, 0, 0), 0);
    EXPECT_EQ(PopupState(), before);
    EXPECT_TRUE(Dialogs().messages.empty());
}

}  // namespace
