// Loading hostile spell files: the 50 MB file whose 4000 lines all overrun
// the line buffer (every byte must still be scanned for the line ends), a
// file of 100,000 short lines, one line of 50 MB, and 50 MB of binary
// garbage. The goal for the 50 MB files is well under a second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "hostile_files.h"
#include "data/reader.h"
#include "data/spell.h"

namespace {

std::string WriteOnce(const char* name, std::string (*make)())
{
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << make();
    return path.string();
}

void LoadFile(benchmark::State& state, const std::string& path)
{
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    int count = 0;
    for (auto _ : state) {
        count = ParseSpellFile(path.c_str(), g_spellArray);
        benchmark::DoNotOptimize(count);
        benchmark::ClobberMemory();
    }
    state.counters["records"] = count;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}

void BM_LoadFiftyMegabytesOfLongLines(benchmark::State& state)
{
    static const std::string path =
        WriteOnce("rivizuzi-bench-hostile-50mb.txt", [] { return hostile::HugeFile(); });
    LoadFile(state, path);
}
BENCHMARK(BM_LoadFiftyMegabytesOfLongLines)->Unit(benchmark::kMillisecond);

void BM_LoadOneLineOfFiftyMegabytes(benchmark::State& state)
{
    static const std::string path = WriteOnce("rivizuzi-bench-hostile-one-line.txt", [] {
        return "1^" + std::string(50u << 20, 'q') + "\n2^After\n";
    });
    LoadFile(state, path);
}
BENCHMARK(BM_LoadOneLineOfFiftyMegabytes)->Unit(benchmark::kMillisecond);

void BM_LoadFiftyMegabytesOfGarbage(benchmark::State& state)
{
    static const std::string path =
        WriteOnce("rivizuzi-bench-hostile-garbage.txt", [] { return hostile::BinaryGarbage(50u << 20); });
    LoadFile(state, path);
}
BENCHMARK(BM_LoadFiftyMegabytesOfGarbage)->Unit(benchmark::kMillisecond);

void BM_LoadHundredThousandShortLines(benchmark::State& state)
{
    static const std::string path = WriteOnce("rivizuzi-bench-hostile-100k-lines.txt", [] {
        std::string file;
        for (int i = 0; i < 100000; ++i) file += std::to_string(i) + "^Spell " + std::to_string(i) + "\n";
        return file;
    });
    LoadFile(state, path);
}
BENCHMARK(BM_LoadHundredThousandShortLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
