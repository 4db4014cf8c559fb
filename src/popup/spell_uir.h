// Panel and controls of spell.uir, the spell detail window.
#pragma once

#include <array>

#include "popup/spell_panel.h"
#include "ui/resource_check.h"

inline constexpr const char* SPELL_UIR = "spell.uir";

inline constexpr int SPELLPANEL = 1;  // panel callback SpellPanelCallback
// The fixed texts: control id = PanelText + 1.
inline constexpr int SPELLPANEL_ID = 1;
inline constexpr int SPELLPANEL_NAME = 2;
inline constexpr int SPELLPANEL_COL19 = 3;
inline constexpr int SPELLPANEL_COL9 = 4;
inline constexpr int SPELLPANEL_DURATION = 5;
inline constexpr int SPELLPANEL_SECONDS13 = 6;
inline constexpr int SPELLPANEL_SECONDS14 = 7;
inline constexpr int SPELLPANEL_SECONDS15 = 8;
inline constexpr int SPELLPANEL_COL10 = 9;
inline constexpr int SPELLPANEL_TIME_OF_DAY = 10;
inline constexpr int SPELLPANEL_ENVIRONMENT = 11;
inline constexpr int SPELLPANEL_LINKED_SPELL = 12;
inline constexpr int SPELLPANEL_MESSAGE1 = 13;
inline constexpr int SPELLPANEL_MESSAGE2 = 14;
inline constexpr int SPELLPANEL_MESSAGE3 = 15;
inline constexpr int SPELLPANEL_COL18 = 16;
inline constexpr int SPELLPANEL_COL11 = 17;
inline constexpr int SPELLPANEL_COMPONENTS = 18;
inline constexpr int SPELLPANEL_CLASSES = 19;
inline constexpr int SPELLPANEL_SKILL = 20;
inline constexpr int SPELLPANEL_BENEFICIAL = 21;
inline constexpr int SPELLPANEL_RESIST_TYPE = 22;
inline constexpr int SPELLPANEL_TARGET_TYPE = 23;
inline constexpr int SPELLPANEL_COL147 = 24;
inline constexpr int SPELLPANEL_LINK_BUTTON = 25;  // starts hidden, GoToLinkCallback
inline constexpr int SPELLPANEL_LINK_INDEX = 26;   // hidden numeric -1..4000: linked table index
inline constexpr int SPELLPANEL_CLOSE = 27;        // ExitPopupCallback
inline constexpr int SPELLPANEL_EFFECTS_FRAME = 28;
inline constexpr int SPELLPANEL_REFERENCED_BY_CAPTION = 29;  // "Referenced by:", starts hidden
inline constexpr int SPELLPANEL_REFERENCED_BY = 30;          // list, starts hidden, SpellRingCallback
inline constexpr int SPELLPANEL_COPY = 31;                   // SpellCopyCallback, Ctrl+Shift+C
inline constexpr int SPELLPANEL_COPY_MENU = 32;              // SpellCopyMenuCallback
// "Effects (values over levels)": the level setting the rows were made at.
inline constexpr int SPELLPANEL_EFFECTS_CAPTION = 40;
// The callback of the run-time "Stacking" button, bound by name.
inline constexpr const char* kStackingCallbackName = "StackingCallback";

// The control showing each fixed text.
constexpr int SpellPanelTextCtrl(PanelText text)
{
    return static_cast<int>(text) + 1;
}
static_assert(SpellPanelTextCtrl(PANEL_TEXT_NAME) == SPELLPANEL_NAME);
static_assert(SpellPanelTextCtrl(PANEL_TEXT_COL147) == SPELLPANEL_COL147);

inline constexpr std::array kSpellUirControls = [] {
    std::array<ExpectedControl, PANEL_TEXT_COUNT + 9> controls{};
    for (int text = 0; text < PANEL_TEXT_COUNT; ++text) {
        controls[static_cast<std::size_t>(text)] = {SPELLPANEL, SpellPanelTextCtrl(PanelText(text)),
                                                    "message"};
    }
    controls[PANEL_TEXT_COUNT + 0] = {SPELLPANEL, SPELLPANEL_LINK_BUTTON, "button"};
    controls[PANEL_TEXT_COUNT + 1] = {SPELLPANEL, SPELLPANEL_LINK_INDEX, "numeric"};
    controls[PANEL_TEXT_COUNT + 2] = {SPELLPANEL, SPELLPANEL_CLOSE, "button"};
    controls[PANEL_TEXT_COUNT + 3] = {SPELLPANEL, SPELLPANEL_EFFECTS_FRAME, "frame"};
    controls[PANEL_TEXT_COUNT + 4] = {SPELLPANEL, SPELLPANEL_REFERENCED_BY_CAPTION, "message"};
    controls[PANEL_TEXT_COUNT + 5] = {SPELLPANEL, SPELLPANEL_REFERENCED_BY, "list"};
    controls[PANEL_TEXT_COUNT + 6] = {SPELLPANEL, SPELLPANEL_COPY, "button"};
    controls[PANEL_TEXT_COUNT + 7] = {SPELLPANEL, SPELLPANEL_COPY_MENU, "button"};
    controls[PANEL_TEXT_COUNT + 8] = {SPELLPANEL, SPELLPANEL_EFFECTS_CAPTION, "message"};
    return controls;
}();
