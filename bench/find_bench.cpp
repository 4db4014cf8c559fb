// Finding spells by a filter expression over the 4000-line sample: the
// described texts built once per load and level, one keystroke's parse and
// search through to the rows, the same typed into the main window's filter
// box through to the refilled and painted list, and the referenced-by index
// built at load.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>

#include "app/app.h"
#include "app/callbacks.h"
#include "app/main_uir.h"
#include "bench_support.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "list/search.h"
#include "popup/referenced_by.h"
#include "ui/toolkit.h"
#include "ui/toolkit_testing.h"

namespace {

constexpr const char* kExpression = "targetType = \"Single\" and text ~ \"stun\" and level(WAR) <= 20";
// One that leaves many rows to sort.
constexpr const char* kBroadExpression = "targetType = \"Single\" or text ~ \"hitpoints\"";

void LoadSample()
{
    static const bool loaded = [] {
        LoadSampleTable();
        return true;
    }();
    (void)loaded;
}

void BM_FilterTextsBuild(benchmark::State& state)
{
    LoadSample();
    FilterTexts texts;
    for (auto _ : state) {
        texts.Build(0);
        benchmark::DoNotOptimize(texts.Count());
    }
}

// Parse and search, as each key typed into the filter does once the texts
// stand.
void ParseAndSearch(benchmark::State& state, const char* expression)
{
    LoadSample();
    FilterTexts texts;
    texts.Build(0);
    int rows = 0;
    for (auto _ : state) {
        FilterQuery query;
        FilterError error;
        if (!query.Parse(expression, error)) {
            state.SkipWithError(error.message.c_str());
            break;
        }
        texts.Update(CurrentFilterLevel());
        const SpellFilter filter(query, texts);
        rows = ForEachSpellRow("", 0, ANY_EFFECT, &filter, [](const char* label, int index) {
            benchmark::DoNotOptimize(label);
            benchmark::DoNotOptimize(index);
        });
    }
    state.counters["rows"] = rows;
}

void BM_ParseAndSearch(benchmark::State& state)
{
    ParseAndSearch(state, kExpression);
}
void BM_ParseAndSearchBroad(benchmark::State& state)
{
    ParseAndSearch(state, kBroadExpression);
}

void BM_ReferencedByBuild(benchmark::State& state)
{
    LoadSample();
    static ReferencedByIndex index;
    for (auto _ : state) {
        BuildReferencedBy(index);
        benchmark::DoNotOptimize(index.starts.data());
    }
    state.counters["bytes"] = static_cast<double>(sizeof index);
    state.counters["references"] = index.starts[MAX_SPELLS];
}

// Keys typed into the filter box: the last digit of the expression, then
// Backspace, and so on; each key parses the expression, filters the table and
// refills the list (the texts were described by the first key, before the
// timing).
void FilterKeystroke(benchmark::State& state, const char* expression)
{
    LoadSample();
    const int panel = LoadMainPanel();
    if (panel < 0) {
        state.SkipWithError("main.uir does not load");
        return;
    }
    DisplayPanel(panel);
    QWidget* box = ControlWidget(panel, MAINPANEL_FILTER);
    auto type = [box](bool digit) {
        QKeyEvent key(QEvent::KeyPress, digit ? Qt::Key_0 : Qt::Key_Backspace, Qt::NoModifier,
                      digit ? QStringLiteral("0") : QString());
        QApplication::sendEvent(box, &key);
        ProcessDrawEvents();  // the shown list lays out and paints its new rows
    };
    SetCtrlVal(panel, MAINPANEL_FILTER, expression);
    type(true);
    bool digit = false;
    int rows = 0;
    for (auto _ : state) {
        type(digit);
        digit = !digit;
        GetNumListItems(panel, MAINPANEL_SPELL_LIST, &rows);
    }
    state.counters["rows"] = rows;
    DiscardPanel(panel);
}

// The expression of the goal, and one that leaves many rows to list.
void BM_FilterKeystroke(benchmark::State& state)
{
    FilterKeystroke(state, "targetType = \"Single\" and text ~ \"stun\" and level(WAR) <= 2");
}
void BM_FilterKeystrokeBroad(benchmark::State& state)
{
    FilterKeystroke(state, "targetType = \"Single\" or text ~ \"hitpoints\" or level(WAR) <= 2");
}

BENCHMARK(BM_FilterTextsBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseAndSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseAndSearchBroad)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FilterKeystrokeBroad)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReferencedByBuild)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (!InitToolkit(argc, argv)) return 1;
    RegisterProgramCallbacks();  // the filter box reaches its callback by name
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
