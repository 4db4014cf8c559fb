// The detail window's content without a window: fixed texts, code tables,
// component and class lists, the linked spell, effect rows with their
// buttons, and the heights of panel and frame.
#include "popup/spell_panel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/spell.h"

// The exporter's panel object is checked here against the same content; the
// exporter's sources belong to its executable, so the one file is built in.
#include "../../tools/export/export_panel.cpp"

namespace {

constexpr int kWeaponProc = 85;  // an effect whose sentence links the spell id in its base
constexpr int kHitpoints = 0;

class SpellPanelTest : public testing::Test {
protected:
    void SetUp() override { InitGlobals(); }

    // A loaded spell with a duration, every slot unused and no class.
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

    static SpellPanelContent Build(int index)
    {
        SpellPanelContent content;
        EXPECT_EQ(BuildSpellPanelContent(index, content), 0);
        return content;
    }

    static std::string Text(const SpellPanelContent& content, PanelText which)
    {
        return content.texts[static_cast<std::size_t>(which)].data();
    }
};

// ---- Fixed texts ---------------------------------------------------------------

TEST_F(SpellPanelTest, NumbersTimesAndMessagesUseTheirFormats)
{
    SpellStruct& spell = AddSpell(1234, "Shield of Words");
    spell.col19 = -7;
    spell.col9 = 9;
    spell.col10 = 10;
    spell.col11 = 11;
    spell.col18 = 18;
    spell.col147 = 147;
    spell.seconds13 = 2.5;
    spell.seconds14 = 0.0;
    spell.seconds15 = 12.345;
    spell.duration = 25;
    CopyText(spell.message1, "You feel protected.");
    CopyText(spell.message2, "Someone feels protected.");
    SpellPanelContent content = Build(0);

    EXPECT_EQ(Text(content, PANEL_TEXT_ID), "1234");
    EXPECT_EQ(Text(content, PANEL_TEXT_NAME), "Shield of Words");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL19), "-7");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL9), "9");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL10), "10");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL11), "11");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL18), "18");
    EXPECT_EQ(Text(content, PANEL_TEXT_COL147), "147");
    EXPECT_EQ(Text(content, PANEL_TEXT_SECONDS13), "2.50");
    EXPECT_EQ(Text(content, PANEL_TEXT_SECONDS14), "0.00");
    EXPECT_EQ(Text(content, PANEL_TEXT_SECONDS15), "12.35");
    EXPECT_EQ(Text(content, PANEL_TEXT_DURATION), "25 ticks (2.5 minutes)");
    EXPECT_EQ(Text(content, PANEL_TEXT_MESSAGE1), "You feel protected.");
    EXPECT_EQ(Text(content, PANEL_TEXT_MESSAGE2), "Someone feels protected.");
    EXPECT_EQ(Text(content, PANEL_TEXT_MESSAGE3), "");
}

TEST_F(SpellPanelTest, DurationIsInstantOnlyAtZero)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Instant"},
        {1, "1 ticks (0.1 minutes)"},
        {25, "25 ticks (2.5 minutes)"},
        {-5, "-5 ticks (-0.5 minutes)"},
    };
    for (const auto& [ticks, expected] : cases) {
        TextField text{};
        FormatDuration(ticks, text);
        EXPECT_STREQ(text.data(), expected.c_str()) << ticks;
    }
}

TEST_F(SpellPanelTest, LongestNameFillsItsFieldWhole)
{
    std::string longName(SPELL_FIELD_CHARS - 1, 'n');
    AddSpell(1, longName.c_str());
    EXPECT_EQ(Text(Build(0), PANEL_TEXT_NAME), longName);
}

// ---- Code tables -----------------------------------------------------------------

struct CodeCase {
    const char* table;
    const char* (*lookup)(int);
    int code;
    const char* text;
};

