// Spell windows, offscreen, over a full table of 4000 sample spells:
//  - opening one spell window with all twelve effect slots shown (load the
//    panel, fill it, show it and let it paint), through the "Link" callback;
//  - the content alone, without a window;
//  - "Copy" on that window: the spell written as plain text and HTML and put
//    on the clipboard;
//  - a soak that opens and closes 10,000 popups, 50 at a time, through the
//    real callbacks, and reports the resident memory before and after.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app.h"
#include "app/callbacks.h"
#include "bench_support.h"
#include "data/reader.h"
#include "data/spell.h"
#include "popup/popup_manager.h"
#include "popup/spell_panel.h"
#include "popup/spell_popup.h"
#include "popup/spell_uir.h"
#include "ui/toolkit_testing.h"

namespace {

constexpr int kWeaponProc = 85;
int g_fullSpell = 0;  // table index of the spell with twelve shown slots

void LoadSample()
{
    LoadSampleTable();
    const int count = g_numSpells;

    // One spell with every slot shown, a proc linking the last record, and a
    // duration so that it gets the stacking button.
    g_fullSpell = count / 2;
    SpellStruct& spell = g_spellArray[static_cast<std::size_t>(g_fullSpell)];
    spell.duration = 60;
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        spell.attrib[k] = static_cast<int>(k) * 3 + 1;
        spell.base[k] = 10 + static_cast<int>(k);
        spell.max[k] = 100;
        spell.calc[k] = 101;
    }
    spell.attrib[5] = kWeaponProc;
    spell.base[5] = g_spellArray[static_cast<std::size_t>(count - 1)].id;
}

long ResidentKilobytes()
{
    return StatusKilobytes("VmRSS");
}

void DeleteDiscardedWindows()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opens g_spellArray[index] as its "Link" button would.
int OpenByLink(int index)
{
    return GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[static_cast<std::size_t>(index) + 1], 0, 0);
}

void BM_OpenFullSpellWindow(benchmark::State& state)
{
    int rows = 0;
    for (auto _ : state) {
        if (OpenByLink(g_fullSpell) != 0) {
            state.SkipWithError("the spell window did not open");
            break;
        }
        QApplication::processEvents();  // let it paint
        state.PauseTiming();
        const int panel = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
        int height = 0;
        GetPanelAttribute(panel, ATTR_HEIGHT, &height);
        rows = (height - PANEL_BASE_HEIGHT) / ROW_STEP;
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        DeleteDiscardedWindows();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenFullSpellWindow)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_FullSpellContentOnly(benchmark::State& state)
{
    SpellPanelContent content;
    for (auto _ : state) {
        BuildSpellPanelContent(g_fullSpell, content);
        benchmark::DoNotOptimize(content);
    }
}
BENCHMARK(BM_FullSpellContentOnly)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_CopyFullSpell(benchmark::State& state)
{
    if (OpenByLink(g_fullSpell) != 0) {
        state.SkipWithError("the spell window did not open");
        return;
    }
    const int panel = g_popupHandles[static_cast<std::size_t>(g_lastPopup)];
    for (auto _ : state) {
        if (CommitCtrl(panel, SPELLPANEL_COPY) != 0) state.SkipWithError("no copy");
    }
    CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
    DeleteDiscardedWindows();
}
BENCHMARK(BM_CopyFullSpell)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

// Opens 50 popups of successive spells and lets them paint, then closes each
// with its Close button's commit (a discard from inside a callback, deleted
// later). Events are processed as the event loop would: shown windows queue
// window-system events that only processing releases.
void OpenAndCloseBatch(int& nextSpell)
{
    for (int i = 0; i < MAX_POPUPS; ++i) {
        OpenByLink(nextSpell);
        nextSpell = (nextSpell + 1) % g_numSpells;
    }
    QApplication::processEvents();
    for (int slot = 0; slot < MAX_POPUPS; ++slot) {
        const int panel = g_popupHandles[static_cast<std::size_t>(slot)];
        if (panel != -1) CommitCtrl(panel, SPELLPANEL_CLOSE);
    }
    DeleteDiscardedWindows();
    QApplication::processEvents();
}

void BM_PopupSoak(benchmark::State& state)
{
    constexpr int kPopups = 10000;
    int nextSpell = 0;
    // A few batches first, so that fonts, glyph caches, styles and the
    // resource cache are in.
    for (int i = 0; i < 10; ++i) OpenAndCloseBatch(nextSpell);
    const long before = ResidentKilobytes();
    long halfway = -1;
    for (auto _ : state) {
        for (int opened = 0; opened < kPopups; opened += MAX_POPUPS) {
            OpenAndCloseBatch(nextSpell);
            if (opened + MAX_POPUPS == kPopups / 2) halfway = ResidentKilobytes();
        }
    }
    const long after = ResidentKilobytes();
    if (g_numPopups != 0 || CountLivePanels() != 0) state.SkipWithError("popups left open");
    state.counters["popups"] = kPopups;
    state.counters["rss_before_kB"] = static_cast<double>(before);
    state.counters["rss_halfway_kB"] = static_cast<double>(halfway);
    state.counters["rss_after_kB"] = static_cast<double>(after);
    state.counters["rss_growth_kB"] = static_cast<double>(after - before);
}
BENCHMARK(BM_PopupSoak)->Unit(benchmark::kMillisecond)->Iterations(1);

// The offscreen platform warns at every shown window that it cannot raise it.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    InitToolkit(argc, argv);
    RegisterProgramCallbacks();
    UseConsoleDialogs();
    LoadSample();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
