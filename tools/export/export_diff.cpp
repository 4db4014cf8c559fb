// The exporter's comparison mode: the spells that differ between two spell
// files, as their detail windows show them.
#include <sys/stat.h>

#include <cstdio>
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

constexpr int kNotRead = -2;

// True for a regular file that opens: a read would report no message. Only
// such a file is read on the other core; a pipe is read once, in order.
bool IsReadableRegularFile(const char* path)
{
    struct stat info {};
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

void WarnOfMoreLines(std::ostream& err, const char* path, const SpellFile& file)
{
    if (!file.MoreLines()) return;
    err << "rivizuzi-export: " << path << " holds more than " << MAX_SPELLS << " lines; only the first "
        << MAX_SPELLS << " are compared\n";
}

}  // namespace

int ExportDiff(std::ostream& out, std::ostream& err, const char* oldPath, const char* newPath, int level,
               const TextFormat* report)
{
    // Each file is read and described from its own records, one on each
    // core. Only a regular file that opens is read on the other thread: the "Error"
    // message of one that does not is reported here, after the first
    // file's, and only when the first file opened.
    SpellFile oldFile;
    SpellFile newFile;
    SpellComparison c;
    c.level = level;
    SpellTexts& oldTexts = c.oldTexts;
    SpellTexts& newTexts = c.newTexts;
    int oldCount = -1;
    int newCount = kNotRead;
    RunSideBySide(
        [&] {
            if (!IsReadableRegularFile(SpellFilePath(newPath))) return;
            newCount = newFile.Read(SpellFilePath(newPath));
            if (newCount >= 0) DescribeSpells(newFile.Table(), level, newTexts);
        },
        [&] {
            oldCount = oldFile.Read(SpellFilePath(oldPath));
            if (oldCount >= 0) DescribeSpells(oldFile.Table(), level, oldTexts);
        });
    if (oldCount < 0) return 1;
    WarnOfMoreLines(err, oldPath, oldFile);
    if (newCount == kNotRead) {
        newCount = newFile.Read(SpellFilePath(newPath));
        if (newCount >= 0) DescribeSpells(newFile.Table(), level, newTexts);
    }
    if (newCount < 0) return 1;
    WarnOfMoreLines(err, newPath, newFile);

    c.oldMoreLines = oldFile.MoreLines();
    c.differences = CompareSpellTexts(oldTexts, newTexts);
    c.counts = CountChanges(c.differences);
    if (report) {
        std::string text;
        WriteComparisonReport(c, ChangeFilter::All, "", {oldPath, newPath}, *report, text);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } else {
        for (const SpellDifference& d : c.differences) {
            out << DifferenceToJson(d, oldTexts, newTexts)
                       .dump(-1, ' ', false, Json::error_handler_t::replace)
                << '\n';
        }
    }
    out.flush();
    return out ? 0 : 1;
}
