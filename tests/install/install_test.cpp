// The programs as a user starts them: options, the viewer's FILE argument,
// working folder and resource files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;
using testsupport::RunCommand;
using testsupport::RunResult;
using testsupport::TempDir;

// The text with "{dir}" as the folder's path and "{long}" as 300 letters.
std::string Expand(std::string text, const fs::path& dir)
{
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir.string());
    for (std::size_t at; (at = text.find("{long}")) != std::string::npos;) text.replace(at, 6, 300, 'n');
    return text;
}

// Starts the viewer offscreen in `cwd` with the start-up check option; one
// that waits on a dialog is stopped after 30 seconds (status 124).
RunResult StartViewer(const fs::path& cwd, const std::string& arguments, const std::string& environment = {},
                      const fs::path& viewer = RIVIZUZI_BUILD_DIR "/rivizuzi")
{
    return RunCommand(cwd, "timeout 30 env " + environment + " QT_QPA_PLATFORM=offscreen '" +
                               viewer.string() + "' --quit-when-ready " + arguments);
}

TEST(CommandLine, HelpVersionAndBadOptions)
{
    struct Case {
        const char* name;
        const char* command;  // a program built beside the tests, with its arguments
        int status;
        const char* out;  // regular expressions for the whole output
        const char* err;  // and the whole error output
    };
    const Case cases[] = {
        {"viewer version", "rivizuzi --version", 0, "rivizuzi [0-9]+\\.[0-9]+\n", ""},
        {"viewer help after FILE", "rivizuzi a.txt --help", 0, "usage: rivizuzi .*--version.*", ""},
        {"viewer unknown option", "rivizuzi --bogus", 2, "",
         "rivizuzi: unknown option --bogus\nusage: rivizuzi .*"},
        {"viewer two files", "rivizuzi a.txt b.txt", 2, "",
         "rivizuzi: only one FILE may be given: b.txt\nusage: .*"},
        {"viewer empty file name", "rivizuzi ''", 2, "", "rivizuzi: FILE is empty\nusage: .*"},
        {"exporter help", "rivizuzi-export --help", 0, "usage: rivizuzi-export .*--diff.*", ""},
        {"exporter version", "rivizuzi-export --version", 0, "rivizuzi-export [0-9]+\\.[0-9]+\n", ""},
        {"exporter unknown option", "rivizuzi-export --bogus x", 2, "",
         ".*unknown option\nusage: rivizuzi-export .*"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // No platform plugin of that name exists: these answers need no display.
        const RunResult result =
            RunCommand(dir.path(), std::string("QT_QPA_PLATFORM=none " RIVIZUZI_BUILD_DIR "/") + c.command);
        EXPECT_EQ(result.status, c.status);
        EXPECT_THAT(result.out, testing::MatchesRegex(c.out));
        EXPECT_THAT(result.err, testing::MatchesRegex(c.err));
    }
}

// A FILE that was read replaces the settings' file; one that was not (a
// typo, a path too long to store) leaves the settings as they were.
TEST(CommandLine, FileArgumentAndTheSettingsItLeaves)
{
    struct Case {
        const char* name;
        const char* settingsBefore;  // in {dir}/cwd; nullptr for none
        const char* arguments;
        const char* environment;
        int status;
        const char* settingsPath;   // where the settings are expected
        const char* settingsAfter;  // its start; nullptr: no settings file there
        const char* err;            // part of the error output
    };
    const char* kCwd = "{dir}/cwd/rivizuzi.cfg";
    const char* kOld = "/old/spells.txt\n40 1 40 10\n";
    const Case cases[] = {
        {"first run with a relative FILE: no chooser", nullptr, "../spells.txt", "", 0, kCwd,
         "{dir}/spells.txt\n65 0 ", "Disclaimer: "},
        {"FILE replaces the settings' file, the rest is kept", kOld, "{dir}/spells.txt", "", 0, kCwd,
         "{dir}/spells.txt\n40 1 40 10\n", ""},
        {"a missing FILE keeps the settings", kOld, "{dir}/none.txt", "", 1, kCwd, kOld,
         "Error: Cannot open the file: {dir}/none.txt - please browse for a valid file.\n"},
        {"a path longer than the settings hold", nullptr, "{dir}/cwd/{long}.txt", "", 1, kCwd, nullptr,
         "Cannot open the file: {dir}/cwd/{long}.txt - please"},
        {"user folder under XDG_DATA_HOME", nullptr, "--user-folder ../spells.txt",
         "XDG_DATA_HOME={dir}/data", 0, "{dir}/data/rivizuzi/rivizuzi.cfg", "{dir}/spells.txt\n", ""},
        {"a relative XDG_DATA_HOME is ignored", nullptr, "--user-folder {dir}/spells.txt",
         "XDG_DATA_HOME=data HOME={dir}/home", 0, "{dir}/home/.local/share/rivizuzi/rivizuzi.cfg",
         "{dir}/spells.txt\n", ""},
        {"a user folder that cannot be made", nullptr, "--user-folder {dir}/spells.txt",
         "XDG_DATA_HOME={dir}/spells.txt", 0, kCwd, "{dir}/spells.txt\n",
         "{dir}/spells.txt/rivizuzi (Not a directory); working in the current folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.Write("spells.txt", "1^Alpha\n2^Beta\n");
        const fs::path cwd = dir.path() / "cwd";
        fs::create_directories(cwd);
        if (c.settingsBefore) dir.Write("cwd/rivizuzi.cfg", Expand(c.settingsBefore, dir.path()));
        const RunResult result =
            StartViewer(cwd, Expand(c.arguments, dir.path()), Expand(c.environment, dir.path()));
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_THAT(result.err, HasSubstr(Expand(c.err, dir.path())));
        const fs::path settings = Expand(c.settingsPath, dir.path());
        EXPECT_EQ(fs::exists(settings), c.settingsAfter != nullptr);
        EXPECT_THAT(testsupport::ReadFile(settings),
                    testing::StartsWith(Expand(c.settingsAfter ? c.settingsAfter : "", dir.path())));
        // A user folder, and every folder made for it, is private.
        for (fs::path folder = settings.parent_path(); folder != cwd && folder != dir.path();
             folder = folder.parent_path())
            EXPECT_EQ(static_cast<int>(fs::status(folder).permissions()), 0700) << folder;
    }
}

// An installed viewer finds its resource files in ../share/rivizuzi.
TEST(Install, ResourcesAreFoundBesideTheProgramOrInItsDataFolder)
{
    TempDir dir;
    const RunResult install = RunCommand(
        dir.path(), "DESTDIR='" + dir.path().string() +
                        "/dest' '" CMAKE_COMMAND_PATH "' --install '" RIVIZUZI_BUILD_DIR "' --prefix /usr");
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    const std::string spells = dir.Write("spells.txt", "1^Alpha\n");
    const RunResult installed = StartViewer(dir.path(), spells, "", dir.path() / "dest/usr/bin/rivizuzi");
    EXPECT_EQ(installed.status, 0) << installed.err;
    // Started from the desktop menu, the viewer works in the user folder.
    EXPECT_THAT(
        testsupport::ReadFile(dir.path() / "dest/usr/share/applications/io.github.rivizuzi.Rivizuzi.desktop"),
        HasSubstr("\nExec=rivizuzi --user-folder %f\n"));
    // The licence, as the package and the metadata state it; no invented web addresses.
    EXPECT_THAT(
        testsupport::ReadFile(dir.path() / "dest/usr/share/doc/rivizuzi/copyright"),
        HasSubstr("\nFiles: *\nCopyright: 2026 The Rivizuzi developers\nLicense: GPL-3.0-or-later\n"));
    const std::string metainfo = testsupport::ReadFile(
        dir.path() / "dest/usr/share/metainfo/io.github.rivizuzi.Rivizuzi.metainfo.xml");
    EXPECT_THAT(metainfo, HasSubstr("<project_license>GPL-3.0-or-later</project_license>"));
    EXPECT_THAT(metainfo, Not(HasSubstr("https://")));
}

// A viewer that misses any one of its four resource files says which and
// where it looked, and does not start.
class MissingResource : public testing::TestWithParam<const char*> {};

TEST_P(MissingResource, StopsTheViewerAndNamesTheFile)
{
    TempDir dir;
    fs::create_directories(dir.path() / "alone");
    fs::copy_file(RIVIZUZI_BUILD_DIR "/rivizuzi", dir.path() / "alone/rivizuzi");
    for (const char* name : {"main.uir", "spell.uir", "stacking.uir", "compare.uir"}) {
        if (std::string(name) != GetParam())
            fs::copy_file(fs::path(RIVIZUZI_BUILD_DIR) / name, dir.path() / "alone" / name);
    }
    const std::string spells = dir.Write("spells.txt", "1^Alpha\n");
    const RunResult alone = StartViewer(dir.path(), spells, "", dir.path() / "alone/rivizuzi");
    EXPECT_EQ(alone.status, 255);
    EXPECT_THAT(alone.err,
                HasSubstr(Expand(std::string("rivizuzi: Cannot find the resource file ") + GetParam() +
                                     ": it is neither in {dir}/alone nor in {dir}/share/rivizuzi.\n",
                                 dir.path())));
}

INSTANTIATE_TEST_SUITE_P(Install, MissingResource,
                         testing::Values("main.uir", "spell.uir", "stacking.uir", "compare.uir"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
