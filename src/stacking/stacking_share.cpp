#include "stacking/stacking_share.h"

#include "popup/spell_share.h"

namespace {

SharedWindows<StackingText>& SharedChecks()
{
    static SharedWindows<StackingText> windows;
    return windows;
}

// Writes the stacking window's check, or nothing for a window not kept.
std::function<void(TextFormat, std::string&)> CheckWriter(int panel)
{
    const StackingText* check = SharedChecks().Find(panel);
    if (!check) return {};
    return [check](TextFormat format, std::string& text) { check->Write(format, text); };
}

}  // namespace

StackingText& ShareStackingWindow(int panel)
{
    return SharedChecks().Keep(panel);
}

int StackingCopyCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2)
{
    (void)callbackData, (void)eventData1, (void)eventData2;
    return CopyCallbackFor(panel, control, event, false, CheckWriter(panel));
}

int StackingCopyMenuCallback(int panel, int control, int event, void* callbackData, int eventData1,
                             int eventData2)
{
    (void)callbackData, (void)eventData1, (void)eventData2;
    return CopyCallbackFor(panel, control, event, true, CheckWriter(panel));
}
