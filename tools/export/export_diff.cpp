// The exporter's comparison mode: the spells that differ between two spell
// files, as their detail windows show them.
#include <nlohmann/json.hpp>
#include <ostream>

#include "compare/compare.h"
#include "compare/comparison.h"
#include "compare/report.h"
#include "compare/spell_texts.h"
#include "export_modes.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kChangeNames[] = {"removed", "added", "changed"};

Json DifferenceToJson(const SpellDifference& d, const SpellTexts& oldTexts, const SpellTexts& newTexts)
{
    Json line;
    line["change"] = kChangeNames[static_cast<int>(d.change)];
    line["id"] = d.id;
    line["name"] = DifferenceName(d, oldTexts, newTexts);
    if (d.oldIndex >= 0) line["oldIndex"] = d.oldIndex;
    if (d.newIndex >= 0) line["newIndex"] = d.newIndex;
    if (d.change != SpellChange::Changed) return line;
    Json fields = Json::array();
    for (int field = 0; field < SPELL_TEXT_FIELDS; ++field) {
        if ((d.fields >> field & 1) == 0) continue;
        Json entry;
        entry["field"] = SpellTextFieldName(field);
        entry["old"] = oldTexts.Text(d.oldIndex, field);
        entry["new"] = newTexts.Text(d.newIndex, field);
        fields.push_back(std::move(entry));
    }
    line["fields"] = std::move(fields);
    return line;
}

}  // namespace

int ExportDiff(std::ostream& out, std::ostream& err, const char* oldPath, const char* newPath, int level,
               const TextFormat* report)
{
    SpellComparison c;
    c.level = level;
    for (auto [path, texts] : {std::pair{oldPath, &c.oldTexts}, std::pair{newPath, &c.newTexts}}) {
        bool moreLines = false;
        if (DescribeSpellFile(path, level, *texts, &moreLines) < 0) return 1;
        if (moreLines) {
            err << "rivizuzi-export: " << path << " holds more than " << MAX_SPELLS
                << " lines; only the first " << MAX_SPELLS << " are compared\n";
        }
        if (texts == &c.oldTexts) c.oldMoreLines = moreLines;
    }
    c.differences = CompareSpellTexts(c.oldTexts, c.newTexts);
    c.counts = CountChanges(c.differences);
    if (report) {
        std::string text;
        WriteComparisonReport(c, ChangeFilter::All, "", {oldPath, newPath}, *report, text);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } else {
        for (const SpellDifference& d : c.differences) {
            out << DifferenceToJson(d, c.oldTexts, c.newTexts)
                       .dump(-1, ' ', false, Json::error_handler_t::replace)
                << '\n';
        }
    }
    out.flush();
    return out ? 0 : 1;
}
