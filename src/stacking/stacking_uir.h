// Panel and controls of stacking.uir, the stacking check window.
#pragma once

#include <array>

#include "data/spell.h"
#include "ui/resource_check.h"

inline constexpr const char* STACKING_UIR = "stacking.uir";

inline constexpr int STACKPANEL = 1;        // panel callback SpellPanelCallback
inline constexpr int STACKPANEL_CLOSE = 1;  // ExitPopupCallback
// The frames of effect slots 1 to 12 (hidden until the slot is shown), on
// the scrolling canvas: ids STACKPANEL_FRAME_1 .. STACKPANEL_FRAME_1 + 11.
inline constexpr int STACKPANEL_FRAME_1 = 2;
inline constexpr int STACKPANEL_COPY = 14;       // StackingCopyCallback, Ctrl+Shift+C
inline constexpr int STACKPANEL_COPY_MENU = 15;  // StackingCopyMenuCallback
// "Effects (values over levels)": the level setting the listed sentences were
// made at.
inline constexpr int STACKPANEL_LEVEL = 16;

// The frame control of effect slot number n (1 to 12), or -1 for any other n.
constexpr int GetDecorationVal(int n)
{
    return n >= 1 && n <= NUM_EFFECT_SLOTS ? STACKPANEL_FRAME_1 + n - 1 : -1;
}

inline constexpr std::array kStackingUirControls = [] {
    std::array<ExpectedControl, 4 + NUM_EFFECT_SLOTS> controls{};
    controls[0] = {STACKPANEL, STACKPANEL_CLOSE, "button"};
    controls[1 + NUM_EFFECT_SLOTS] = {STACKPANEL, STACKPANEL_COPY, "button"};
    controls[2 + NUM_EFFECT_SLOTS] = {STACKPANEL, STACKPANEL_COPY_MENU, "button"};
    controls[3 + NUM_EFFECT_SLOTS] = {STACKPANEL, STACKPANEL_LEVEL, "message"};
    for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n) {
        controls[static_cast<std::size_t>(n)] = {STACKPANEL, GetDecorationVal(n), "frame"};
    }
    return controls;
}();
