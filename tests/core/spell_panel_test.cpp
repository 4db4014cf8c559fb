// The detail window's content without a window: its texts, code names,
// component and class lists, the linked spell, effect rows with their link
// buttons, the stacking button and the heights.
#include "popup/spell_panel.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "test_support.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kWeaponProc = 85;  // its sentence links the spell whose id is in the base

class SpellPanel : public testsupport::SpellTableTest {
protected:
    static SpellPanelContent Build(int index)
    {
        SpellPanelContent content;
        EXPECT_EQ(BuildSpellPanelContent(index, content), 0);
        return content;
    }
    static std::string Text(const SpellPanelContent& content, PanelText which)
    {
        return content.texts[which].data();
    }
};

TEST_F(SpellPanel, TextsOfTheFields)
{
    SpellStruct& spell = AddSpell(1234, "Shield of Words");
    spell.col19 = -7;
    spell.col147 = 147;
    spell.seconds13 = 2.5;
    spell.seconds15 = 12.345;
    spell.duration = 25;
    CopyText(spell.message2, "Someone feels protected.");
    spell.timeOfDay = 2;
    spell.environment = 3;
    spell.skill = 49;
    spell.beneficial = 2;
    spell.resistType = 4;
    spell.targetType = 41;
    spell.reagentId = {10025, 13073, -1, 1350};
    spell.reagentCount = {1, 2, 3, 4};
    spell.classLevel[CLASS_MNK] = 4;
    spell.classLevel[CLASS_WAR] = 1;
    spell.classLevel[CLASS_BST] = 254;
    spell.classLevel[CLASS_CLR] = 0;
    const SpellPanelContent content = Build(0);
    const struct {
        PanelText field;
        const char* text;
    } cases[] = {
        {PANEL_TEXT_ID, "1234"},
        {PANEL_TEXT_NAME, "Shield of Words"},
        {PANEL_TEXT_COL19, "-7"},
        {PANEL_TEXT_COL147, "147"},
        {PANEL_TEXT_SECONDS13, "2.50"},
        {PANEL_TEXT_SECONDS14, "0.00"},
        {PANEL_TEXT_SECONDS15, "12.35"},
        {PANEL_TEXT_DURATION, "25 ticks (2.5 minutes)"},
        {PANEL_TEXT_MESSAGE2, "Someone feels protected."},
        {PANEL_TEXT_MESSAGE3, ""},
        {PANEL_TEXT_TIME_OF_DAY, "Night"},
        {PANEL_TEXT_ENVIRONMENT, "Unknown"},
        {PANEL_TEXT_SKILL, "Stringed"},
        {PANEL_TEXT_BENEFICIAL, "Beneficial Group"},
        {PANEL_TEXT_RESIST_TYPE, "Poison"},
        {PANEL_TEXT_TARGET_TYPE, "Group V2"},
        {PANEL_TEXT_COMPONENTS, "10025 (1), Bone Chips (2), Fresh Fish (4)"},
        {PANEL_TEXT_CLASSES, "BST(254) CLR(0) WAR(1) MNK(4) "},
        {PANEL_TEXT_LINKED_SPELL, "None"},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(content, c.field), c.text) << kPanelTextFields[c.field];
}

TEST_F(SpellPanel, CodeNamesDurationsComponentsAndClasses)
{
    const struct {
        const char* (*lookup)(int);
        int code;
        const char* text;
    } codes[] = {
        {TimeOfDayText, 0, "Any"},           {TimeOfDayText, 1, "Unknown"},
        {EnvironmentText, -1, "Any"},        {EnvironmentText, 2, "Indoor"},
        {EnvironmentText, 0, "Unknown"},     {BeneficialText, 0, "Detrimental"},
        {BeneficialText, 3, "Unknown"},      {ResistTypeText, 0, "Unresistable"},
        {ResistTypeText, 6, "Unknown"},      {SkillText, 4, "Abjuration"},
        {SkillText, 70, "Percussion"},       {SkillText, 13, "Unknown"},
        {TargetTypeText, 8, "Targetted AE"}, {TargetTypeText, 25, "AE summoned"},
        {TargetTypeText, 0, "Unknown"},      {TargetTypeText, 42, "Unknown"},
    };
    for (const auto& c : codes) EXPECT_STREQ(c.lookup(c.code), c.text) << c.code;

    const struct {
        int ticks;
        const char* text;
    } durations[] = {{0, "Instant"}, {1, "1 ticks (0.1 minutes)"}, {-5, "-5 ticks (-0.5 minutes)"}};
    for (const auto& c : durations) {
        TextField text{};
        FormatDuration(c.ticks, text);
        EXPECT_STREQ(text.data(), c.text);
    }

    SpellStruct spell{};
    TextField text{};
    spell.reagentId = {0, 10015, -1, 0};
    spell.reagentCount = {5, 2, 7, 1};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "Malachite (2)");
    spell.reagentId = {0, -1, 0, -5};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "");

    spell.classLevel.fill(CLASS_LEVEL_NONE);
    spell.classLevel[CLASS_ENC] = 300;  // 255 and above: the class does not get it
    FormatClasses(spell, text);
    EXPECT_STREQ(text.data(), "");
    spell.classLevel.fill(INT_MIN);
    FormatClasses(spell, text);
    EXPECT_EQ(std::strlen(text.data()), 15u * std::strlen("BST(-2147483648) "));
}

