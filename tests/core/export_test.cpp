// Sharing: the exporter run as a program (its JSON lines, its search and
// comparison modes, a spell and a comparison as shared texts, its exit
// statuses); texts from a spell file come out of every format as exactly
// their characters, read back with real parsers; reports are written whole
// or not at all.
#include "compare/report.h"
#include "markup_readback.h"
#include "popup/spell_text.h"
#include "share/whole_file.h"
#include "stacking/stacking_text.h"
#include "test_support.h"

namespace {

using testsupport::SpellLine;

class Exporter : public testing::Test {
protected:
    void SetUp() override
    {
        SpellLine ward(1234, "Ember Ward");
        ward.Set(17, "10").Set(104, "5");                     // duration 10 ticks; WAR at level 5
        ward.Slot(0, 0, 10, 0, 102);                          // Hitpoints
        ward.Slot(1, 10, 0, 0, 100);                          // Charisma with base 0: not shown
        ward.Slot(4, 85, 2000, 0, 100);                       // weapon proc of the next record
        ward.Slot(11, 85, 3, 0, 100);                         // weapon proc of no loaded spell
        ward.Set(150, "2000").Set(58, "10015").Set(62, "2");  // linked spell, one component
        Write("spells_us.txt", {ward, SpellLine(2000, "Caf\xe9 Strike")});  // a Latin-1 name, instant
    }
    void Write(const char* name, const std::vector<SpellLine>& lines)
    {
        dir_.Write(name, testsupport::FileText(lines));
    }
    testsupport::RunResult Run(const std::string& arguments)
    {
        return testsupport::RunExporter(dir_.path(), arguments);
    }