TEST_F(SpellPanelTest, EveryCodeTableNamesItsCodesAndCallsTheRestUnknown)
{
    const CodeCase cases[] = {
        {"timeOfDay", TimeOfDayText, 0, "Any"},
        {"timeOfDay", TimeOfDayText, 2, "Night"},
        {"timeOfDay", TimeOfDayText, 1, "Unknown"},
        {"timeOfDay", TimeOfDayText, -1, "Unknown"},
        {"environment", EnvironmentText, -1, "Any"},
        {"environment", EnvironmentText, 1, "Outdoor"},
        {"environment", EnvironmentText, 2, "Indoor"},
        {"environment", EnvironmentText, 0, "Unknown"},
        {"environment", EnvironmentText, 3, "Unknown"},
        {"beneficial", BeneficialText, 0, "Detrimental"},
        {"beneficial", BeneficialText, 1, "Beneficial"},
        {"beneficial", BeneficialText, 2, "Beneficial Group"},
        {"beneficial", BeneficialText, 3, "Unknown"},
        {"beneficial", BeneficialText, -1, "Unknown"},
        {"resistType", ResistTypeText, 0, "Unresistable"},
        {"resistType", ResistTypeText, 1, "Magic"},
        {"resistType", ResistTypeText, 2, "Fire"},
        {"resistType", ResistTypeText, 3, "Cold"},
        {"resistType", ResistTypeText, 4, "Poison"},
        {"resistType", ResistTypeText, 5, "Disease"},
        {"resistType", ResistTypeText, 6, "Unknown"},
        {"resistType", ResistTypeText, -1, "Unknown"},
        {"skill", SkillText, 4, "Abjuration"},
        {"skill", SkillText, 5, "Alteration"},
        {"skill", SkillText, 12, "Brass"},
        {"skill", SkillText, 14, "Conjuration"},
        {"skill", SkillText, 18, "Divination"},
        {"skill", SkillText, 24, "Evocation"},
        {"skill", SkillText, 41, "Singing"},
        {"skill", SkillText, 49, "Stringed"},
        {"skill", SkillText, 54, "Wind"},
        {"skill", SkillText, 70, "Percussion"},
        {"skill", SkillText, 0, "Unknown"},
        {"skill", SkillText, 13, "Unknown"},
        {"skill", SkillText, 71, "Unknown"},
        {"targetType", TargetTypeText, 0, "Unknown"},
        {"targetType", TargetTypeText, 1, "Optional"},
        {"targetType", TargetTypeText, 3, "Group V1"},
        {"targetType", TargetTypeText, 4, "PB AE"},
        {"targetType", TargetTypeText, 5, "Single"},
        {"targetType", TargetTypeText, 6, "Self"},
        {"targetType", TargetTypeText, 8, "Targetted AE"},
        {"targetType", TargetTypeText, 9, "Animal"},
        {"targetType", TargetTypeText, 10, "Undead"},
        {"targetType", TargetTypeText, 11, "Summoned"},
        {"targetType", TargetTypeText, 13, "Lifetap"},
        {"targetType", TargetTypeText, 14, "Pet"},
        {"targetType", TargetTypeText, 15, "Corpse"},
        {"targetType", TargetTypeText, 16, "Plant"},
        {"targetType", TargetTypeText, 17, "Uber Giant"},
        {"targetType", TargetTypeText, 18, "Uber Dragon"},
        {"targetType", TargetTypeText, 20, "AE Lifetap"},
        {"targetType", TargetTypeText, 24, "AE Undead"},
        {"targetType", TargetTypeText, 25, "AE summoned"},
        {"targetType", TargetTypeText, 40, "AE Bard"},
        {"targetType", TargetTypeText, 41, "Group V2"},
        {"targetType", TargetTypeText, 2, "Unknown"},
        {"targetType", TargetTypeText, 7, "Unknown"},
        {"targetType", TargetTypeText, 12, "Unknown"},
        {"targetType", TargetTypeText, 19, "Unknown"},
        {"targetType", TargetTypeText, 21, "Unknown"},
        {"targetType", TargetTypeText, 23, "Unknown"},
        {"targetType", TargetTypeText, 26, "Unknown"},
        {"targetType", TargetTypeText, 39, "Unknown"},
        {"targetType", TargetTypeText, 42, "Unknown"},
        {"targetType", TargetTypeText, -1, "Unknown"},
    };
    for (const CodeCase& c : cases) EXPECT_STREQ(c.lookup(c.code), c.text) << c.table << " " << c.code;
}

TEST_F(SpellPanelTest, CodedFieldsShowTheirTableTexts)
{
    SpellStruct& spell = AddSpell(1, "Coded");
    spell.timeOfDay = 2;
    spell.environment = 3;
    spell.skill = 49;
    spell.beneficial = 2;
    spell.resistType = 4;
    spell.targetType = 41;
    SpellPanelContent content = Build(0);
    EXPECT_EQ(Text(content, PANEL_TEXT_TIME_OF_DAY), "Night");
    EXPECT_EQ(Text(content, PANEL_TEXT_ENVIRONMENT), "Unknown");
    EXPECT_EQ(Text(content, PANEL_TEXT_SKILL), "Stringed");
    EXPECT_EQ(Text(content, PANEL_TEXT_BENEFICIAL), "Beneficial Group");
    EXPECT_EQ(Text(content, PANEL_TEXT_RESIST_TYPE), "Poison");
    EXPECT_EQ(Text(content, PANEL_TEXT_TARGET_TYPE), "Group V2");
}

