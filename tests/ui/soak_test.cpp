// A long headless session on the 4000-spell sample: searches with random
// texts and classes, spell and stacking windows opened and closed at random,
// links followed, level settings changed, always within the 50-popup limit,
// and all of it through the windows' own callbacks. Resident memory is
// reported before and after; it must not grow beyond noise.
//
// RIVIZUZI_SOAK_SEARCHES sets the number of searches (default 1000), for a
// longer run:  RIVIZUZI_SOAK_SEARCHES=20000 ./rivizuzi_ui_tests --gtest_filter='Soak*'
#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QPixmapCache>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_uir.h"
#include "core/temp_dir.h"
#include "data/spell.h"
#include "list/search.h"
#include "popup/popup_callbacks.h"
#include "popup/spell_uir.h"
#include "sample/sample_gen.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

// Resident memory of this process in kB, from /proc/self/status.
long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Bytes the allocator has handed out and not got back.
long HeapInUseKilobytes()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

int SearchCount()
{
    const char* text = std::getenv("RIVIZUZI_SOAK_SEARCHES");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 1000;
}

int OpenPopups()
{
    int open = 0;
    for (int handle : g_popupHandles) open += handle != -1;
    return open;
}

// Controls of a panel whose commit runs `callback`.
std::vector<int> ControlsWith(int panel, CtrlCallbackPtr callback)
{
    std::vector<int> ids;
    if (const toolkit::Panel* p = toolkit::FindPanel(panel)) {
        for (const toolkit::Control& c : p->controls) {
            if (c.id > 0 && c.callback == callback) ids.push_back(c.id);
        }
    }
    return ids;
}

class SoakTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        livePanels_ = CountLivePanels();
        main_ = LoadMainPanel();
        ASSERT_GT(main_, 0);
        const std::string path = (dir_.path() / "spells_us.txt").string();
        ASSERT_TRUE(WriteSampleSpellFile({.lines = MAX_SPELLS, .seed = 1}, path.c_str()));
        ParseSpells(main_, path.c_str());
        ASSERT_EQ(g_numSpells, MAX_SPELLS);
    }

    void TearDown() override
    {
        CommitCtrl(main_, MAINPANEL_CLOSE_ALL);
        if (main_ > 0) DiscardPanel(main_);
        Settle();
        EXPECT_EQ(CountLivePanels(), livePanels_) << "every window is discarded";
    }

    // What the event loop does between two user actions: deliver the posted
    // events (repaints, layout and polish requests) and delete what was
    // discarded from inside a callback.
    static void Settle()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T>
    T Pick(const std::vector<T>& items)
    {
        return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random_)];
    }

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // A search text: part of a loaded name in either case, a few letters,
    // nothing, or bytes of any kind.
    std::string SearchText()
    {
        const int kind = Below(10);
        if (kind < 4) {
            const std::string name = g_spellArray[static_cast<std::size_t>(Below(g_numSpells))].name.data();
            if (name.empty()) return name;
            const std::size_t start = static_cast<std::size_t>(Below(static_cast<int>(name.size())));
            std::string part = name.substr(start, static_cast<std::size_t>(1 + Below(4)));
            for (char& c : part) {
                if (Below(2) && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            }
            return part;
        }
        std::string text;
        const int length = kind == 9 ? 0 : 1 + Below(3);
        for (int i = 0; i < length; ++i) {
            text += kind < 8 ? static_cast<char>('a' + Below(26)) : static_cast<char>(1 + Below(255));
        }
        return text;
    }

    // One of the class selector's values (the ring offers no others).
    int ClassValue()
    {
        return kClassSelector[static_cast<std::size_t>(Below(NUM_CLASS_SELECTOR_VALUES))].value;
    }

    void Search()
    {
        ASSERT_EQ(SetCtrlVal(main_, MAINPANEL_SEARCH_TEXT, SearchText().c_str()), 0);
        ASSERT_EQ(SetCtrlVal(main_, MAINPANEL_CLASS, ClassValue()), 0);
        ASSERT_EQ(CommitCtrl(main_, MAINPANEL_SEARCH), 0);
        ASSERT_EQ(GetNumListItems(main_, MAINPANEL_SPELL_LIST, &rows_), 0);
        ASSERT_LE(rows_, MAX_SPELLS);
    }

    // Opens one window the way the user would: a list row, a "Link" button
    // of an open window, the linked-spell button or a "Stacking" button.
    void OpenSomething()
    {
        const int before = OpenPopups();
        ASSERT_LT(before, MAX_POPUPS);
        const int choice = Below(4);
        if (choice == 0 || before == 0) {
            if (rows_ == 0) return;
            ASSERT_EQ(SetCtrlIndex(main_, MAINPANEL_SPELL_LIST, Below(rows_)), 0);
            ASSERT_EQ(CommitCtrl(main_, MAINPANEL_SPELL_LIST), 0);
            ++opened_[0];
        } else {
            const int panel = RandomPopup();
            CtrlCallbackPtr callbacks[] = {GoToLink2Callback, GoToLinkCallback, StackingCallback};
            const std::vector<int> buttons = ControlsWith(panel, callbacks[choice - 1]);
            if (buttons.empty()) return;
            const int button = Pick(buttons);
            int visible = 1;
            GetCtrlAttribute(panel, button, ATTR_VISIBLE, &visible);
            if (!visible) return;  // the linked-spell button of a spell without a link
            ASSERT_EQ(CommitCtrl(panel, button), 0);
            ++opened_[choice];
        }
        ASSERT_EQ(OpenPopups(), before + 1);
    }

    // Closes one window: its close button, its close box, Escape, or the
    // popup manager directly.
    void CloseSomething()
    {
        const int before = OpenPopups();
        if (before == 0) return;
        const int panel = RandomPopup();
        switch (Below(3)) {
            case 0: {
                const std::vector<int> close = ControlsWith(panel, ExitPopupCallback);
                ASSERT_FALSE(close.empty());
                ASSERT_EQ(CommitCtrl(panel, close.front()), 0);
                break;
            }
            case 1:
                ASSERT_EQ(SpellPanelCallback(panel, EVENT_CLOSE, nullptr, 0, 0), 0);
                break;
            default:
                ASSERT_EQ(ExitPopupFunction(panel), 0);
                break;
        }
        ASSERT_EQ(OpenPopups(), before - 1);
    }

    void ChangeLevelDisplay()
    {
        ASSERT_EQ(SetCtrlVal(main_, MAINPANEL_LEVEL_ENABLE, Below(2)), 0);
        ASSERT_EQ(CommitCtrl(main_, MAINPANEL_LEVEL_ENABLE), 0);
        ASSERT_EQ(SetCtrlVal(main_, MAINPANEL_LEVEL, 1 + Below(MAX_LEVEL)), 0);
        ASSERT_EQ(CommitCtrl(main_, MAINPANEL_LEVEL), 0);
        ASSERT_TRUE(g_displayLevel >= 1 && g_displayLevel <= MAX_LEVEL);
    }

    int RandomPopup()
    {
        std::vector<int> open;
        for (int handle : g_popupHandles) {
            if (handle != -1) open.push_back(handle);
        }
        return Pick(open);
    }

    // One search followed by a few window actions.
    void Step()
    {
        ASSERT_NO_FATAL_FAILURE(Search());
        for (int action = Below(4); action > 0; --action) {
            if (OpenPopups() >= MAX_POPUPS || Below(3) == 0) {
                ASSERT_NO_FATAL_FAILURE(CloseSomething());
            } else {
                ASSERT_NO_FATAL_FAILURE(OpenSomething());
            }
        }
        if (Below(50) == 0) {
            ASSERT_NO_FATAL_FAILURE(ChangeLevelDisplay());
        }
        if (Below(100) == 0) {
            ASSERT_EQ(CommitCtrl(main_, MAINPANEL_CLOSE_ALL), 0);
            ASSERT_EQ(OpenPopups(), 0);
        }
        Settle();
    }

    TempDir dir_;
    int livePanels_ = 0;
    int main_ = -1;
    int rows_ = 0;
    int opened_[4] = {};
    std::mt19937 random_{20240607};
};

