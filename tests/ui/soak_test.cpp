// Random searches on the 4000-spell sample, each opening a spell and a stacking window: no window outlives
// its popup slot; resident memory is reported, not judged. RIVIZUZI_SOAK_SEARCHES sets the length.
#include <malloc.h>

#include <QPixmapCache>
#include <random>

#include "app/main_uir.h"
#include "list/search.h"
#include "sample/sample_gen.h"
#include "stacking/stacking_callbacks.h"
#include "ui_test_support.h"

namespace {

// Resident memory with every popup closed and free pages handed back.
void Report(const char* when, int main)
{
    CommitCtrl(main, MAINPANEL_CLOSE_ALL);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPixmapCache::clear();
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) std::printf("soak %s: %s\n", when, line.c_str());
}

TEST(Soak, SearchesAndWindowsKeepEveryWindowWithItsSlot)
{
    InitGlobals();
    const int main = LoadMainPanel();
    const testsupport::TempDir dir;
    const std::string path = (dir.path() / "spells_us.txt").string();
    ASSERT_TRUE(WriteSampleSpellFile({.lines = MAX_SPELLS, .seed = 1}, path.c_str()));
    ParseSpells(main, path.c_str());
    const int windows = CountLivePanels();
    const char* length = std::getenv("RIVIZUZI_SOAK_SEARCHES");
    std::mt19937 random{20240607};
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int step = 0, rows = 0; step < 100 + (length ? std::atoi(length) : 1000); ++step) {
        if (step == 100) Report("after warming up", main);  // fonts and caches settle first
        const std::string name = g_spellArray[below(MAX_SPELLS)].name.data();
        SetCtrlVal(main, MAINPANEL_SEARCH_TEXT, name.substr(0, below(4)).c_str());
        SetCtrlVal(main, MAINPANEL_CLASS, kClassSelector[below(NUM_CLASS_SELECTOR_VALUES)].value);
        CommitCtrl(main, MAINPANEL_SEARCH);
        if (g_numPopups >= MAX_POPUPS - 2) CommitCtrl(main, MAINPANEL_CLOSE_ALL);
        if (GetNumListItems(main, MAINPANEL_SPELL_LIST, &rows) == 0 && rows > 0) {
            SetCtrlIndex(main, MAINPANEL_SPELL_LIST, below(rows));
            ASSERT_EQ(CommitCtrl(main, MAINPANEL_SPELL_LIST), 0);
        }
        StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[below(MAX_SPELLS)], 0, 0);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(CountLivePanels(), windows + g_numPopups) << "no window outlives its popup slot";
    }
    Report("at the end", main);
    EXPECT_TRUE(Dialogs().messages.empty()) << Dialogs().messages.front().text;
    DiscardPanel(main);
}

}  // namespace
