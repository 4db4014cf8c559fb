// rivizuzi-export: a spell file's descriptions as JSON lines, without a window.
//
//   rivizuzi-export [--level N] FILE
//   rivizuzi-export --search TEXT [--class VALUE] [--effect ID] FILE
//   rivizuzi-export --stacking INDEX [--level N] FILE
//   rivizuzi-export --diff OLD NEW [--level N] [--format json|markdown|html]
//   rivizuzi-export --describe INDEX [--level N] [--format text|markdown|html] FILE
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "build_info.h"
#include "data/messages.h"
#include "data/reader.h"
#include "data/spell.h"
#include "data/spell_index.h"
#include "export_modes.h"
#include "list/effect_filter.h"
#include "share/text_formats.h"

namespace {

constexpr const char* kUsage =
    "usage: rivizuzi-export [--level N] FILE\n"
    "       rivizuzi-export --search TEXT [--class VALUE] [--effect ID] FILE\n"
    "       rivizuzi-export --stacking INDEX [--level N] FILE\n"
    "       rivizuzi-export --diff OLD NEW [--level N] [--format json|markdown|html]\n"
    "       rivizuzi-export --describe INDEX [--level N] [--format text|markdown|html] FILE\n"
    "  --level N       show values at character level N (1 to 65)\n"
    "  --search TEXT   list the rows a search for TEXT shows (TEXT may be empty)\n"
    "  --class VALUE   class selector value for --search: 0 (all classes) or a sum of class bits,\n"
    "                  0 to 32767 (1 BRD, 2 BST, 4 CLR, ... 16384 WIZ)\n"
    "  --effect ID     only spells with effect ID (0 to 153, one the catalogue names) in a shown slot\n"
    "  --stacking I    the stacking check of the spell at table index I\n"
    "  --diff OLD      the spells that differ between the files OLD and NEW (the FILE)\n"
    "  --describe I    the spell at table index I as its window's \"Copy\" gives it\n"
    "  --format F      --diff: json lines (default) or a markdown or html report;\n"
    "                  --describe: text (default), markdown or html\n"
    "  FILE            a spell file; - reads the standard input\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n";

std::optional<int> ParseNumber(std::string_view text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int Usage(const char* problem)
{
    std::fprintf(stderr, "rivizuzi-export: %s\n%s", problem, kUsage);
    return 2;
}

void PrintMessage(const char* title, const char* text)
{
    (void)title;
    std::fprintf(stderr, "%s\n", text);
}

// The standard input, when named "-", is read like a spell file: a regular
// file or a pipe, but not a terminal or a device.
bool CanReadStandardInput()
{
    std::FILE* probe = OpenSpellFile(SpellFilePath("-"));
    if (probe) std::fclose(probe);
    return probe != nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    std::optional<int> level;
    std::optional<std::string> searchText;
    std::optional<int> classValue;
    std::optional<int> effectId;
    std::optional<int> stackingIndex;
    const char* diffOld = nullptr;
    std::optional<int> describeIndex;
    const char* formatName = nullptr;
    const char* file = nullptr;

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&](const char* option) -> const char* {
            if (i + 1 >= argc) return nullptr;
            (void)option;
            return argv[++i];
        };
        if (arg == "--level") {
            const char* v = value("--level");
            auto n = v ? ParseNumber(v) : std::nullopt;
            if (!n || *n < 1 || *n > MAX_LEVEL) return Usage("--level needs a number from 1 to 65");
            level = *n;
        } else if (arg == "--search") {
            const char* v = value("--search");
            if (!v) return Usage("--search needs a text (it may be empty)");
            searchText = v;
        } else if (arg == "--class") {
            const char* v = value("--class");
            auto n = v ? ParseNumber(v) : std::nullopt;
            if (!n || *n < 0 || *n > 32767) return Usage("--class needs a class selector value");
            classValue = *n;
        } else if (arg == "--effect") {
            const char* v = value("--effect");
            auto n = v ? ParseNumber(v) : std::nullopt;
            if (!n || !IsSelectableEffect(*n))
                return Usage("--effect needs an effect id from 0 to 153 that the catalogue names");
            effectId = *n;
        } else if (arg == "--stacking") {
            const char* v = value("--stacking");
            auto n = v ? ParseNumber(v) : std::nullopt;
            if (!n) return Usage("--stacking needs a table index");
            stackingIndex = *n;
        } else if (arg == "--diff") {
            diffOld = value("--diff");
            if (!diffOld) return Usage("--diff needs the OLD file");
        } else if (arg == "--describe") {
            const char* v = value("--describe");
            auto n = v ? ParseNumber(v) : std::nullopt;
            if (!n) return Usage("--describe needs a table index");
            describeIndex = *n;
        } else if (arg == "--format") {
            formatName = value("--format");
            if (!formatName) return Usage("--format needs a format");
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("rivizuzi-export %s\n", kRivizuziVersion);
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option");
        } else if (file) {
            return Usage("only one FILE may be given");
        } else {
            file = argv[i];
        }
    }
    if (!file) return Usage("no FILE given");
    if (searchText && stackingIndex) return Usage("--search and --stacking exclude each other");
    if (classValue && !searchText) return Usage("--class goes with --search");
    if (effectId && !searchText) return Usage("--effect goes with --search");
    if (diffOld && (searchText || stackingIndex)) return Usage("--diff excludes --search and --stacking");
    if (describeIndex && (searchText || stackingIndex || diffOld))
        return Usage("--describe excludes --search, --stacking and --diff");
    // --diff writes JSON lines or a Markdown or HTML report; --describe text,
    // Markdown or HTML.
    TextFormat format = TextFormat::Text;
    const bool json = diffOld && (!formatName || std::string_view(formatName) == "json");
    if (formatName && !json) {
        if (!diffOld && !describeIndex) return Usage("--format goes with --describe or --diff");
        if (!ParseTextFormat(formatName, format) || (diffOld && format == TextFormat::Text))
            return Usage(diffOld ? "--format with --diff needs json, markdown or html"
                                 : "--format with --describe needs text, markdown or html");
    }

    InitGlobals();
    SetMessageSink(PrintMessage);
    if (level) {
        g_levelEnable = 1;
        g_displayLevel = *level;
    }
    for (const char* given : {diffOld, file}) {
        if (given && IsStandardInput(given) && !CanReadStandardInput()) {
            MessageText text;
            FormatOpenError(given, text);
            PrintMessage("Error", text.data());
            return 1;
        }
    }
    if (diffOld)
        return ExportDiff(std::cout, std::cerr, diffOld, file, level.value_or(0), json ? nullptr : &format);
    bool moreLines = false;
    g_numSpells = ParseSpellFile(SpellFilePath(file), g_spellArray, &moreLines);
    if (g_numSpells < 0) return 1;
    if (moreLines) {
        std::fprintf(stderr, "rivizuzi-export: %s holds more than %d lines; only the first %d were read\n",
                     file, MAX_SPELLS, MAX_SPELLS);
    }
    BuildSpellIdIndex();

    std::ios::sync_with_stdio(false);
    if (searchText)
        return ExportSearch(std::cout, *searchText, classValue.value_or(0), effectId.value_or(ANY_EFFECT));
    if (stackingIndex) return ExportStacking(std::cout, std::cerr, *stackingIndex);
    if (describeIndex) return ExportDescription(std::cout, std::cerr, *describeIndex, format);
    return ExportSpells(std::cout);
}
