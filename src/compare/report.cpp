#include "compare/report.h"

#include <array>
#include <cstdio>
#include <vector>

#include "popup/panel_captions.h"
#include "share/level_text.h"

namespace {

constexpr const char* kReportTitle = "Spell file comparison";

// The page around an HTML report: everything it needs is inside it.
constexpr const char* kHtmlHead =
    "<!DOCTYPE html>\n"
    "<html lang=\"en\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<title>Spell file comparison</title>\n"
    "<style>\n"
    "body { font-family: sans-serif; margin: 1.5em; }\n"
    "table { border-collapse: collapse; margin: 0.5em 0 1em; }\n"
    "th, td { border: 1px solid #999; padding: 0.2em 0.5em; text-align: left; vertical-align: top;"
    " white-space: pre-wrap; }\n"
    "th { background: #eee; }\n"
    "del { background: #fcc; }\n"
    "ins { background: #cfc; }\n"
    "</style>\n"
    "</head>\n"
    "<body>\n";
constexpr const char* kHtmlFoot = "</body>\n</html>\n";

// What stands around each part in Markdown and in HTML.
struct Pieces {
    const char* begin;
    const char* end;
    const char* h1;
    const char* h1End;
    const char* h2;
    const char* h2End;
    const char* h3;
    const char* h3End;
    const char* list;
    const char* listEnd;
    const char* item;
    const char* itemEnd;
    const char* paragraph;
    const char* paragraphEnd;
    const char* afterTable;
};
constexpr Pieces kMarkdown = {"", "",   "# ", "\n\n", "## ", "\n\n", "### ", "\n\n",
                              "", "\n", "- ", "\n",   "",    "\n\n", "\n"};
constexpr Pieces kHtml = {kHtmlHead, kHtmlFoot, "<h1>", "</h1>\n", "<h2>", "</h2>\n", "<h3>", "</h3>\n",
                          "<ul>\n",  "</ul>\n", "<li>", "</li>\n", "<p>",  "</p>\n",  ""};

constexpr std::array<const char*, 4> kFilterWords = {"all differences", "removed spells", "added spells",
                                                     "changed spells"};

struct Writer {
    const SpellComparison& comparison;
    TextFormat format;
    const Pieces& p;
    std::string& out;

    void Text(std::string_view bytes) { AppendEscaped(out, bytes, format); }

    void Item(const char* label, std::string_view value)
    {
        out += p.item;
        out += label;
        Text(value);
        out += p.itemEnd;
    }

    void Number(int value)
    {
        std::array<char, 16> digits{};
        std::snprintf(digits.data(), digits.size(), "%d", value);
        out += digits.data();
    }

    void Counts(const ChangeCounts& counts)
    {
        TableWriter table(out, format);
        for (const char* kind : {"Removed", "Added", "Changed"}) table.Cell() += kind;
        table.EndRow();
        for (const int count : {counts.removed, counts.added, counts.changed}) {
            table.Cell();
            Number(count);
        }
        table.EndRow();
        table.Close();
        out += p.afterTable;
    }

    // The removed or added spells among the shown ones: id and name.
    void SpellList(const std::vector<int>& shown, SpellChange change, const char* heading)
    {
        bool any = false;
        for (const int i : shown)
            any = any || comparison.differences[static_cast<std::size_t>(i)].change == change;
        if (!any) return;
        out += p.h2;
        out += heading;
        out += p.h2End;
        TableWriter table(out, format);
        table.Cell() += "Id";
        table.Cell() += "Name";
        table.EndRow();
        for (const int i : shown) {
            const SpellDifference& d = comparison.differences[static_cast<std::size_t>(i)];
            if (d.change != change) continue;
            AppendEscaped(table.Cell(), DifferenceId(d), format);
            AppendEscaped(table.Cell(), DifferenceName(d, comparison.oldTexts, comparison.newTexts), format);
            table.EndRow();
        }
        table.Close();
        out += p.afterTable;
    }