    testsupport::TempDir dir_;
};

TEST_F(Exporter, WritesOneObjectPerRecordWithTheShownSlotsAndThePanelTexts)
{
    const testsupport::RunResult result = Run("spells_us.txt");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = testsupport::Lines(result.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(
        lines[0],
        R"j({"index":0,"id":1234,"name":"Ember Ward","effects":[)j"
        R"j({"slot":1,"text":"Increase Hitpoints by 15 (L5) to 75 (L65) per tick","link":-1},)j"
        R"j({"slot":5,"text":"Add Weapon Proc: 2000 (Café Strike)","link":1},)j"
        R"j({"slot":12,"text":"Add Weapon Proc: 3 ()","link":-1}],)j"
        R"j("panel":{"id":"1234","name":"Ember Ward","col19":"0","col9":"0",)j"
        R"j("duration":"10 ticks (1.0 minutes)","seconds13":"0.00","seconds14":"0.00","seconds15":"0.00",)j"
        R"j("col10":"0","timeOfDay":"Any","environment":"Unknown","linkedSpell":"Café Strike",)j"
        R"j("message1":"0","message2":"Someone0","message3":"0","col18":"0","col11":"0",)j"
        R"j("reagentId":"Malachite (2)","classLevel":"WAR(5) ","skill":"Unknown","beneficial":"Detrimental",)j"
        R"j("resistType":"Unresistable","targetType":"Unknown","col147":"0","linkedSpellIndex":1,)j"
        R"j("stacking":true,"referencedBy":[]}})j");
    EXPECT_NE(lines[1].find(R"j("referencedBy":[0]}})j"), std::string::npos) << lines[1];

    // A failed write of the output is an error.
    const std::string full = "{ '" RIVIZUZI_BUILD_DIR "/rivizuzi-export' spells_us.txt >/dev/full; }";
    EXPECT_EQ(testsupport::RunCommand(dir_.path(), full).status, 1);
}

// `out`: the whole output, or with any other status the whole error text.
TEST_F(Exporter, SearchModeAndExitStatuses)
{
    const struct {
        const char* arguments;
        int status;
        const char* out;
    } cases[] = {
        {"--search e spells_us.txt", 0,
         "{\"row\":\"Caf\xC3\xA9 Strike\",\"index\":1}\n{\"row\":\"Ember Ward\",\"index\":0}\n"},
        {"--search '' --class 8192 spells_us.txt", 0, "{\"row\":\"5    Ember Ward\",\"index\":0}\n"},
        {"--search '' --effect 85 spells_us.txt", 0, "{\"row\":\"Ember Ward\",\"index\":0}\n"},
        {"--where 'linkedSpell ~ \"STRIKE\"' spells_us.txt", 0, "{\"row\":\"Ember Ward\",\"index\":0}\n"},
        {"--level 30 --where 'text = \"Increase Hitpoints by 40 (L30) per tick\"' spells_us.txt", 0,
         "{\"row\":\"Ember Ward\",\"index\":0}\n"},
        {"--where 'colour = 1' spells_us.txt", 2,
         "rivizuzi-export: --where: unknown field \"colour\" at column 1\n"},
        {"--diff spells_us.txt missing.txt", 1,
         "Cannot open the file: missing.txt - please browse for a valid file.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const testsupport::RunResult result = Run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(c.status == 0 ? result.out : result.err, c.out);
    }
    for (const char* arguments :
         {"--bogus x.txt", "--level 0 x.txt", "--level 66 x.txt", "--level x x.txt", "--level 5", "",
          "--search '' --effect -1 x.txt", "--search '' --effect 154 x.txt", "--search '' --effect 16 x.txt",
          "--search '' --effect x x.txt", "--effect 0 x.txt", "--diff", "--diff x.txt",
          "--diff x.txt --search x x.txt"}) {
        const testsupport::RunResult result = Run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("usage: rivizuzi-export"), std::string::npos) << arguments;
    }
}

// `out`: the whole output, or with status 1 the whole error text.
TEST_F(Exporter, ReadsRegularFilesPipesAndTheStandardInputOnly)
{
    dir_.Write("big.txt", std::string(MAX_SPELLS + 1, '\n'));
    const std::string exporter = "'" RIVIZUZI_BUILD_DIR "/rivizuzi-export' ";
    const std::string found = "{\"row\":\"Ember Ward\",\"index\":0}\n";
    const struct {
        const char* name;
        std::string command;
        int status;
        std::string out;
    } cases[] = {
        {"standard input, a file", exporter + "--search ward - <spells_us.txt", 0, found},
        {"standard input, a pipe", "cat spells_us.txt | " + exporter + "--search ward -", 0, found},
        {"standard input compared", exporter + "--diff - spells_us.txt <spells_us.txt", 0, ""},
        {"a named pipe", "mkfifo fifo && { cat spells_us.txt >fifo & } && " + exporter + "--search ward fifo",
         0, found},
        {"a directory", exporter + ".", 1, "Cannot open the file: . - please browse for a valid file.\n"},
        {"a directory to compare", exporter + "--diff . spells_us.txt", 1,
         "Cannot open the file: . - please browse for a valid file.\n"},
        {"a device that never ends", exporter + "/dev/zero", 1,
         "Cannot open the file: /dev/zero - please browse for a valid file.\n"},
        {"standard input from a device", exporter + "- </dev/zero", 1,
         "Cannot open the file: - - please browse for a valid file.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testsupport::RunResult result = testsupport::RunCommand(dir_.path(), c.command);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(c.status == 0 ? result.out : result.err, c.out);
    }
    const testsupport::RunResult big = Run("--search x big.txt");
    EXPECT_EQ(big.status, 0);
    EXPECT_EQ(big.err,
              "rivizuzi-export: big.txt holds more than 4000 lines; only the first 4000 were read\n");
}

// Removed and added spells by id whatever their order; a changed one with
// its fields in the window's order. Hitpoints growing by 1 a level from 10,
// capped at 30 or 40, both read 20 at level 10: that slot is no change there.
TEST_F(Exporter, DiffPrintsTheSpellsThatDifferById)
{
    Write("old.txt", {{1, "Alpha"}, {2, "Beta"}, SpellLine(9, "Mend").Set(17, "10").Slot(0, 0, 10, 30, 102)});
    Write("new.txt",
          {SpellLine(9, "Mend II").Set(17, "20").Slot(0, 0, 10, 40, 102), {2, "Beta"}, {4, "Delta"}});
    const testsupport::RunResult result = Run("--level 10 --diff old.txt new.txt");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              R"j({"change":"removed","id":1,"name":"Alpha","oldIndex":0})j"
              "\n"
              R"j({"change":"added","id":4,"name":"Delta","newIndex":2})j"
              "\n"
              R"j({"change":"changed","id":9,"name":"Mend II","oldIndex":2,"newIndex":0,"fields":[)j"
              R"j({"field":"name","old":"Mend","new":"Mend II"},)j"
              R"j({"field":"duration","old":"10 ticks (1.0 minutes)","new":"20 ticks (2.0 minutes)"}]})j"
              "\n");
}

// What "Copy" on a spell window gives as plain text.
TEST_F(Exporter, DescribePrintsOneSpellAsItsWindowShowsIt)
{
    testsupport::RunResult result = Run("--describe 0 spells_us.txt");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "Name: Ember Ward\nId: 1234\nColumn 9: 0\nDuration: 10 ticks (1.0 minutes)\nColumn 10: 0\n"
              "Column 13 (s): 0.00\nColumn 11: 0\nColumn 14 (s): 0.00\nColumn 18: 0\nColumn 15 (s): 0.00\n"
              "Column 19: 0\nTime of day: Any\nColumn 147: 0\nEnvironment: Unknown\nKind: Detrimental\n"
              "Skill: Unknown\nTarget: Unknown\nResist type: Unresistable\nLinked spell: Caf\u00e9 Strike\n"
              "Components: Malachite (2)\nClasses: WAR(5) \nMessage 1: 0\nMessage 2: Someone0\nMessage 3: 0\n"
              "Effects (values over levels):\n"
              "Slot 1: Increase Hitpoints by 15 (L5) to 75 (L65) per tick\n"
              "Slot 5: Add Weapon Proc: 2000 (Caf\u00e9 Strike)\n"
              "Slot 12: Add Weapon Proc: 3 ()\n");

    for (const char* index : {"2", "-1"}) {
        result = Run(std::string("--describe ") + index + " spells_us.txt");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, std::string("rivizuzi-export: ") + index +
                                  " is not the table index of a loaded spell (0 to 1)\n");
    }
}