// ---- Components and classes ---------------------------------------------------------

TEST_F(SpellPanelTest, ComponentsListOnlyIdsAboveZeroJoinedByCommas)
{
    SpellStruct& spell = AddSpell(1, "Reagents");
    TextField text{};

    spell.reagentId = {0, 10015, -1, 0};
    spell.reagentCount = {5, 2, 7, 1};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "Malachite (2)") << "a single component has no separator";

    spell.reagentId = {10015, 0, 10019, 0};
    spell.reagentCount = {1, 0, 3, 0};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "Malachite (1), Bloodstone (3)");

    spell.reagentId = {10025, 13073, 16500, 1350};
    spell.reagentCount = {1, 2, 3, 4};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "10025 (1), Bone Chips (2), Silver Bar (3), Fresh Fish (4)");

    spell.reagentId = {0, -1, 0, -5};
    FormatComponents(spell, text);
    EXPECT_STREQ(text.data(), "");
    EXPECT_EQ(Text(Build(0), PANEL_TEXT_COMPONENTS), "");
}

TEST_F(SpellPanelTest, ClassesListLevelsBelow255InClassOrderWithTrailingBlanks)
{
    SpellStruct& spell = AddSpell(1, "Classes");
    TextField text{};

    FormatClasses(spell, text);
    EXPECT_STREQ(text.data(), "") << "no class gets it";

    spell.classLevel[CLASS_MNK] = 4;
    spell.classLevel[CLASS_WAR] = 1;
    FormatClasses(spell, text);
    EXPECT_STREQ(text.data(), "WAR(1) MNK(4) ");

    spell.classLevel[CLASS_BST] = 254;
    spell.classLevel[CLASS_CLR] = 0;
    spell.classLevel[CLASS_ENC] = 300;  // above 255: not a level that gets the spell
    EXPECT_EQ(Text(Build(0), PANEL_TEXT_CLASSES), "BST(254) CLR(0) WAR(1) MNK(4) ");

    for (int c = 0; c < NUM_CLASSES; ++c) spell.classLevel[static_cast<std::size_t>(c)] = 60 + c % 3;
    FormatClasses(spell, text);
    EXPECT_STREQ(text.data(),
                 "BST(60) ENC(61) NEC(62) WIZ(60) MAG(61) RNG(62) PAL(60) SHD(61) BRD(62) SHM(60) CLR(61) "
                 "DRU(62) WAR(60) ROG(61) MNK(62) ");
}

TEST_F(SpellPanelTest, ExtremeClassLevelsStillFitTheBuffer)
{
    SpellStruct& spell = AddSpell(1, "Extremes");
    spell.classLevel.fill(-2147483647 - 1);
    TextField text{};
    FormatClasses(spell, text);
    EXPECT_EQ(std::strlen(text.data()), 15u * std::strlen("BST(-2147483648) "));
    EXPECT_EQ(std::string(text.data()).substr(0, 17), "BST(-2147483648) ");
}

// ---- Linked spell -------------------------------------------------------------------

TEST_F(SpellPanelTest, LinkedSpellShowsItsNameIndexAndButton)
{
    AddSpell(500, "Origin").linkedSpell = 700;
    AddSpell(600, "Other");
    AddSpell(700, "Target");
    AddSpell(700, "Same id later");
    SpellPanelContent content = Build(0);
    EXPECT_EQ(Text(content, PANEL_TEXT_LINKED_SPELL), "Target");
    EXPECT_EQ(content.linkedSpellIndex, 2);
    EXPECT_TRUE(content.linkedSpellButton);
}

TEST_F(SpellPanelTest, MissingOrNegativeLinkedSpellShowsNone)
{
    AddSpell(500, "Missing link").linkedSpell = 999;
    AddSpell(-1, "Spell with id -1");
    AddSpell(501, "No link").linkedSpell = -1;
    AddSpell(0, "Spell with id 0");
    AddSpell(502, "Link to id 0").linkedSpell = 0;

    for (int index : {0, 2}) {
        SpellPanelContent content = Build(index);
        EXPECT_EQ(Text(content, PANEL_TEXT_LINKED_SPELL), "None") << index;
        EXPECT_EQ(content.linkedSpellIndex, -1) << index;
        EXPECT_FALSE(content.linkedSpellButton) << index;
    }
    SpellPanelContent zero = Build(4);
    EXPECT_EQ(Text(zero, PANEL_TEXT_LINKED_SPELL), "Spell with id 0") << "id 0 is an ordinary id";
    EXPECT_EQ(zero.linkedSpellIndex, 3);
}