TEST_F(SpellPanel, LinkedSpellIsTheFirstLoadedSpellWithTheId)
{
    AddSpell(500, "Origin").linkedSpell = 700;
    AddSpell(700, "Target");
    AddSpell(700, "Same id later");
    AddSpell(501, "Missing link").linkedSpell = 999;
    AddSpell(0, "Spell with id 0");
    AddSpell(502, "Link to id 0").linkedSpell = 0;
    AddSpell(503, "No link").linkedSpell = -1;
    AddSpell(-1, "Spell with id -1");
    const struct {
        int index;
        const char* text;
        int linked;
    } cases[] = {{0, "Target", 1}, {3, "None", -1}, {5, "Spell with id 0", 4}, {6, "None", -1}};
    for (const auto& c : cases) {
        const SpellPanelContent content = Build(c.index);
        EXPECT_EQ(Text(content, PANEL_TEXT_LINKED_SPELL), c.text) << c.index;
        EXPECT_EQ(content.linkedSpellIndex, c.linked) << c.index;
        EXPECT_EQ(content.linkedSpellButton, c.linked >= 0) << c.index;
    }
}

TEST_F(SpellPanel, RowsForShownSlotsWithTheirSentencesAndLinks)
{
    int target = -1;
    SpellStruct& spell = AddSpell(10, "Rows");
    AddSpell(20, "Proc target", &target);
    SetSlot(spell, 0, kHitpoints, 10);
    SetSlot(spell, 1, 10, 0);  // effect 10 with base 0: hidden
    SetSlot(spell, 2, 10, 5);  // effect 10 with a base: shown
    SetSlot(spell, 3, kWeaponProc, 20);
    SetSlot(spell, 5, kWeaponProc, 99);  // no such spell
    const SpellPanelContent content = Build(0);
    ASSERT_EQ(content.rowCount, 4);
    const struct {
        int slot;
        const char* label;
        int link;
    } rows[] = {{0, "Slot 1:", -1}, {2, "Slot 3:", -1}, {3, "Slot 4:", target}, {5, "Slot 6:", -1}};
    for (int r = 0; r < 4; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        EXPECT_EQ(row.slot, rows[r].slot);
        EXPECT_STREQ(row.label.data(), rows[r].label);
        EXPECT_STREQ(row.text.data(), spell.effectText[static_cast<std::size_t>(rows[r].slot)].data());
        EXPECT_EQ(row.linkIndex, rows[r].link);
        if (r > 0) {
            EXPECT_EQ(row.field.top - content.rows[r - 1].field.top, 25) << "rows follow without gaps";
        }
    }
    EXPECT_STREQ(content.rows[2].text.data(), "Add Weapon Proc: 20 (Proc target)");
}

TEST_F(SpellPanel, HeightsGrowWithRowsAndShrinkWithoutTheStackingButton)
{
    const struct {
        int rows;
        int duration;
        bool stacking;
        int panelHeight;
    } cases[] = {
        {0, 10, true, 425},
        {1, 10, true, 450},
        {12, 10, true, 725},
        // An instant spell loses its button once a sentence is generated.
        {0, 0, true, 425},
        {1, 0, false, 405},
        {12, 0, false, 680},
    };
    for (const auto& c : cases) {
        InitGlobals();
        SpellStruct& spell = AddSpell(1, "Sized");
        spell.duration = c.duration;
        for (int k = 0; k < c.rows; ++k) SetSlot(spell, k, kHitpoints, 1);
        const SpellPanelContent content = Build(0);
        SCOPED_TRACE(std::to_string(c.rows) + " rows, duration " + std::to_string(c.duration));
        EXPECT_EQ(content.rowCount, c.rows);
        EXPECT_EQ(content.stackingButton, c.stacking);
        EXPECT_EQ(content.panelHeight, c.panelHeight);
        EXPECT_EQ(content.frameHeight, c.panelHeight - 350);
        if (c.stacking) {
            EXPECT_EQ(content.panelHeight - content.stacking.top, 63);
        }
    }
    // A sentence generated earlier (another window, a stacking check) counts too.
    InitGlobals();
    AddSpell(1, "Instant").isInstant = 1;
    EXPECT_FALSE(Build(0).stackingButton);
}

TEST_F(SpellPanel, OnlyLoadedIndexesAreBuiltUpToTheLastRecord)
{
    for (int i = 0; i < MAX_SPELLS; ++i) AddSpell(i + 1, i == MAX_SPELLS - 1 ? "Last" : "Filler");
    SetSlot(g_spellArray[0], 0, kWeaponProc, MAX_SPELLS);  // the id of the last record
    EXPECT_EQ(Text(Build(MAX_SPELLS - 1), PANEL_TEXT_NAME), "Last");
    EXPECT_EQ(Build(0).rows[0].linkIndex, MAX_SPELLS - 1);

    SpellPanelContent content;
    CopyText(content.texts[PANEL_TEXT_NAME], "untouched");
    for (int index : {-1, MAX_SPELLS, INT_MIN})
        EXPECT_EQ(BuildSpellPanelContent(index, content), -1) << index;
    g_numSpells = 1;
    EXPECT_EQ(BuildSpellPanelContent(1, content), -1);
    g_numSpells = -1;
    EXPECT_EQ(BuildSpellPanelContent(0, content), -1) << "after a failed load";
    EXPECT_EQ(Text(content, PANEL_TEXT_NAME), "untouched");
}

}  // namespace