// The report of a comparison: Markdown and an HTML page that read back
// alike, names shown as written, the words that differ marked; HTML that
// tidy finds nothing wrong with.
TEST_F(Exporter, DiffReportsReadBackAsTheComparison)
{
    SpellLine ward(1234, "Ember Ward");
    ward.Set(17, "10");
    Write("old.txt", {ward, SpellLine(7, "Old <b>one</b>")});
    ward.Set(17, "20");
    Write("new.txt", {ward, SpellLine(8, "[new](x) | **8**")});
    const readback::Lines expected = {
        {"# Spell file comparison"},
        {"- Old file: old.txt"},
        {"- New file: new.txt"},
        {"- Level setting: values over levels"},
        {"- Shown: all differences"},
        {"|", "Removed", "Added", "Changed"},
        {"|", "1", "1", "1"},
        {"## Removed spells"},
        {"|", "Id", "Name"},
        {"|", "7", "Old <b>one</b>"},
        {"## Added spells"},
        {"|", "Id", "Name"},
        {"|", "8", "[new](x) | **8**"},
        {"## Changed spells"},
        {"### Ember Ward (1234)"},
        {"|", "Field", "Old", "New"},
        {"|", "Duration", "[-10 ticks (1.0-] minutes)", "{+20 ticks (2.0+} minutes)"},
    };
    for (const char* format : {"markdown", "html"}) {
        SCOPED_TRACE(format);
        const testsupport::RunResult result = Run(std::string("--diff old.txt new.txt --format ") + format);
        EXPECT_EQ(result.status, 0);
        const bool html = format == std::string("html");
        EXPECT_EQ(html ? readback::ReadHtml(result.out) : readback::ReadMarkdown(result.out), expected);
        if (html) {
            dir_.Write("report.html", result.out);
            const testsupport::RunResult tidy =
                testsupport::RunCommand(dir_.path(), "tidy -q -e report.html");
            EXPECT_EQ(tidy.status, 0);
            EXPECT_EQ(tidy.err, "");
        }
    }
    const testsupport::RunResult same = Run("--diff old.txt old.txt --format markdown");
    const readback::Lines lines = readback::ReadMarkdown(same.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[6], (readback::Line{"|", "0", "0", "0"}));
    EXPECT_EQ(lines[7], readback::Line{"The files show no difference."});
}

// ---- Every format, and report files ----------------------------------------

// 249 letters and 10 characters of markup: the longest text a field holds.
const std::string kLongName = std::string(249, 'W') + "<b>*x*</b>";

struct Hostile {
    const char* name;
    std::string bytes;  // as the spell file holds them
    std::string shown;  // what every format must show
};

