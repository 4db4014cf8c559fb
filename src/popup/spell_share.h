// "Copy" on a spell window (and Ctrl+Shift+C): the spell as the window shows
// it goes on the clipboard as plain text and, for rich editors, as an HTML
// table; the menu beside the button also offers it as Markdown.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "share/text_formats.h"
#include "ui/toolkit.h"

// Keeps what the spell window `panel` shows, made at the level setting
// `level`, for its "Copy".
void ShareSpellWindow(int panel, const SpellPanelContent& content, LevelSetting level);

// Commit: copies the spell as plain text and HTML.
int SpellCopyCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Commit: the menu of ways to copy the spell.
int SpellCopyMenuCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);

// True while the panel is one of the open popups (g_popupHandles).
bool IsOpenPopup(int panel);

// What each open window of a kind keeps for its "Copy", by panel. A window
// that is no longer among the open popups is forgotten when another one is
// kept.
template <typename Kept>
class SharedWindows {
public:
    Kept& Keep(int panel)
    {
        std::erase_if(windows_, [panel](const auto& entry) {
            return entry.first != panel && !IsOpenPopup(entry.first);
        });
        return windows_[panel];
    }
    const Kept* Find(int panel) const
    {
        const auto found = windows_.find(panel);
        return found == windows_.end() ? nullptr : &found->second;
    }

private:
    std::unordered_map<int, Kept> windows_;
};

// The menu beside a window's "Copy": the plain text with HTML, or Markdown.
inline const std::vector<std::string> kCopyMenu = {"Copy", "Copy as Markdown"};

// What a window's "Copy" (menu false) or the menu button beside it (menu
// true) does on commit: puts what `write(format, text)` writes on the
// clipboard as plain text with HTML, or as chosen from kCopyMenu under the
// button (plain text with HTML, or Markdown). -1 when `write` is null.
template <typename Write>
int CopyCallbackFor(int panel, int control, int event, bool menu, Write&& write)
{
    if (event != EVENT_COMMIT) return 0;
    if (!write) return -1;
    const int chosen = menu ? RunPopupMenu(panel, control, kCopyMenu) : 0;
    if (chosen < 0) return 0;
    std::string text;
    if (chosen == 1) {
        write(TextFormat::Markdown, text);
        SetClipboardText(text.c_str());
        return 0;
    }
    std::string html;
    write(TextFormat::Text, text);
    write(TextFormat::Html, html);
    SetClipboardText(text.c_str(), html.c_str());
    return 0;
}
