#include "popup/spell_share.h"

#include "data/spell.h"
#include "popup/spell_text.h"

namespace {

struct SharedSpell {
    SpellPanelContent content;
    LevelSetting level;
};

SharedWindows<SharedSpell>& SharedSpells()
{
    static SharedWindows<SharedSpell> windows;
    return windows;
}

// Writes the spell window's spell, or nothing for a window not kept.
std::function<void(TextFormat, std::string&)> SpellWriter(int panel)
{
    const SharedSpell* shared = SharedSpells().Find(panel);
    if (!shared) return {};
    return [shared](TextFormat format, std::string& text) {
        WriteSpellText(shared->content, shared->level, format, text);
    };
}

}  // namespace

bool IsOpenPopup(int panel)
{
    for (const int handle : g_popupHandles) {
        if (handle == panel) return true;
    }
    return false;
}

void ShareSpellWindow(int panel, const SpellPanelContent& content, LevelSetting level)
{
    SharedSpells().Keep(panel) = {content, level};
}

int SpellCopyCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2)
{
    (void)callbackData, (void)eventData1, (void)eventData2;
    return CopyCallbackFor(panel, control, event, false, SpellWriter(panel));
}

int SpellCopyMenuCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2)
{
    (void)callbackData, (void)eventData1, (void)eventData2;
    return CopyCallbackFor(panel, control, event, true, SpellWriter(panel));
}
