// The stacking check: the core computation alone (scans, sentences, rows,
// sort, layout) and the whole window through StackingCallback, built and
// shown offscreen, for
//  - typical: a spell of the 4000-line sample with a few taking-part slots;
//  - worst case: 4000 spells carrying the same effects in all twelve slots,
//    so that every slot lists the other 3999 (47,988 lines, three controls
//    each).
// The window benchmarks report the resident memory (VmRSS) after the last
// window was built, and its peak (VmHWM).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/app.h"
#include "app/callbacks.h"
#include "bench_support.h"
#include "data/reader.h"
#include "data/spell.h"
#include "popup/popup_manager.h"
#include "popup/spell_popup.h"
#include "stacking/stacking.h"
#include "stacking/stacking_callbacks.h"
#include "ui/toolkit.h"

namespace {

// A field of /proc/self/status in megabytes, or -1.
double StatusMegabytes(const char* field)
{
    return StatusKilobytes(field) / 1024.0;
}

void LoadSample()
{
    LoadSampleTable();
}

// The first sample spell with a duration and three to five taking-part
// slots, or -1.
int TypicalSpell()
{
    for (int i = 0; i < g_numSpells; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        int slotCount = 0;
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) slotCount += IsStackingSlot(spell, k) ? 1 : 0;
        if (spell.duration != 0 && spell.id >= 0 && slotCount >= 3 && slotCount <= 5) return i;
    }
    return -1;
}

// 4000 spells, each with the same twelve effects and a duration; values and
// levels vary so that sentences have the usual forms.
void LoadWorstCase()
{
    InitGlobals();
    constexpr int kEffects[NUM_EFFECT_SLOTS] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};
    for (int i = 0; i < MAX_SPELLS; ++i) {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        spell.id = 1000 + i;
        std::snprintf(spell.name.data(), spell.name.size(), "Stacking Test Spell %d", i);
        spell.duration = 10 + i % 50;
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        spell.classLevel[CLASS_WIZ] = 1 + i % 60;
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
            const auto slot = static_cast<std::size_t>(k);
            spell.attrib[slot] = kEffects[k];
            spell.base[slot] = (i * 37 + k * 11) % 400 - 50;
            spell.max[slot] = i % 3 == 0 ? 0 : 500 + i % 200;
            spell.calc[slot] = 100 + i % 7;
        }
    }
    g_numSpells = MAX_SPELLS;
}

void Core(benchmark::State& state, int index)
{
    if (index < 0) {
        state.SkipWithError("no spell fits");
        return;
    }
    int slotCount = 0;
    int lines = 0;
    for (auto _ : state) {
        lines = 0;
        slotCount = ForEachStackingSlot(
            index, [](const StackingSlot& slot) { benchmark::DoNotOptimize(slot.header); },
            [&lines](const StackingSlot&, const StackingLine& line) {
                benchmark::DoNotOptimize(line.text);
                ++lines;
            });
    }
    state.counters["slots"] = slotCount;
    state.counters["lines"] = lines;
}

void Window(benchmark::State& state, int index)
{
    if (index < 0) {
        state.SkipWithError("no spell fits");
        return;
    }
    void* record = &g_spellArray[static_cast<std::size_t>(index)];
    for (auto _ : state) {
        if (StackingCallback(0, 0, EVENT_COMMIT, record, 0, 0) != 0) {
            state.SkipWithError("the stacking window did not open");
            break;
        }
        ProcessDrawEvents();  // shown: laid out and painted once
        state.PauseTiming();
        state.counters["VmRSS_MB"] = StatusMegabytes("VmRSS");
        CloseAllCallback(0, 0, EVENT_COMMIT, nullptr, 0, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["VmHWM_MB"] = StatusMegabytes("VmHWM");
}

void BM_CoreTypical(benchmark::State& state)
{
    LoadSample();
    Core(state, TypicalSpell());
}
void BM_WindowTypical(benchmark::State& state)
{
    LoadSample();
    Window(state, TypicalSpell());
}
void BM_CoreWorstCase(benchmark::State& state)
{
    LoadWorstCase();
    Core(state, 0);
}
void BM_WindowWorstCase(benchmark::State& state)
{
    LoadWorstCase();
    Window(state, 0);
}

BENCHMARK(BM_CoreTypical)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WindowTypical)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CoreWorstCase)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_WindowWorstCase)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (!InitToolkit(argc, argv)) return 1;
    RegisterProgramCallbacks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
