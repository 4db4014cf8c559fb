// Sharing what the windows show: texts from a spell file come out of every
// format as exactly their characters, read back with real parsers; reports
// are written whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "compare/report.h"
#include "markup_readback.h"
#include "popup/spell_text.h"
#include "share/whole_file.h"
#include "stacking/stacking_text.h"
#include "test_support.h"

namespace {

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