// Memory figures taken with every popup closed.
struct MemoryFigures {
    long residentKb;
    long heapKb;
};

TEST_F(SoakTest, SearchesAndWindowsWithinThePopupLimitKeepMemoryFlat)
{
    // With every popup closed: drop the style's pixmap cache (bounded, but
    // it fills with the variety of buttons drawn) and hand the allocator's
    // free pages back, so that the figures show what is really held.
    auto measure = [this] {
        EXPECT_EQ(CommitCtrl(main_, MAINPANEL_CLOSE_ALL), 0);
        Settle();
        QPixmapCache::clear();
        ::malloc_trim(0);
        return MemoryFigures{ResidentKilobytes(), HeapInUseKilobytes()};
    };
    // Warm up first: fonts, glyph caches and the allocator's arenas settle
    // during the first windows.
    for (int i = 0; i < 100; ++i) ASSERT_NO_FATAL_FAILURE(Step());
    const MemoryFigures start = measure();
    const int livePanels = CountLivePanels();

    const int searches = SearchCount();
    for (int i = 0; i < searches; ++i) ASSERT_NO_FATAL_FAILURE(Step());
    const MemoryFigures end = measure();

    EXPECT_EQ(CountLivePanels(), livePanels) << "no window outlives its popup slot";
    EXPECT_TRUE(Dialogs().messages.empty()) << Dialogs().messages.front().text;
    // The session did reach every kind of window.
    EXPECT_GT(opened_[1], 0) << "links followed";
    EXPECT_GT(opened_[3], 0) << "stacking windows opened";

    std::printf(
        "soak: %d searches; opened %d from the list, %d by links, %d by linked-spell buttons, "
        "%d stacking windows; VmRSS %ld kB at the start, %ld kB at the end (%+ld kB); "
        "heap in use %ld kB, %ld kB (%+ld kB)\n",
        searches, opened_[0], opened_[1], opened_[2], opened_[3], start.residentKb, end.residentKb,
        end.residentKb - start.residentKb, start.heapKb, end.heapKb, end.heapKb - start.heapKb);
    RecordProperty("vmrss_start_kb", static_cast<int>(start.residentKb));
    RecordProperty("vmrss_end_kb", static_cast<int>(end.residentKb));
}

}  // namespace
