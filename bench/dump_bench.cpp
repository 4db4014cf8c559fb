// The dumps on the 4000-line sample file, written into a scratch working
// directory: the attribute dump (174 passes over the file, 174 files), and
// for comparison the per-spell dump and the formula report from the table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/reader.h"
#include "data/spell.h"
#include "dump/dump.h"
#include "sample/sample_gen.h"

namespace {

namespace fs = std::filesystem;

// Works in a scratch directory holding the sample file, loaded into the
// table, for the lifetime of the object.
class Scratch {
public:
    Scratch()
    {
        saved_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("rivizuzi_dump_bench_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        InitGlobals();
        ok_ = WriteSampleSpellFile(SampleOptions{}, kSpellFile) &&
              (g_numSpells = ParseSpellFile(kSpellFile, g_spellArray)) == MAX_SPELLS;
    }
    ~Scratch()
    {
        fs::current_path(saved_);
        fs::remove_all(dir_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ok() const { return ok_; }
    static constexpr const char* kSpellFile = "spells_us.txt";

private:
    fs::path saved_;
    fs::path dir_;
    bool ok_ = false;
};

void BM_AttributeDump(benchmark::State& state)
{
    Scratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("the sample file does not load 4000 spells");
        return;
    }
    for (auto _ : state) {
        if (DumpAttributes(Scratch::kSpellFile, kAttributeDumpDir) != 0) {
            state.SkipWithError("attribute dump failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * SPELL_FIELD_COUNT *
                            static_cast<std::int64_t>(fs::file_size(Scratch::kSpellFile)));
}
BENCHMARK(BM_AttributeDump)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5);

void BM_AllSpellsDump(benchmark::State& state)
{
    Scratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("the sample file does not load 4000 spells");
        return;
    }
    for (auto _ : state) DumpAllSpells(kSpellDumpDir);
}
BENCHMARK(BM_AllSpellsDump)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_CalcDump(benchmark::State& state)
{
    Scratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("the sample file does not load 4000 spells");
        return;
    }
    for (auto _ : state) DumpSpecial(kCalcDumpFile);
}
BENCHMARK(BM_CalcDump)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