    void ChangedSpell(const SpellDifference& d)
    {
        out += p.h3;
        Text(DifferenceName(d, comparison.oldTexts, comparison.newTexts));
        out += " (";
        Text(DifferenceId(d));
        out += ')';
        out += p.h3End;
        TableWriter table(out, format);
        for (const char* column : {"Field", "Old", "New"}) table.Cell() += column;
        table.EndRow();
        std::array<DetailField, SPELL_TEXT_FIELDS> fields;
        const int count = DetailFields(comparison, d, fields);
        for (int k = 0; k < count; ++k) {
            const DetailField& f = fields[static_cast<std::size_t>(k)];
            TextField caption{};
            FieldCaption(f.field, caption);
            AppendEscaped(table.Cell(), caption.data(), format);
            AppendMarked(table.Cell(), f.oldText, f.marks.oldBegin, f.marks.oldEnd, TextMark::Removed,
                         format);
            AppendMarked(table.Cell(), f.newText, f.marks.newBegin, f.marks.newEnd, TextMark::Added, format);
            table.EndRow();
        }
        table.Close();
        out += p.afterTable;
    }
};

}  // namespace

void FieldCaption(int field, TextField& caption)
{
    if (field >= 0 && field < PANEL_TEXT_COUNT) {
        const std::string_view name = CaptionName(kPanelCaptions[static_cast<std::size_t>(field)]);
        std::snprintf(caption.data(), caption.size(), "%.*s", static_cast<int>(name.size()), name.data());
    } else if (field >= SLOT_FIELD_FIRST && field < SPELL_TEXT_FIELDS) {
        std::snprintf(caption.data(), caption.size(), "Slot %d", field - SLOT_FIELD_FIRST + 1);
    } else {
        caption[0] = '\0';
    }
}

void WriteComparisonReport(const SpellComparison& comparison, ChangeFilter filter, std::string_view namePart,
                           const ReportFiles& files, TextFormat format, std::string& out)
{
    if (format == TextFormat::Text) format = TextFormat::Markdown;
    Writer w{comparison, format, format == TextFormat::Html ? kHtml : kMarkdown, out};
    const Pieces& p = w.p;
    const std::vector<int> shown = FilterDifferences(comparison, filter, namePart);
    ChangeCounts counts;
    std::vector<SpellDifference> listed;
    listed.reserve(shown.size());
    for (const int i : shown) listed.push_back(comparison.differences[static_cast<std::size_t>(i)]);
    counts = CountChanges(listed);

    out += p.begin;
    out += p.h1;
    out += kReportTitle;
    out += p.h1End;
    out += p.list;
    w.Item("Old file: ", files.oldName);
    w.Item("New file: ", files.newName);
    TextField level{};
    FormatLevelSetting(LevelSettingFor(comparison.level), level);
    w.Item("Level setting: ", level.data());
    std::string shownWords = kFilterWords[static_cast<std::size_t>(filter)];
    if (!namePart.empty()) {
        shownWords += " whose name holds \"";
        shownWords += namePart;
        shownWords += '"';
    }
    w.Item("Shown: ", shownWords);
    out += p.listEnd;
    if (comparison.oldMoreLines) {
        out += p.paragraph;
        std::array<char, 96> note{};
        std::snprintf(note.data(), note.size(),
                      "The old file holds more than %d lines: only its first %d were compared.", MAX_SPELLS,
                      MAX_SPELLS);
        out += note.data();
        out += p.paragraphEnd;
    }
    w.Counts(counts);
    if (shown.empty()) {
        out += p.paragraph;
        out += comparison.differences.empty() ? "The files show no difference." : "No difference is shown.";
        out += p.paragraphEnd;
    }
    w.SpellList(shown, SpellChange::Removed, "Removed spells");
    w.SpellList(shown, SpellChange::Added, "Added spells");
    if (counts.changed > 0) {
        out += p.h2;
        out += "Changed spells";
        out += p.h2End;
        for (const SpellDifference& d : listed) {
            if (d.change == SpellChange::Changed) w.ChangedSpell(d);
        }
    }
    out += p.end;
}

TextFormat ReportFormatFor(std::string_view path)
{
    auto endsWith = [path](std::string_view suffix) {
        if (path.size() < suffix.size()) return false;
        const std::string_view end = path.substr(path.size() - suffix.size());
        for (std::size_t i = 0; i < suffix.size(); ++i) {
            const char c = end[i] >= 'A' && end[i] <= 'Z' ? static_cast<char>(end[i] - 'A' + 'a') : end[i];
            if (c != suffix[i]) return false;
        }
        return true;
    };
    return endsWith(".html") || endsWith(".htm") ? TextFormat::Html : TextFormat::Markdown;
}
