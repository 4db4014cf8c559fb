// Finding spells by a filter expression over the 4000-line sample: the
// described texts built once per load and level, one keystroke's parse and
// search through to the rows, and the referenced-by index built at load.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "list/search.h"
#include "popup/referenced_by.h"

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

BENCHMARK(BM_FilterTextsBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseAndSearch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseAndSearchBroad)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReferencedByBuild)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
