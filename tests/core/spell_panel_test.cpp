// The detail window's content without a window: field texts, one row per
// shown slot with its link, the stacking button, heights, the linked spell;
// the referenced-by index against what the windows link to.
#include "popup/spell_panel.h"

#include <climits>
#include <cstring>

#include "data/reader.h"
#include "data/spell_index.h"
#include "effects/effects.h"
#include "popup/referenced_by.h"
#include "sample/sample_gen.h"
#include "test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kWeaponProc = 85;  // its sentence links the spell whose id is in the base
constexpr int kSpellLimit = 139;

class SpellPanel : public testsupport::SpellTableTest {
protected:
    static SpellPanelContent Build(int index)
    {
        SpellPanelContent content;
        EXPECT_EQ(BuildSpellPanelContent(index, content), 0);
        return content;
    }
};

TEST_F(SpellPanel, EachFieldShowsItsColumnAndEachShownSlotARowWithItsLink)
{
    SpellStruct& spell = AddSpell(1234, "Shield of Words");
    spell.col19 = -7;
    spell.seconds13 = 2.5;
    spell.duration = 25;
    CopyText(spell.message2, "Someone feels protected.");
    spell.timeOfDay = 2;
    spell.environment = 3;
    spell.skill = 49;
    spell.beneficial = 2;
    spell.resistType = 4;
    spell.targetType = 41;
    spell.reagentId = {0, 13073, -1, 1350};  // 0 and below: no component
    spell.reagentCount = {1, 2, 3, 4};
    spell.classLevel[CLASS_MNK] = 4;
    spell.classLevel[CLASS_WAR] = 1;
    spell.classLevel[CLASS_BST] = 254;
    spell.classLevel[CLASS_CLR] = 0;
    spell.linkedSpell = -1;  // no link, though a spell has the id -1
    AddSpell(-1, "Minus one");
    AddSpell(20, "Proc target");
    SetSlot(spell, 0, kHitpoints, 10);
    SetSlot(spell, 1, 10, 0);  // effect 10 with base 0: hidden
    SetSlot(spell, 2, 10, 5);  // effect 10 with a base: shown
    SetSlot(spell, 3, kWeaponProc, 20);
    SetSlot(spell, 5, kWeaponProc, 99);  // no such spell
    const SpellPanelContent content = Build(0);
    const struct {
        PanelText field;
        const char* text;
    } cases[] = {
        {PANEL_TEXT_NAME, "Shield of Words"},
        {PANEL_TEXT_COL19, "-7"},
        {PANEL_TEXT_SECONDS13, "2.50"},
        {PANEL_TEXT_DURATION, "25 ticks (2.5 minutes)"},
        {PANEL_TEXT_MESSAGE2, "Someone feels protected."},
        {PANEL_TEXT_TIME_OF_DAY, "Night"},
        {PANEL_TEXT_ENVIRONMENT, "Unknown"},
        {PANEL_TEXT_SKILL, "Stringed"},
        {PANEL_TEXT_BENEFICIAL, "Beneficial Group"},
        {PANEL_TEXT_RESIST_TYPE, "Poison"},
        {PANEL_TEXT_TARGET_TYPE, "Group V2"},
        {PANEL_TEXT_COMPONENTS, "Bone Chips (2), Fresh Fish (4)"},
        {PANEL_TEXT_CLASSES, "BST(254) CLR(0) WAR(1) MNK(4) "},
        {PANEL_TEXT_LINKED_SPELL, "None"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(content.texts[c.field].data(), c.text) << kPanelTextFields[c.field];

    const struct {
        const char* label;
        const char* text;
        int link;
    } rows[] = {{"Slot 1:", "Increase Hitpoints by 10 per tick", -1},
                {"Slot 3:", "Increase Charisma by 5", -1},
                {"Slot 4:", "Add Weapon Proc: 20 (Proc target)", 2},
                {"Slot 6:", "Add Weapon Proc: 99 ()", -1}};
    ASSERT_EQ(content.rowCount, 4);
    for (int r = 0; r < 4; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        EXPECT_STREQ(row.label.data(), rows[r].label);
        EXPECT_STREQ(row.text.data(), rows[r].text);
        EXPECT_EQ(row.linkIndex, rows[r].link);
    }

    TextField text{};
    spell.classLevel.fill(INT_MIN);  // the longest class list still fits
    FormatClasses(spell, text);
    EXPECT_EQ(std::strlen(text.data()), 15u * std::strlen("BST(-2147483648) "));
}

// 259 bytes fill a field's buffer up to its terminator: nothing is cut.
TEST_F(SpellPanel, TextsThatFillTheirFieldShowWhole)
{
    const std::string full(259, 'f');
    SpellStruct& spell = AddSpell(7, full);
    CopyText(spell.message3, full.c_str());
    spell.linkedSpell = 7;  // itself
    const SpellPanelContent content = Build(0);
    for (PanelText field : {PANEL_TEXT_NAME, PANEL_TEXT_MESSAGE3, PANEL_TEXT_LINKED_SPELL})
        EXPECT_EQ(content.texts[field].data(), full) << kPanelTextFields[field];
}

TEST_F(SpellPanel, HeightsGrowWithRowsAndShrinkWithoutTheStackingButton)
{
    // A sentence generated with duration 0, now or earlier, takes the button away.
    const struct {
        int rows, duration, isInstant;
        bool stacking;
        int panelHeight, frameHeight;
    } cases[] = {{12, -1, 0, true, 725, 375},
                 {0, 0, 0, true, 425, 75},
                 {12, 0, 0, false, 680, 330},
                 {0, 10, 1, false, 380, 30}};
    for (const auto& c : cases) {
        int index = 0;
        SpellStruct& spell = AddSpell(1, "Sized", &index);
        spell.duration = c.duration;
        spell.isInstant = c.isInstant;
        for (int k = 0; k < c.rows; ++k) SetSlot(spell, k, kHitpoints, 1);
        const SpellPanelContent content = Build(index);
        EXPECT_EQ(content.stackingButton, c.stacking) << index;
        EXPECT_EQ(content.panelHeight, c.panelHeight) << index;
        EXPECT_EQ(content.frameHeight, c.frameHeight) << index;
    }
}

// ---- Referenced by ---------------------------------------------------------

class ReferencedByTest : public testsupport::SpellTableTest {
protected:
    static std::string Of(int spell)
    {
        std::string text;
        for (const int16_t referrer : ReferencedBy(g_referencedBy, spell)) {
            if (!text.empty()) text += ' ';
            text += std::to_string(referrer);
        }
        return text;
    }

    // What the detail windows link to, spell by spell: for each j, every i
    // whose window has a link to j, in table order, each once.
    static std::vector<std::string> Scan()
    {
        std::vector<std::string> expected(static_cast<std::size_t>(g_numSpells));
        std::vector<int> last(static_cast<std::size_t>(g_numSpells), -1);
        for (int i = 0; i < g_numSpells; ++i) {
            SpellPanelContent content;
            BuildSpellPanelContent(i, content);
            std::vector<int> targets{content.linkedSpellIndex};
            for (int r = 0; r < content.rowCount; ++r)
                targets.push_back(content.rows[static_cast<std::size_t>(r)].linkIndex);
            for (const int j : targets) {
                if (j < 0 || last[static_cast<std::size_t>(j)] == i) continue;
                last[static_cast<std::size_t>(j)] = i;
                std::string& text = expected[static_cast<std::size_t>(j)];
                if (!text.empty()) text += ' ';
                text += std::to_string(i);
            }
        }
        return expected;
    }
};

TEST_F(ReferencedByTest, SelfLinksRepeatedIdsAndEachReferrerOnce)
{
    AddSpell(10, "Ember").linkedSpell = 10;       // 0: links to itself
    SpellStruct& proc = AddSpell(11, "Proc");     // 1
    SetSlot(proc, 0, kWeaponProc, 10);            // to 0
    SetSlot(proc, 1, kSpellLimit, 11);            // to itself
    SetSlot(proc, 2, kSpellLimit, -10);           // to 0 again
    AddSpell(10, "Ember Twin").linkedSpell = 11;  // 2: its id finds 0, never it
    SpellStruct& lost = AddSpell(12, "Lost");     // 3
    SetSlot(lost, 0, kWeaponProc, 999);           // no such spell
    lost.linkedSpell = -1;
    SetSlot(AddSpell(13, "Plain"), 0, kHitpoints, 5);  // 4
    BuildSpellIdIndex();
    UpdateReferencedBy();

    EXPECT_EQ(Of(0), "0 1");
    EXPECT_EQ(Of(1), "1 2");
    EXPECT_EQ(Of(2), "");
    EXPECT_EQ(Of(3), "");
    EXPECT_EQ(Of(4), "");
    EXPECT_EQ(Of(5), "");
    EXPECT_EQ(Of(-1), "");
    EXPECT_EQ(g_spellArray[1].effectText[0][0], '\0');  // no sentence cached by the build
}

TEST_F(ReferencedByTest, TheSampleAgreesWithItsWindows)
{
    g_numSpells = ParseSpellText(GenerateSampleSpellFile({}), g_spellArray);
    BuildSpellIdIndex();
    UpdateReferencedBy();
    const std::vector<std::string> scan = Scan();
    int referred = 0;
    for (int j = 0; j < g_numSpells; ++j) {
        EXPECT_EQ(Of(j), scan[static_cast<std::size_t>(j)]) << j;
        referred += Of(j).empty() ? 0 : 1;
    }
    EXPECT_GT(referred, 100);
}

}  // namespace
