// A long headless session on the 4000-spell sample, all through the windows'
// own callbacks: random searches, spell and stacking windows opened from the
// list, by links and by "Stacking" buttons, closed by their button, their
// close box or the popup manager, within the 50-popup limit. It checks that
// every window goes with its popup slot and reports resident memory and heap
// before and after; judging the figures is left to the reader (they depend on
// the machine). RIVIZUZI_SOAK_SEARCHES sets the length (default 1000).
#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QPixmapCache>
#include <cstdio>
#include <fstream>
#include <random>

#include "app/app.h"
#include "app/main_uir.h"
#include "list/search.h"
#include "popup/popup_callbacks.h"
#include "sample/sample_gen.h"
#include "stacking/stacking_callbacks.h"
#include "test_support.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

std::mt19937 g_random{20240607};
int Below(int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(g_random);
}
int Pick(const std::vector<int>& items)  // 0 when there is none
{
    return items.empty() ? 0 : items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
}

std::vector<int> OpenPopups()
{
    std::vector<int> open;
    for (int handle : g_popupHandles)
        if (handle != -1) open.push_back(handle);
    return open;
}

// The shown controls of a panel whose commit runs `callback`.
std::vector<int> ControlsWith(int panel, CtrlCallbackPtr callback)
{
    std::vector<int> ids;
    for (const toolkit::Control& c : toolkit::FindPanel(panel)->controls) {
        int visible = 0;
        GetCtrlAttribute(panel, c.id, ATTR_VISIBLE, &visible);
        if (c.id > 0 && c.callback == callback && visible) ids.push_back(c.id);
    }
    return ids;
}

// Memory with every popup closed, the style's pixmap cache dropped and free
// pages handed back: what the program really holds.
void Report(const char* when, int main)
{
    CommitCtrl(main, MAINPANEL_CLOSE_ALL);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPixmapCache::clear();
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line) && line.rfind("VmRSS:", 0) != 0) {
    }
    std::printf("soak %s: %s, heap in use %zu kB\n", when, line.c_str(),
                (::mallinfo2().uordblks + ::mallinfo2().hblkhd) / 1024);
}

TEST(Soak, SearchesAndWindowsKeepEveryWindowWithItsSlot)
{
    const int livePanels = CountLivePanels();
    InitGlobals();
    const int main = LoadMainPanel();
    ASSERT_GT(main, 0);
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "spells_us.txt").string();
    ASSERT_TRUE(WriteSampleSpellFile({.lines = MAX_SPELLS, .seed = 1}, path.c_str()));
    ParseSpells(main, path.c_str());
    ASSERT_EQ(g_numSpells, MAX_SPELLS);
    const int windows = CountLivePanels();  // the main window and its wait panel

    const char* length = std::getenv("RIVIZUZI_SOAK_SEARCHES");
    const int searches = length && std::atoi(length) > 0 ? std::atoi(length) : 1000;
    const CtrlCallbackPtr openers[] = {GoToLink2Callback, GoToLinkCallback, StackingCallback};
    int done[5] = {};  // closed; opened from the list, by links, by linked-spell buttons, stacking
    for (int step = 0; step < searches + 100; ++step) {
        if (step == 100) Report("after warming up", main);  // fonts and caches settle first
        // A search: the start of a loaded name, or a few bytes of any kind.
        const auto [spell, count] = std::pair{Below(MAX_SPELLS), static_cast<std::size_t>(Below(4))};
        const std::string text = Below(2) ? std::string(g_spellArray[spell].name.data()).substr(0, count)
                                          : std::string(count, static_cast<char>(1 + Below(255)));
        SetCtrlVal(main, MAINPANEL_SEARCH_TEXT, text.c_str());
        SetCtrlVal(main, MAINPANEL_CLASS, kClassSelector[Below(NUM_CLASS_SELECTOR_VALUES)].value);
        ASSERT_EQ(CommitCtrl(main, MAINPANEL_SEARCH), 0);
        int rows = 0;
        GetNumListItems(main, MAINPANEL_SPELL_LIST, &rows);
        for (int action = Below(4); action > 0; --action) {
            const std::vector<int> open = OpenPopups();
            const int popup = Pick(open), way = popup ? Below(4) : 0;
            const bool close = popup && (open.size() == MAX_POPUPS || Below(3) == 0);
            int result = -1;
            if (close) {  // by its button, its close box or the popup manager
                result = way == 0   ? CommitCtrl(popup, Pick(ControlsWith(popup, ExitPopupCallback)))
                         : way == 1 ? SpellPanelCallback(popup, EVENT_CLOSE, nullptr, 0, 0)
                                    : ExitPopupFunction(popup);
            } else if (way == 0) {
                if (rows == 0) continue;
                SetCtrlIndex(main, MAINPANEL_SPELL_LIST, Below(rows));
                result = CommitCtrl(main, MAINPANEL_SPELL_LIST);
            } else if (const int button = Pick(ControlsWith(popup, openers[way - 1]))) {
                result = CommitCtrl(popup, button);
            } else {
                continue;  // nothing of that kind to open
            }
            ASSERT_EQ(result, 0);
            ASSERT_EQ(OpenPopups().size(), close ? open.size() - 1 : open.size() + 1);
            ++done[close ? 0 : 1 + way];
        }
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(CountLivePanels(), windows + static_cast<int>(OpenPopups().size()))
            << "no window outlives its popup slot";
    }
    Report("at the end", main);
    std::printf(
        "soak: %d searches; %d windows closed, opened %d from the list, %d by links, %d by linked-spell "
        "buttons, %d stacking\n",
        searches, done[0], done[1], done[2], done[3], done[4]);
    EXPECT_TRUE(Dialogs().messages.empty()) << Dialogs().messages.front().text;
    DiscardPanel(main);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CountLivePanels(), livePanels);
}

}  // namespace
