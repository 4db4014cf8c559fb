// The captions the detail window shows beside its fixed texts, spelt as
// spell.uir spells them, and the order the window shows those texts in.
#pragma once

#include <array>
#include <string_view>

#include "popup/spell_panel.h"

// The caption of each fixed text, in PanelText order.
inline constexpr std::array<const char*, PANEL_TEXT_COUNT> kPanelCaptions = {
    "Id:",        "Name:",          "Column 19:",     "Column 9:",
    "Duration:",  "Column 13 (s):", "Column 14 (s):", "Column 15 (s):",
    "Column 10:", "Time of day:",   "Environment:",   "Linked spell:",
    "Message 1:", "Message 2:",     "Message 3:",     "Column 18:",
    "Column 11:", "Components:",    "Classes:",       "Skill:",
    "Kind:",      "Resist type:",   "Target:",        "Column 147:",
};

// The caption above the effect rows; each row's own is its "Slot %d:" label.
inline constexpr const char* kEffectsCaption = "Effects";

// The fixed texts as the window shows them, row by row, left to right.
inline constexpr std::array<PanelText, PANEL_TEXT_COUNT> kPanelReadingOrder = {
    PANEL_TEXT_NAME,        PANEL_TEXT_ID,          PANEL_TEXT_COL9,         PANEL_TEXT_DURATION,
    PANEL_TEXT_COL10,       PANEL_TEXT_SECONDS13,   PANEL_TEXT_COL11,        PANEL_TEXT_SECONDS14,
    PANEL_TEXT_COL18,       PANEL_TEXT_SECONDS15,   PANEL_TEXT_COL19,        PANEL_TEXT_TIME_OF_DAY,
    PANEL_TEXT_COL147,      PANEL_TEXT_ENVIRONMENT, PANEL_TEXT_BENEFICIAL,   PANEL_TEXT_SKILL,
    PANEL_TEXT_TARGET_TYPE, PANEL_TEXT_RESIST_TYPE, PANEL_TEXT_LINKED_SPELL, PANEL_TEXT_COMPONENTS,
    PANEL_TEXT_CLASSES,     PANEL_TEXT_MESSAGE1,    PANEL_TEXT_MESSAGE2,     PANEL_TEXT_MESSAGE3,
};

// A caption without its closing colon, as a column of fields shows it
// ("Duration" for "Duration:").
constexpr std::string_view CaptionName(std::string_view caption)
{
    return caption.ends_with(':') ? caption.substr(0, caption.size() - 1) : caption;
}
