// The sentence of every shown slot of every spell of the 4000-line sample,
// and its parts: the level computation alone, and the effects that look up a
// spell by id.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "data/reader.h"
#include "data/spell.h"
#include "effects/effect_levels.h"
#include "effects/effects.h"

namespace {

// Loads the sample into the table once.
void LoadSample()
{
    static const bool loaded = [] {
        LoadSampleTable();
        return true;
    }();
    (void)loaded;
}

bool LooksUpASpell(int attrib)
{
    return attrib == 85 || attrib == 139;
}

enum class Slots { All, WithoutSpellLookup, OnlySpellLookup };

int GenerateAll(Slots which)
{
    int sentences = 0;
    TextField text;
    for (int i = 0; i < g_numSpells; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
            if (!IsSlotShown(spell, slot)) continue;
            const auto k = static_cast<std::size_t>(slot);
            const bool lookup = LooksUpASpell(spell.attrib[k]);
            if ((which == Slots::WithoutSpellLookup && lookup) ||
                (which == Slots::OnlySpellLookup && !lookup)) {
                continue;
            }
            int link = -1;
            GenerateEffectString(i, spell.attrib[k], spell.base[k], spell.max[k], spell.calc[k],
                                 spell.duration, g_levelEnable, slot, text, &link);
            benchmark::DoNotOptimize(link);
            ++sentences;
        }
    }
    return sentences;
}

void RunSentences(benchmark::State& state, Slots which)
{
    LoadSample();
    g_levelEnable = static_cast<int>(state.range(0));
    g_displayLevel = 40;
    int sentences = 0;
    for (auto _ : state) sentences = GenerateAll(which);
    state.counters["sentences"] = sentences;
    state.counters["sentences/s"] =
        benchmark::Counter(sentences, benchmark::Counter::kIsIterationInvariantRate);
    g_levelEnable = 0;
    g_displayLevel = MAX_LEVEL;
}

void BM_WholeSample(benchmark::State& state)
{
    RunSentences(state, Slots::All);
}
void BM_WithoutSpellLookups(benchmark::State& state)
{
    RunSentences(state, Slots::WithoutSpellLookup);
}
void BM_OnlySpellLookups(benchmark::State& state)
{
    RunSentences(state, Slots::OnlySpellLookup);
}

// The level computation of every shown slot, without writing any text.
void BM_LevelComputationOnly(benchmark::State& state)
{
    LoadSample();
    for (auto _ : state) {
        for (int i = 0; i < g_numSpells; ++i) {
            const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
            for (int slot = 0; slot < NUM_EFFECT_SLOTS; ++slot) {
                if (!IsSlotShown(spell, slot)) continue;
                const auto k = static_cast<std::size_t>(slot);
                benchmark::DoNotOptimize(
                    effects::ComputeLevelValues(spell, spell.base[k], spell.max[k], spell.calc[k], 1, 40));
            }
        }
    }
}

// Argument: level display off (0) or on (1).
BENCHMARK(BM_WholeSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WithoutSpellLookups)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnlySpellLookups)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelComputationOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
