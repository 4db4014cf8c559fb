// The spell search over a full table of 4000 spells: the core row building
// and sort alone, and the whole commit through the real list widget
// (offscreen), for an empty search (every spell listed by name) and a class
// search (listed by level).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.h"
#include "app/main_uir.h"
#include "bench_support.h"
#include "data/reader.h"
#include "data/spell.h"
#include "list/search.h"
#include "list/search_callbacks.h"
#include "ui/toolkit.h"

namespace {

constexpr int kWizard = 16384;

void CoreSearch(benchmark::State& state, const char* text, int classValue)
{
    int rows = 0;
    for (auto _ : state) {
        rows = ForEachSpellRow(text, classValue, [](const char* label, int index) {
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

void BM_CoreEmptySearch(benchmark::State& state)
{
    CoreSearch(state, "", 0);
}
void BM_CoreClassSearch(benchmark::State& state)
{
    CoreSearch(state, "", kWizard);
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
BENCHMARK(BM_ListEmptySearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListClassSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (!InitToolkit(argc, argv)) return 1;
    LoadSampleTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