// ---- Effect rows, buttons and heights -------------------------------------------------

TEST_F(SpellPanelTest, SkippedSlotsTakeNoRoomAndRowsKeepTheirSlotNumbers)
{
    SpellStruct& spell = AddSpell(1, "Rows");
    spell.attrib[0] = kHitpoints;
    spell.base[0] = 10;
    spell.attrib[1] = 10;  // effect 10 with base 0: not shown
    spell.base[1] = 0;
    spell.attrib[2] = 10;  // effect 10 with a base: shown
    spell.base[2] = 5;
    spell.attrib[5] = kHitpoints;
    spell.base[5] = 1;
    SpellPanelContent content = Build(0);

    ASSERT_EQ(content.rowCount, 3);
    const int slots[] = {0, 2, 5};
    for (int r = 0; r < 3; ++r) {
        const EffectRowContent& row = content.rows[static_cast<std::size_t>(r)];
        EXPECT_EQ(row.slot, slots[r]);
        EXPECT_EQ(std::string(row.label.data()), "Slot " + std::to_string(slots[r] + 1) + ":");
        EXPECT_EQ(row.field.top, 355 + 25 * r);
        EXPECT_EQ(row.field.left, 80);
        EXPECT_EQ(row.field.width, 500);
        EXPECT_EQ(row.labelLeft, 45);
        EXPECT_STREQ(row.text.data(), spell.effectText[static_cast<std::size_t>(slots[r])].data())
            << "the row shows the sentence the engine cached";
        EXPECT_GT(std::strlen(row.text.data()), 0u);
        EXPECT_EQ(row.linkIndex, -1);
    }
}

TEST_F(SpellPanelTest, RowLinkButtonsPointAtLoadedSpellsOnly)
{
    int origin = -1;
    SpellStruct& spell = AddSpell(10, "Procs", &origin);
    int target = -1;
    AddSpell(20, "Proc target", &target);
    spell.attrib[3] = kWeaponProc;
    spell.base[3] = 20;
    spell.attrib[4] = kWeaponProc;
    spell.base[4] = 99;  // no such spell
    SpellPanelContent content = Build(origin);

    ASSERT_EQ(content.rowCount, 2);
    const EffectRowContent& linked = content.rows[0];
    EXPECT_EQ(linked.linkIndex, target);
    EXPECT_EQ(linked.linkButton.top, 355 + 2);
    EXPECT_EQ(linked.linkButton.left, 15);
    EXPECT_EQ(linked.linkButton.width, 20);
    EXPECT_EQ(linked.linkButton.height, 8);
    EXPECT_EQ(content.rows[1].linkIndex, -1);
}

TEST_F(SpellPanelTest, HeightsGrowWithRowsAndShrinkWithoutStackingButton)
{
    for (int n = 0; n <= NUM_EFFECT_SLOTS; ++n) {
        for (int duration : {10, 0}) {
            InitGlobals();
            SpellStruct& spell = AddSpell(1, "Sized");
            spell.duration = duration;
            for (int k = 0; k < n; ++k) spell.attrib[static_cast<std::size_t>(k)] = kHitpoints;
            SpellPanelContent content = Build(0);
            SCOPED_TRACE("rows " + std::to_string(n) + " duration " + std::to_string(duration));
            EXPECT_EQ(content.rowCount, n);
            // An instant spell without a row generates no sentence, so it
            // keeps its stacking button.
            const bool stacking = duration != 0 || n == 0;
            EXPECT_EQ(content.stackingButton, stacking);
            if (stacking) {
                EXPECT_EQ(content.panelHeight, 425 + 25 * n);
                EXPECT_EQ(content.frameHeight, 75 + 25 * n);
                EXPECT_EQ(content.stacking.top, 362 + 25 * n);
                EXPECT_EQ(content.stacking.left, 265);
                EXPECT_EQ(content.stacking.width, 70);
                EXPECT_EQ(content.stacking.height, 30);
            } else {
                EXPECT_EQ(content.panelHeight, 380 + 25 * n);
                EXPECT_EQ(content.frameHeight, 30 + 25 * n);
                EXPECT_EQ(spell.isInstant, 1);
            }
        }
    }
}

