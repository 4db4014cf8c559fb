// Reading the 4000-line sample spell file into the table, beside a baseline
// that only reads the file into memory and clears the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/reader.h"
#include "data/spell.h"
#include "sample/sample_gen.h"

namespace {

const std::string& SamplePath()
{
    static const std::string path = [] {
        auto file = std::filesystem::temp_directory_path() / "rivizuzi-bench-spells_us.txt";
        WriteSampleSpellFile(SampleOptions{}, file.c_str());
        return file.string();
    }();
    return path;
}

void BM_ReadAndClearBaseline(benchmark::State& state)
{
    const std::string& path = SamplePath();
    std::vector<char> buffer(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "r");
        std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        std::memset(static_cast<void*>(g_spellArray.data()), 0, sizeof(g_spellArray));
        benchmark::DoNotOptimize(got);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(buffer.size()));
}
BENCHMARK(BM_ReadAndClearBaseline)->Unit(benchmark::kMillisecond);

void BM_ParseSpellFile(benchmark::State& state)
{
    const std::string& path = SamplePath();
    auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        int count = ParseSpellFile(path.c_str(), g_spellArray);
        benchmark::DoNotOptimize(count);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_ParseSpellFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
