// Comparing spell files, on the 4000-line sample and a copy of it with 10% of
// its spells changed (duration and first slot), 2% removed and 2% added:
//  - the exporter's default mode, its --diff mode and its HTML and Markdown
//    reports, each run as a program (wall time from start to exit, output
//    thrown away);
//  - the comparison alone, in the process (both files described, matched);
//  - the comparison window opened through "Compare with another spell
//    file...": chooser answered, comparison made, window filled and painted.
//    It reports the resident memory the comparison adds at its peak.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/callbacks.h"
#include "bench_support.h"
#include "compare/compare_callbacks.h"
#include "compare/comparison.h"
#include "ui/toolkit_testing.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kDir = fs::temp_directory_path() / ("rivizuzi-compare-bench-" + std::to_string(::getpid()));
const std::string kSample = (kDir / "spells_us.txt").string();
const std::string kModified = (kDir / "modified.txt").string();

std::vector<std::string> Columns(const std::string& line)
{
    std::vector<std::string> columns;
    std::stringstream in(line);
    for (std::string column; std::getline(in, column, '^');) columns.push_back(column);
    return columns;
}

std::string Join(const std::vector<std::string>& columns)
{
    std::string line;
    for (const std::string& column : columns) line += (line.empty() ? "" : "^") + column;
    return line;
}

// Writes the sample and its modified copy.
void WriteFiles()
{
    fs::create_directories(kDir);
    const std::string sample = GenerateSampleSpellFile({});
    std::ofstream(kSample, std::ios::binary) << sample;
    std::vector<std::string> lines;
    std::istringstream in(sample);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::ofstream out(kModified, std::ios::binary);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % 50 == 0) continue;  // removed
        std::vector<std::string> columns = Columns(lines[i]);
        if (i % 10 == 1) {  // changed: duration and the first slot's base
            columns[17] = std::to_string(std::atoi(columns[17].c_str()) + 10);
            columns[20] = std::to_string(std::atoi(columns[20].c_str()) + 7);
        }
        out << Join(columns) << '\n';
    }
    for (std::size_t i = 0; i < lines.size() / 50; ++i) {  // added
        std::vector<std::string> columns = Columns(lines[i]);
        columns[0] = std::to_string(900000 + i);
        columns[1] = "Added spell " + std::to_string(i);
        out << Join(columns) << '\n';
    }
}

std::string Exporter()
{
    return (fs::read_symlink("/proc/self/exe").parent_path() / "rivizuzi-export").string();
}

// Runs the exporter with its output thrown away; false when it fails.
bool RunExporter(std::vector<std::string> arguments)
{
    const std::string program = Exporter();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_ExportDefaultMode(benchmark::State& state)
{
    for (auto _ : state) {
        if (!RunExporter({kSample})) state.SkipWithError("the exporter failed");
    }
}
BENCHMARK(BM_ExportDefaultMode)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_ExportDiff(benchmark::State& state)
{
    for (auto _ : state) {
        if (!RunExporter({"--diff", kSample, kModified})) state.SkipWithError("the exporter failed");
    }
}
BENCHMARK(BM_ExportDiff)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_ExportDiffReport(benchmark::State& state, const char* format)
{
    for (auto _ : state) {
        if (!RunExporter({"--diff", kSample, kModified, "--format", format}))
            state.SkipWithError("the exporter failed");
    }
}
BENCHMARK_CAPTURE(BM_ExportDiffReport, html, "html")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ExportDiffReport, markdown, "markdown")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_CompareCore(benchmark::State& state)
{
    LoadSampleTable();
    SpellComparison comparison;
    for (auto _ : state) {
        if (CompareWithLoadedSpells(kModified.c_str(), 0, comparison) != 0)
            state.SkipWithError("no comparison");
        benchmark::DoNotOptimize(comparison.differences.data());
    }
    state.counters["differences"] = static_cast<double>(comparison.differences.size());
}
BENCHMARK(BM_CompareCore)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

class ChooseModified : public DialogHook {
public:
    void Message(const char* title, const char* text) override
    {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
    int FileSelect(const char*, const char*, std::string& path) override
    {
        path = kModified;
        return VAL_EXISTING_FILE_SELECTED;
    }
};

void BM_OpenCompareWindow(benchmark::State& state)
{
    LoadSampleTable();
    ChooseModified dialogs;
    SetDialogHook(&dialogs);
    const long before = StatusKilobytes("VmRSS");
    long peak = 0;
    for (auto _ : state) {
        if (CompareFilesCallback(mainPanel, 0, EVENT_COMMIT, nullptr, 0, 0) != 0)
            state.SkipWithError("no window");
        QApplication::processEvents();
        state.PauseTiming();
        peak = std::max(peak, StatusKilobytes("VmHWM"));
        CompareCloseCallback(ComparePanel(), 0, EVENT_COMMIT, nullptr, 0, 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    SetDialogHook(nullptr);
    state.counters["peak_MB_above_loaded"] = static_cast<double>(peak - before) / 1024.0;
}
BENCHMARK(BM_OpenCompareWindow)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The offscreen platform warns at every shown window that it cannot raise it.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv)
{
    WriteFiles();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    InitToolkit(argc, argv);
    RegisterProgramCallbacks();
    mainPanel = LoadMainPanel();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DiscardPanel(mainPanel);
    fs::remove_all(kDir);
    return 0;
}
