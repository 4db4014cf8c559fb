// Start-up of the viewer as a process: from exec to its main window up with
// the 4000-spell sample read, started offscreen from an empty folder with
// --quit-when-ready (which quits as soon as the window is drawn). Beside it,
// the process alone (--version: loading the program and its libraries).
//
// RIVIZUZI_VIEWER names the executable to time, e.g. an installed one; the
// build tree's by default.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "sample/sample_gen.h"

namespace {

namespace fs = std::filesystem;

// The sample and an empty folder to start in, removed at exit.
struct Setup {
    Setup()
    {
        const char* name = std::getenv("RIVIZUZI_VIEWER");
        viewer = name && *name ? name : RIVIZUZI_BUILD_DIR "/rivizuzi";
        base = fs::temp_directory_path() / ("rivizuzi-startup-bench-" + std::to_string(::getpid()));
        emptyDir = base / "empty";
        fs::create_directories(emptyDir);
        sample = (base / "spells_us.txt").string();
        WriteSampleSpellFile(SampleOptions{}, sample.c_str());
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ~Setup()
    {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;

    std::string viewer;
    std::string sample;
    fs::path base;
    fs::path emptyDir;
};

const Setup& GetSetup()
{
    static const Setup setup;
    return setup;
}

// Runs the viewer in the empty folder with these arguments; its exit status,
// or -1 when it could not run.
int RunViewer(const Setup& setup, const char* option, const char* file)
{
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0 || ::chdir(setup.emptyDir.c_str()) != 0)
            ::_exit(127);
        ::execl(setup.viewer.c_str(), setup.viewer.c_str(), option, file, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void TimeRuns(benchmark::State& state, const char* option, const char* file)
{
    const Setup& setup = GetSetup();
    for (auto _ : state) {
        // The folder stays empty: every start is a first start with FILE.
        fs::remove(setup.emptyDir / "rivizuzi.cfg");
        const auto start = std::chrono::steady_clock::now();
        const int status = RunViewer(setup, option, file);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (status != 0) {
            state.SkipWithError(("the viewer ended with status " + std::to_string(status)).c_str());
            break;
        }
        state.SetIterationTime(elapsed.count());
    }
}

void BM_ProcessOnly(benchmark::State& state)
{
    TimeRuns(state, "--version", nullptr);
}
BENCHMARK(BM_ProcessOnly)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_StartupToLoadedWindow(benchmark::State& state)
{
    TimeRuns(state, "--quit-when-ready", GetSetup().sample.c_str());
}
BENCHMARK(BM_StartupToLoadedWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
