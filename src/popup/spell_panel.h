// What a spell's detail window shows, computed without any window: the texts
// of its fixed elements, its effect rows and the buttons beside them with
// their geometry, and the heights of the panel and of the effects frame.
// PopulateSpellPopup draws this content; the exporter prints it.
#pragma once

#include <array>

#include "data/spell.h"
#include "data/spell_table.h"
#include "effects/effects.h"
#include "popup/panel_rect.h"

// The fixed text elements of the panel, named after the record fields they
// show. The components text shows reagentId/reagentCount, the class text
// classLevel, the linked spell's name linkedSpell.
enum PanelText : int {
    PANEL_TEXT_ID,
    PANEL_TEXT_NAME,
    PANEL_TEXT_COL19,
    PANEL_TEXT_COL9,
    PANEL_TEXT_DURATION,
    PANEL_TEXT_SECONDS13,
    PANEL_TEXT_SECONDS14,
    PANEL_TEXT_SECONDS15,
    PANEL_TEXT_COL10,
    PANEL_TEXT_TIME_OF_DAY,
    PANEL_TEXT_ENVIRONMENT,
    PANEL_TEXT_LINKED_SPELL,
    PANEL_TEXT_MESSAGE1,
    PANEL_TEXT_MESSAGE2,
    PANEL_TEXT_MESSAGE3,
    PANEL_TEXT_COL18,
    PANEL_TEXT_COL11,
    PANEL_TEXT_COMPONENTS,
    PANEL_TEXT_CLASSES,
    PANEL_TEXT_SKILL,
    PANEL_TEXT_BENEFICIAL,
    PANEL_TEXT_RESIST_TYPE,
    PANEL_TEXT_TARGET_TYPE,
    PANEL_TEXT_COL147,
    PANEL_TEXT_COUNT
};

// The record field name of each fixed text, in PanelText order.
inline constexpr std::array<const char*, PANEL_TEXT_COUNT> kPanelTextFields = {
    "id",    "name",      "col19",       "col9",        "duration",   "seconds13",  "seconds14",  "seconds15",
    "col10", "timeOfDay", "environment", "linkedSpell", "message1",   "message2",   "message3",   "col18",
    "col11", "reagentId", "classLevel",  "skill",       "beneficial", "resistType", "targetType", "col147",
};

// Layout and appearance of the run-time elements.
inline constexpr int ROW_FIRST_TOP = 355;  // top of the first effect row
inline constexpr int ROW_STEP = 25;
inline constexpr int ROW_LEFT = 80;
inline constexpr int ROW_WIDTH = 500;
inline constexpr int ROW_LABEL_OFFSET = 35;  // the "Slot %d:" label stands this far left
inline constexpr int ROW_LABEL_COLOR = 0xFFFF00;
inline constexpr int ROW_TEXT_COLOR = 0xFFFFFF;
inline constexpr int LINK_BUTTON_COLOR = 0x008000;
inline constexpr int LINK_LABEL_COLOR = 0xFFFFFF;
inline constexpr int LINK_LABEL_POINTS = 8;
inline constexpr int STACKING_BUTTON_COLOR = 0x02387B;
inline constexpr int STACKING_LABEL_COLOR = 0xFFFFFF;
inline constexpr int STACKING_LABEL_POINTS = 14;
// Panel and effects frame heights with no effect row and a stacking button;
// the resource file is laid out with these.
inline constexpr int PANEL_BASE_HEIGHT = 425;
inline constexpr int FRAME_BASE_HEIGHT = 75;

struct EffectRowContent {
    int slot = 0;        // 0..11; the label shows slot + 1
    TextField label{};   // "Slot %d:"
    TextField text{};    // the effect sentence
    PanelRect field;     // the text field
    int labelLeft = 0;   // left edge of the label
    int linkIndex = -1;  // table index the row's "Link" opens, or -1 for no button
    PanelRect linkButton;
};

struct SpellPanelContent {
    std::array<TextField, PANEL_TEXT_COUNT> texts{};
    int linkedSpellIndex = -1;  // table index of the linked spell, or -1
    bool linkedSpellButton = false;
    std::array<EffectRowContent, NUM_EFFECT_SLOTS> rows{};
    int rowCount = 0;
    bool stackingButton = false;
    PanelRect stacking;
    int panelHeight = PANEL_BASE_HEIGHT;
    int frameHeight = FRAME_BASE_HEIGHT;
};

// Everything the detail window of table[index] shows at that level, as a
// freshly filled window shows it: the sentences are generated anew, and the
// stacking button is there unless the record is instant or becomes so by
// describing it (IsInstantAfterDescribing). Writes only `content`. Returns
// 0, or -1 when the index is not in the table (content untouched).
int DescribeSpellPanel(const SpellTable& table, int index, LevelSetting level, SpellPanelContent& content);

// The record's isInstant once the sentences of its shown slots have been
// generated: already set, or set now because it has no duration and at
// least one shown slot.
bool IsInstantAfterDescribing(const SpellStruct& spell);

// What the detail window of g_spellArray[index] shows at the main window's
// level setting. Like GenerateEffectString for each shown slot in slot
// order, it caches the sentences in the record and may set its isInstant.
// Returns 0, or -1 when the index is not that of a loaded spell (content
// untouched).
int BuildSpellPanelContent(int index, SpellPanelContent& content);

// Text of a code, or "Unknown" for a code without a name.
const char* TimeOfDayText(int code);
const char* EnvironmentText(int code);
const char* BeneficialText(int code);
const char* ResistTypeText(int code);
const char* SkillText(int code);
const char* TargetTypeText(int code);

// "Instant", or "%d ticks (%0.1f minutes)".
void FormatDuration(int ticks, TextField& text);
// Each component with an id above 0 as "%s (%d)", joined by ", ".
void FormatComponents(const SpellStruct& spell, TextField& text);
// "BST(%d) " and so on for every class level below 255, in ClassIndex order.
void FormatClasses(const SpellStruct& spell, TextField& text);
