// The programs as a user starts them: their options, the viewer's FILE
// argument and working folder, and where it finds its resource files in the
// build tree, in an installed tree and when they are missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::StartsWith;
using testsupport::ReadFile;
using testsupport::RunCommand;
using testsupport::RunResult;
using testsupport::TempDir;

constexpr const char* kViewer = RIVIZUZI_BUILD_DIR "/rivizuzi";
constexpr const char* kExporter = RIVIZUZI_BUILD_DIR "/rivizuzi-export";

// Replaces every "{dir}" with the folder's path and "{long}" with a name of
// 300 characters.
std::string Expand(std::string text, const fs::path& dir)
{
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir.string());
    for (std::size_t at; (at = text.find("{long}")) != std::string::npos;)
        text.replace(at, 6, std::string(300, 'n'));
    return text;
}

// Starts the viewer offscreen in `cwd` with the start-up check option.
RunResult StartViewer(const fs::path& cwd, const std::string& viewer, const std::string& arguments,
                      const std::string& environment = {})
{
    return RunCommand(cwd, "env " + environment + " QT_QPA_PLATFORM=offscreen '" + viewer +
                               "' --quit-when-ready " + arguments);
}

TEST(CommandLine, HelpVersionAndBadOptions)
{
    struct Case {
        const char* name;
        const char* program;
        const char* arguments;
        int status;
        const char* out;  // regular expression for the whole output
        const char* err;  // part of the error output; "" for none at all
    };
    const Case cases[] = {
        {"viewer version", kViewer, "--version", 0, "rivizuzi [0-9]+\\.[0-9]+\n", ""},
        {"viewer help", kViewer, "--help", 0, "usage: rivizuzi .*--version.*", ""},
        {"viewer short help", kViewer, "-h", 0, "usage: rivizuzi .*", ""},
        {"viewer help after FILE", kViewer, "spells_us.txt --help", 0, "usage: rivizuzi .*", ""},
        {"viewer unknown option", kViewer, "--bogus", 2, "",
         "rivizuzi: unknown option --bogus\nusage: rivizuzi "},
        {"viewer two files", kViewer, "a.txt b.txt", 2, "", "only one FILE may be given: b.txt\nusage: "},
        {"viewer empty file name", kViewer, "''", 2, "", "FILE is empty\nusage: "},
        {"exporter version", kExporter, "--version", 0, "rivizuzi-export [0-9]+\\.[0-9]+\n", ""},
        {"exporter help", kExporter, "--help", 0, "usage: rivizuzi-export .*--version.*", ""},
        {"exporter unknown option", kExporter, "--bogus x", 2, "", "unknown option\nusage: rivizuzi-export "},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // No platform plugin of that name exists: these answers never start
        // the toolkit, so they work without a display.
        const RunResult result =
            RunCommand(dir.path(), std::string("QT_QPA_PLATFORM=none '") + c.program + "' " + c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_THAT(result.out, MatchesRegex(c.out));
        if (*c.err == '\0') {
            EXPECT_EQ(result.err, "");
        } else {
            EXPECT_THAT(result.err, HasSubstr(c.err));
        }
    }
}

TEST(CommandLine, FileArgumentAndTheSettingsItLeaves)
{
    struct Case {
        const char* name;
        const char* settingsBefore;  // in {dir}/cwd; nullptr for none
        const char* arguments;
        const char* environment;
        int status;
        const char* settingsPath;   // where the settings are expected
        const char* settingsAfter;  // nullptr: no settings file there
        const char* err;            // part of the error output
    };
    const Case cases[] = {
        {"first run with FILE needs no chooser", nullptr, "{dir}/spells.txt", "", 0, "{dir}/cwd/rivizuzi.cfg",
         "{dir}/spells.txt\n65 0 ", "Disclaimer: "},
        {"FILE replaces the settings' file, the rest is kept", "/old/spells.txt\n40 1 40 10\n",
         "{dir}/spells.txt", "", 0, "{dir}/cwd/rivizuzi.cfg", "{dir}/spells.txt\n40 1 40 10\n", ""},
        {"a relative FILE is recorded whole", nullptr, "../spells.txt", "", 0, "{dir}/cwd/rivizuzi.cfg",
         "{dir}/spells.txt\n", ""},
        {"a missing FILE keeps the settings' file", "/old/spells.txt\n40 1 40 10\n", "{dir}/none.txt", "", 1,
         "{dir}/cwd/rivizuzi.cfg", "/old/spells.txt\n40 1 40 10\n",
         "Error: Cannot open the file: {dir}/none.txt - please browse for a valid file.\n"},
        {"a missing FILE on the first run writes no settings", nullptr, "{dir}/none.txt", "", 1,
         "{dir}/cwd/rivizuzi.cfg", nullptr, "Cannot open the file: {dir}/none.txt - please"},
        {"after -- a name with a dash is a FILE", nullptr, "-- -x.txt", "", 1, "{dir}/cwd/rivizuzi.cfg",
         nullptr, "Cannot open the file: {dir}/cwd/-x.txt - please"},
        {"a path longer than the settings hold is not opened", nullptr, "{dir}/cwd/{long}.txt", "", 1,
         "{dir}/cwd/rivizuzi.cfg", nullptr, "Cannot open the file: {dir}/cwd/{long}.txt - please"},
        {"no FILE: the settings' file", "{dir}/spells.txt\n", "", "", 0, "{dir}/cwd/rivizuzi.cfg",
         "{dir}/spells.txt\n65 0 ", ""},
        {"user folder under XDG_DATA_HOME", nullptr, "--user-folder ../spells.txt",
         "XDG_DATA_HOME={dir}/data", 0, "{dir}/data/rivizuzi/rivizuzi.cfg", "{dir}/spells.txt\n", ""},
        {"user folder under HOME", nullptr, "--user-folder {dir}/spells.txt",
         "-u XDG_DATA_HOME HOME={dir}/home", 0, "{dir}/home/.local/share/rivizuzi/rivizuzi.cfg",
         "{dir}/spells.txt\n", ""},
        {"a relative XDG_DATA_HOME is ignored", nullptr, "--user-folder {dir}/spells.txt",
         "XDG_DATA_HOME=data HOME={dir}/home", 0, "{dir}/home/.local/share/rivizuzi/rivizuzi.cfg",
         "{dir}/spells.txt\n", ""},
        {"a user folder that cannot be made keeps the current one", nullptr, "--user-folder {dir}/spells.txt",
         "XDG_DATA_HOME={dir}/spells.txt", 0, "{dir}/cwd/rivizuzi.cfg", "{dir}/spells.txt\n",
         "rivizuzi: cannot work in {dir}/spells.txt/rivizuzi (Not a directory); working in the current "
         "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.Write("spells.txt", "1^Alpha\n2^Beta\n");
        const fs::path cwd = dir.path() / "cwd";
        fs::create_directories(cwd);
        if (c.settingsBefore) dir.Write("cwd/rivizuzi.cfg", Expand(c.settingsBefore, dir.path()));
        const RunResult result =
            StartViewer(cwd, kViewer, Expand(c.arguments, dir.path()), Expand(c.environment, dir.path()));
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_THAT(result.err, HasSubstr(Expand(c.err, dir.path())));
        const fs::path settings = Expand(c.settingsPath, dir.path());
        EXPECT_EQ(fs::exists(settings), c.settingsAfter != nullptr);
        EXPECT_THAT(ReadFile(settings),
                    StartsWith(Expand(c.settingsAfter ? c.settingsAfter : "", dir.path())));
        // A user folder, and every folder made for it, is private.
        for (fs::path folder = settings.parent_path(); folder != cwd && folder != dir.path();
             folder = folder.parent_path())
            EXPECT_EQ(static_cast<int>(fs::status(folder).permissions()), 0700) << folder;
    }
}

// The viewer started from the build tree, from a DESTDIR install, and alone
// without its resource files.
TEST(Install, ResourcesAreFoundBesideTheProgramOrInItsDataFolder)
{
    TempDir dir;
    const std::string spells = dir.Write("spells.txt", "1^Alpha\n");
    const RunResult install = RunCommand(
        dir.path(), "DESTDIR='" + dir.path().string() +
                        "/dest' '" CMAKE_COMMAND_PATH "' --install '" RIVIZUZI_BUILD_DIR "' --prefix /usr");
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    const fs::path usr = dir.path() / "dest/usr";
    for (const char* file :
         {"bin/rivizuzi", "bin/rivizuzi-export", "share/rivizuzi/main.uir", "share/rivizuzi/spell.uir",
          "share/rivizuzi/stacking.uir", "share/applications/io.github.rivizuzi.Rivizuzi.desktop",
          "share/metainfo/io.github.rivizuzi.Rivizuzi.metainfo.xml",
          "share/icons/hicolor/scalable/apps/io.github.rivizuzi.Rivizuzi.svg",
          "share/icons/hicolor/48x48/apps/io.github.rivizuzi.Rivizuzi.png", "share/man/man1/rivizuzi.1.gz",
          "share/man/man1/rivizuzi-export.1.gz", "share/doc/rivizuzi/copyright",
          "share/doc/rivizuzi/changelog.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(usr / file)) << file;
    }
    fs::create_directories(dir.path() / "alone/bin");
    fs::copy_file(kViewer, dir.path() / "alone/bin/rivizuzi");

    struct Case {
        const char* name;
        std::string viewer;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"build tree", kViewer, 0, ""},
        {"installed tree", (usr / "bin/rivizuzi").string(), 0, ""},
        {"neither", (dir.path() / "alone/bin/rivizuzi").string(), 255,
         "rivizuzi: Cannot find the resource file main.uir: it is neither in " + dir.path().string() +
             "/alone/bin nor in " + dir.path().string() + "/alone/share/rivizuzi.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir cwd;
        const RunResult result = StartViewer(cwd.path(), c.viewer, "'" + spells + "'");
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_THAT(result.err, HasSubstr(c.err));
    }
}

}  // namespace
