// The spell search over a full table of 4000 spells: the core row building
// and sort alone, and the whole commit through the real list widget
// (offscreen), for an empty search (every spell listed by name) and a class
// search (listed by level); and the live search with an effect chosen: one
// key typed into the search text, through to the refilled and painted list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.h"
#include "app/callbacks.h"
#include "app/main_uir.h"
#include "app/search_callbacks.h"
#include "bench_support.h"
#include "data/reader.h"
#include "data/spell.h"
#include "list/search.h"
#include "ui/toolkit_testing.h"

namespace {

constexpr int kWizard = 16384;
constexpr int kHitpoints = 0;  // the effect most spells of the sample carry

void CoreSearch(benchmark::State& state, const char* text, int classValue, int effectId = ANY_EFFECT)
{
    int rows = 0;
    for (auto _ : state) {
        rows = ForEachSpellRow(text, classValue, effectId, [](const char* label, int index) {
            benchmark::DoNotOptimize(label);
            benchmark::DoNotOptimize(index);
        });
    }
    state.counters["rows"] = rows;
}

void ListSearch(benchmark::State& state, const char* text, int classValue)
{
    const int panel = LoadMainPanel();
    if (panel < 0) {
        state.SkipWithError("main.uir does not load");
        return;
    }
    if (SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text) < 0 ||
        SetCtrlVal(panel, MAINPANEL_CLASS, classValue) < 0) {
        state.SkipWithError("the search controls do not take their values");
        DiscardPanel(panel);
        return;
    }
    DisplayPanel(panel);
    ProcessDrawEvents();
    int rows = 0;
    for (auto _ : state) {
        // Each commit empties the list that the previous one filled.
        if (SearchStringCallback(panel, MAINPANEL_SEARCH_TEXT, EVENT_COMMIT, nullptr, 0, 0) < 0) {
            state.SkipWithError("the search failed");
            break;
        }
        ProcessDrawEvents();  // the shown list lays out and paints its new rows
        GetNumListItems(panel, MAINPANEL_SPELL_LIST, &rows);
    }
    state.counters["rows"] = rows;
    DiscardPanel(panel);
}

// Keys typed into the search text with an effect chosen: "e", then
// Backspace, and so on. Each key runs the search (every spell with the
// effect, or those of them with an "e" in the name) and refills the list.
void LiveKeystroke(benchmark::State& state, int effectId)
{
    const int panel = LoadMainPanel();
    if (panel < 0 || SetCtrlVal(panel, MAINPANEL_EFFECT, effectId) < 0) {
        state.SkipWithError("main.uir does not load with the effect selector");
        return;
    }
    DisplayPanel(panel);
    ProcessDrawEvents();
    QWidget* box = ControlWidget(panel, MAINPANEL_SEARCH_TEXT);
    bool typed = false;
    int rows = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_E, Qt::NoModifier,
                      typed ? QString() : QStringLiteral("e"));
        QApplication::sendEvent(box, &key);
        typed = !typed;
        ProcessDrawEvents();  // the shown list lays out and paints its new rows
        GetNumListItems(panel, MAINPANEL_SPELL_LIST, &rows);
    }
    state.counters["rows"] = rows;
    DiscardPanel(panel);
}

void BM_CoreEmptySearch(benchmark::State& state)
{
    CoreSearch(state, "", 0);
}
void BM_CoreClassSearch(benchmark::State& state)
{
    CoreSearch(state, "", kWizard);
}
void BM_CoreEffectSearch(benchmark::State& state)
{
    CoreSearch(state, "", 0, kHitpoints);
}
void BM_LiveKeystrokeWithEffect(benchmark::State& state)
{
    LiveKeystroke(state, kHitpoints);
}
void BM_ListEmptySearch(benchmark::State& state)
{
    ListSearch(state, "", 0);
}
void BM_ListClassSearch(benchmark::State& state)
{
    ListSearch(state, "", kWizard);
}

BENCHMARK(BM_CoreEmptySearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CoreClassSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CoreEffectSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_LiveKeystrokeWithEffect)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ListEmptySearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListClassSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (!InitToolkit(argc, argv)) return 1;
    RegisterProgramCallbacks();  // the search text reaches SearchStringCallback by name
    LoadSampleTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