const Hostile kHostile[] = {
    {"HtmlTag", "<img src=x onerror=alert(1)>", "<img src=x onerror=alert(1)>"},
    {"MarkdownLink", "[click](javascript:alert(1))", "[click](javascript:alert(1))"},
    {"Strong", "**bold** __bold__", "**bold** __bold__"},
    {"TablePipe", "a | b", "a | b"},
    {"CodeHeadingEntity", "`code` # not &amp; C:\\", "`code` # not &amp; C:\\"},
    {"Autolinks", "www.evil.example http://evil.example me@evil.example",
     "www.evil.example http://evil.example me@evil.example"},
    {"StrikeEmphasisMath", "~~gone~~ _em_ *em* $x$ ^up <!-- c --> ![i](x)",
     "~~gone~~ _em_ *em* $x$ ^up <!-- c --> ![i](x)"},
    {"BlanksAtBothEnds", "  two  blanks\t", "  two  blanks\t"},
    {"ControlCharacters",
     "a\x01"
     "b\rc\x1b[31m\x7f",
     "a\uFFFD"
     "b\uFFFD"
     "c\uFFFD[31m\uFFFD"},
    {"Latin1", "Caf\xe9 \xab\x85\xbb", "Caf\u00e9 \u00ab\uFFFD\u00bb"},
    {"InvalidUtf8", "\xC3\x28 \xE2\x82", "\u00c3( \u00e2\uFFFD"},
    {"UnicodeSpaceBeforeMarkup", "a\u00a0*b*\u3000", "a\u00a0*b*\u3000"},
    {"Longest", kLongName, kLongName},
};

class ShareEscaping : public testing::TestWithParam<Hostile> {};

// The name is the header row of a copied spell's table and part of a
// stacking check's heading: a cell and a heading, in every format.
TEST_P(ShareEscaping, ShowsTheTextExactlyInEveryFormat)
{
    const Hostile& c = GetParam();
    SpellPanelContent content;
    CopyText(content.texts[PANEL_TEXT_NAME], c.bytes.c_str());
    StackingText stacking;
    stacking.Begin(c.bytes.c_str(), {});

    std::string text;
    WriteSpellText(content, {}, TextFormat::Text, text);
    EXPECT_EQ(testsupport::Lines(text).at(0), "Name: " + c.shown);
    EXPECT_EQ(testsupport::Lines(text).size(), 25u);

    const readback::Line row = {"|", "Name:", c.shown};
    const readback::Line heading = {"### Stacking - " + c.shown + " (values over levels)"};
    for (const TextFormat format : {TextFormat::Markdown, TextFormat::Html}) {
        SCOPED_TRACE(format == TextFormat::Html ? "html" : "markdown");
        std::string spell;
        WriteSpellText(content, {}, format, spell);
        std::string check;
        stacking.Write(format, check);
        const bool html = format == TextFormat::Html;
        const auto spellLines = html ? readback::ReadHtml(spell) : readback::ReadMarkdown(spell);
        const auto checkLines = html ? readback::ReadHtml(check) : readback::ReadMarkdown(check);
        ASSERT_EQ(spellLines.size(), 25u);  // no value broke a row
        EXPECT_EQ(spellLines[0], row);
        ASSERT_EQ(checkLines.size(), 1u);
        EXPECT_EQ(checkLines[0], heading);
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, ShareEscaping, testing::ValuesIn(kHostile), testsupport::RowName());

TEST(ShareReportFile, WritesTheWholeFileOrLeavesEverythingAsItWas)
{
    testsupport::TempDir dir;
    const std::string report = dir.Write("report.md", "old report\n");
    std::string problem;
    EXPECT_EQ(WriteWholeFile(report.c_str(), "new report\n", problem), 0);
    EXPECT_EQ(testsupport::ReadFile(report), "new report\n");

    const std::string missing = (dir.path() / "missing" / "report.md").string();
    EXPECT_EQ(WriteWholeFile(missing.c_str(), "x", problem), -1);
    EXPECT_EQ(problem, "Cannot write " + missing + ": No such file or directory.");

    const std::string folder = (dir.path() / "folder").string();
    std::filesystem::create_directory(folder);
    EXPECT_EQ(WriteWholeFile(folder.c_str(), "x", problem), -1);
    EXPECT_EQ(problem, "Cannot write " + folder + ": Is a directory.");

    // Only the report and the folder are left: no new file half written.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);
    EXPECT_EQ(testsupport::ReadFile(report), "new report\n");
}

TEST(ShareReportFile, HtmlForNamesEndingInHtmlOrHtmAnyCase)
{
    EXPECT_EQ(ReportFormatFor("patch.html"), TextFormat::Html);
    EXPECT_EQ(ReportFormatFor("/tmp/Patch.HTM"), TextFormat::Html);
    EXPECT_EQ(ReportFormatFor("patch.html.md"), TextFormat::Markdown);
    EXPECT_EQ(ReportFormatFor("html"), TextFormat::Markdown);
}

}  // namespace