TEST_F(SpellPanelTest, EarlierSentencesOfAnInstantSpellRemoveTheStackingButton)
{
    SpellStruct& spell = AddSpell(1, "Instant, no rows");
    spell.duration = 0;
    spell.isInstant = 1;  // an earlier panel or stacking check generated its sentences
    SpellPanelContent content = Build(0);
    EXPECT_FALSE(content.stackingButton);
    EXPECT_EQ(content.panelHeight, 380);
    EXPECT_EQ(content.frameHeight, 30);
}

TEST_F(SpellPanelTest, AllTwelveSlotsMakeA725PixelPanel)
{
    SpellStruct& spell = AddSpell(1, "Full");
    spell.attrib.fill(kHitpoints);
    SpellPanelContent content = Build(0);
    EXPECT_EQ(content.rowCount, 12);
    EXPECT_EQ(content.rows[11].field.top, 630);
    EXPECT_EQ(content.panelHeight, 725);
    EXPECT_EQ(content.frameHeight, 375);
}

TEST_F(SpellPanelTest, IndexOutsideTheLoadedSpellsIsRefusedWithoutTouchingContent)
{
    AddSpell(1, "Only");
    SpellPanelContent content;
    CopyText(content.texts[PANEL_TEXT_NAME], "untouched");
    EXPECT_EQ(BuildSpellPanelContent(1, content), -1);
    EXPECT_EQ(BuildSpellPanelContent(-1, content), -1);
    EXPECT_EQ(BuildSpellPanelContent(MAX_SPELLS, content), -1);
    g_numSpells = -1;
    EXPECT_EQ(BuildSpellPanelContent(0, content), -1) << "after a failed load";
    EXPECT_EQ(Text(content, PANEL_TEXT_NAME), "untouched");
}

TEST_F(SpellPanelTest, LastRecordOfAFullTableIsShown)
{
    for (int i = 0; i < MAX_SPELLS; ++i) AddSpell(i + 1, "Filler");
    CopyText(g_spellArray[MAX_SPELLS - 1].name, "Last");
    g_spellArray[0].attrib[0] = kWeaponProc;
    g_spellArray[0].base[0] = MAX_SPELLS;  // the id of the last record
    EXPECT_EQ(Text(Build(MAX_SPELLS - 1), PANEL_TEXT_NAME), "Last");
    EXPECT_EQ(Build(0).rows[0].linkIndex, MAX_SPELLS - 1);
}

// ---- The exporter's panel object ---------------------------------------------------------

TEST_F(SpellPanelTest, ExportedPanelHoldsTheShownTextsUnderTheirFieldNames)
{
    SpellStruct& spell = AddSpell(42, "Caf\xE9 Ward");  // a Latin-1 name
    spell.duration = 0;
    spell.reagentId[0] = 10015;
    spell.reagentCount[0] = 2;
    spell.classLevel[CLASS_WAR] = 1;
    spell.linkedSpell = 43;
    spell.attrib[0] = kHitpoints;
    AddSpell(43, "Linked");

    const nlohmann::ordered_json panel = BuildPanelJson(0);
    std::vector<std::string> keys;
    for (const auto& item : panel.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "id",          "name",        "col19",      "col9",       "duration",
                        "seconds13",   "seconds14",   "seconds15",  "col10",      "timeOfDay",
                        "environment", "linkedSpell", "message1",   "message2",   "message3",
                        "col18",       "col11",       "reagentId",  "classLevel", "skill",
                        "beneficial",  "resistType",  "targetType", "col147",     "linkedSpellIndex",
                        "stacking"}));
    EXPECT_EQ(panel["id"], "42");
    EXPECT_EQ(panel["name"], "Caf\xC3\xA9 Ward");
    EXPECT_EQ(panel["duration"], "Instant");
    EXPECT_EQ(panel["seconds13"], "0.00");
    EXPECT_EQ(panel["environment"], "Unknown");
    EXPECT_EQ(panel["linkedSpell"], "Linked");
    EXPECT_EQ(panel["reagentId"], "Malachite (2)");
    EXPECT_EQ(panel["classLevel"], "WAR(1) ");
    EXPECT_EQ(panel["targetType"], "Unknown");
    EXPECT_EQ(panel["linkedSpellIndex"], 1);
    EXPECT_EQ(panel["stacking"], false) << "an instant spell with a row";

    EXPECT_EQ(BuildPanelJson(0)["stacking"], false);
    EXPECT_TRUE(BuildPanelJson(2).is_null());
    EXPECT_EQ(BuildPanelJson(1)["linkedSpellIndex"], -1);
    EXPECT_EQ(BuildPanelJson(1)["stacking"], true);
}

}  // namespace
