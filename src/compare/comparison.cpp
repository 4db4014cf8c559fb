#include "compare/comparison.h"

#include <bit>
#include <cstdio>

#include "data/text_encoding.h"

namespace {

constexpr const char* kChangeWords[] = {"removed", "added", "changed"};

// Every old spell that was not removed matched one of the loaded file.
bool ShareAnId(const SpellComparison& c)
{
    return c.oldTexts.Count() > c.counts.removed;
}

}  // namespace

int CompareWithLoadedSpells(const char* oldPath, CompareLevel level, SpellComparison& comparison)
{
    comparison = SpellComparison{};
    comparison.level = level;
    SpellFile old;
    if (old.Read(oldPath) < 0) return -1;
    comparison.oldMoreLines = old.MoreLines();
    // Two tables, two cores: the descriptions read only their own table.
    RunSideBySide([&] { DescribeSpells(old.Table(), level, comparison.oldTexts); },
                  [&] { DescribeLoadedSpells(level, comparison.newTexts); });
    comparison.differences = CompareSpellTexts(comparison.oldTexts, comparison.newTexts);
    comparison.counts = CountChanges(comparison.differences);
    return 0;
}

std::vector<int> FilterDifferences(const SpellComparison& comparison, ChangeFilter filter,
                                   std::string_view namePart)
{
    const NameSearchText part(std::string(namePart).c_str());
    std::vector<int> shown;
    for (std::size_t i = 0; i < comparison.differences.size(); ++i) {
        const SpellDifference& d = comparison.differences[i];
        if (filter != ChangeFilter::All && static_cast<int>(d.change) + 1 != static_cast<int>(filter))
            continue;
        if (!part.FoundIn(DifferenceName(d, comparison.oldTexts, comparison.newTexts))) continue;
        shown.push_back(static_cast<int>(i));
    }
    return shown;
}

std::string DifferenceId(const SpellDifference& difference)
{
    std::array<char, 24> id{};
    if (difference.occurrence > 0) {
        std::snprintf(id.data(), id.size(), "%d#%d", difference.id, difference.occurrence + 1);
    } else {
        std::snprintf(id.data(), id.size(), "%d", difference.id);
    }
    return id.data();
}

std::string DifferenceRow(const SpellComparison& comparison, const SpellDifference& difference)
{
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%-7s %8s  ", kChangeWords[static_cast<int>(difference.change)],
                  DifferenceId(difference).c_str());
    std::string row = text.data();
    row += DifferenceName(difference, comparison.oldTexts, comparison.newTexts);
    if (difference.change == SpellChange::Changed) {
        const int fields = std::popcount(difference.fields);
        std::snprintf(text.data(), text.size(), "  (%d field%s)", fields, fields == 1 ? "" : "s");
        row += text.data();
    }
    return row;
}

std::string ComparisonSummary(const SpellComparison& c, const char* oldPath)
{
    std::string text = "Compared ";
    text += oldPath;
    std::array<char, 256> part{};
    std::snprintf(part.data(), part.size(),
                  " (%d spell%s) with the loaded file (%d spell%s): %d removed, %d added, %d changed. ",
                  c.oldTexts.Count(), c.oldTexts.Count() == 1 ? "" : "s", c.newTexts.Count(),
                  c.newTexts.Count() == 1 ? "" : "s", c.counts.removed, c.counts.added, c.counts.changed);
    text += part.data();
    if (c.level > 0) {
        std::snprintf(part.data(), part.size(), "Values at level %d.", c.level);
        text += part.data();
    } else {
        text += "Values as ranges over the levels.";
    }
    if (c.oldMoreLines) {
        std::snprintf(part.data(), part.size(),
                      " The other file holds more than %d lines: only its first %d were compared.",
                      MAX_SPELLS, MAX_SPELLS);
        text += part.data();
    }
    if (c.differences.empty()) text += " The files show no difference.";
    if (c.oldTexts.Count() == 0) {
        text += " The other file holds no spells.";
    } else if (c.newTexts.Count() > 0 && !ShareAnId(c)) {
        text += " The two files share no spell id: they may not be versions of one file.";
    }
    return text;
}

int DetailFields(const SpellComparison& comparison, const SpellDifference& difference,
                 std::array<DetailField, SPELL_TEXT_FIELDS>& fields)
{
    int count = 0;
    for (int field = 0; field < SPELL_TEXT_FIELDS; ++field) {
        DetailField shown{field, {}, {}, {}};
        if (difference.oldIndex >= 0) shown.oldText = comparison.oldTexts.Text(difference.oldIndex, field);
        if (difference.newIndex >= 0) shown.newText = comparison.newTexts.Text(difference.newIndex, field);
        const bool listed = difference.change == SpellChange::Changed
                                ? (difference.fields >> field & 1) != 0
                                : !(shown.oldText.empty() && shown.newText.empty());
        if (!listed) continue;
        if (difference.change == SpellChange::Changed)
            shown.marks = FindChangedWords(shown.oldText, shown.newText);
        fields[static_cast<std::size_t>(count++)] = shown;
    }
    return count;
}
