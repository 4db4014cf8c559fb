#include "compare/compare.h"

#include <algorithm>
#include <string>

#include "data/text_encoding.h"
#include "data/text_rules.h"

namespace {

// A record of one file with its place among the records holding its id.
struct Occurrence {
    int32_t id;
    int occurrence;
    int index;
};

std::vector<Occurrence> Occurrences(const SpellTexts& texts)
{
    std::vector<Occurrence> list(static_cast<std::size_t>(texts.Count()));
    for (int i = 0; i < texts.Count(); ++i) list[static_cast<std::size_t>(i)] = {texts.Id(i), 0, i};
    std::sort(list.begin(), list.end(), [](const Occurrence& a, const Occurrence& b) {
        return a.id != b.id ? a.id < b.id : a.index < b.index;
    });
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i].id == list[i - 1].id) list[i].occurrence = list[i - 1].occurrence + 1;
    }
    return list;
}

bool Before(const Occurrence& a, const Occurrence& b)
{
    return a.id != b.id ? a.id < b.id : a.occurrence < b.occurrence;
}

uint64_t ChangedFields(const SpellTexts& oldTexts, int oldIndex, const SpellTexts& newTexts, int newIndex)
{
    uint64_t fields = 0;
    for (int field = 0; field < SPELL_TEXT_FIELDS; ++field) {
        if (oldTexts.Text(oldIndex, field) != newTexts.Text(newIndex, field)) fields |= uint64_t{1} << field;
    }
    return fields;
}

// Counts the words of a text.
std::size_t WordCount(std::string_view text)
{
    std::size_t words = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsWhiteSpace(text[i]) && (i == 0 || IsWhiteSpace(text[i - 1]))) ++words;
    }
    return words;
}

// The next word at or after `from`: [begin, end), or begin == size when none.
std::pair<std::size_t, std::size_t> NextWord(std::string_view text, std::size_t from)
{
    std::size_t begin = from;
    while (begin < text.size() && IsWhiteSpace(text[begin])) ++begin;
    std::size_t end = begin;
    while (end < text.size() && !IsWhiteSpace(text[end])) ++end;
    return {begin, end};
}

// The last word ending at or before `to`: [begin, end).
std::pair<std::size_t, std::size_t> PreviousWord(std::string_view text, std::size_t to)
{
    std::size_t end = to;
    while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
    std::size_t begin = end;
    while (begin > 0 && !IsWhiteSpace(text[begin - 1])) --begin;
    return {begin, end};
}

}  // namespace

std::vector<SpellDifference> CompareSpellTexts(const SpellTexts& oldTexts, const SpellTexts& newTexts)
{
    const std::vector<Occurrence> olds = Occurrences(oldTexts);
    const std::vector<Occurrence> news = Occurrences(newTexts);
    std::vector<SpellDifference> differences;
    std::size_t o = 0;
    std::size_t n = 0;
    while (o < olds.size() || n < news.size()) {
        if (n == news.size() || (o < olds.size() && Before(olds[o], news[n]))) {
            const Occurrence& old = olds[o++];
            differences.push_back({SpellChange::Removed, old.id, old.occurrence, old.index, -1, 0});
        } else if (o == olds.size() || Before(news[n], olds[o])) {
            const Occurrence& added = news[n++];
            differences.push_back({SpellChange::Added, added.id, added.occurrence, -1, added.index, 0});
        } else {
            const Occurrence& old = olds[o++];
            const Occurrence& now = news[n++];
            const uint64_t fields = ChangedFields(oldTexts, old.index, newTexts, now.index);
            if (fields != 0)
                differences.push_back(
                    {SpellChange::Changed, now.id, now.occurrence, old.index, now.index, fields});
        }
    }
    return differences;
}

std::string_view DifferenceName(const SpellDifference& difference, const SpellTexts& oldTexts,
                                const SpellTexts& newTexts)
{
    return difference.change == SpellChange::Removed ? oldTexts.Name(difference.oldIndex)
                                                     : newTexts.Name(difference.newIndex);
}

ChangeCounts CountChanges(const std::vector<SpellDifference>& differences)
{
    ChangeCounts counts;
    for (const SpellDifference& d : differences) {
        switch (d.change) {
            case SpellChange::Removed:
                ++counts.removed;
                break;
            case SpellChange::Added:
                ++counts.added;
                break;
            case SpellChange::Changed:
                ++counts.changed;
                break;
        }
    }
    return counts;
}

ChangedWords FindChangedWords(std::string_view oldText, std::string_view newText)
{
    if (oldText == newText) return {oldText.size(), oldText.size(), newText.size(), newText.size()};
    const std::size_t oldWords = WordCount(oldText);
    const std::size_t newWords = WordCount(newText);
    const std::size_t fewer = std::min(oldWords, newWords);

    // Leading words both share.
    std::size_t same = 0;
    std::size_t oldAt = 0;
    std::size_t newAt = 0;
    ChangedWords span{0, oldText.size(), 0, newText.size()};
    while (same < fewer) {
        const auto [ob, oe] = NextWord(oldText, oldAt);
        const auto [nb, ne] = NextWord(newText, newAt);
        if (oldText.substr(ob, oe - ob) != newText.substr(nb, ne - nb)) break;
        ++same;
        oldAt = oe;
        newAt = ne;
    }
    if (same == oldWords && same == newWords) return span;  // only blanks differ
    span.oldBegin = NextWord(oldText, oldAt).first;
    span.newBegin = NextWord(newText, newAt).first;

    // Trailing words both share, not reaching back into the leading ones.
    std::size_t trailing = 0;
    std::size_t oldTo = oldText.size();
    std::size_t newTo = newText.size();
    while (trailing < fewer - same) {
        const auto [ob, oe] = PreviousWord(oldText, oldTo);
        const auto [nb, ne] = PreviousWord(newText, newTo);
        if (oldText.substr(ob, oe - ob) != newText.substr(nb, ne - nb)) break;
        ++trailing;
        oldTo = ob;
        newTo = nb;
    }
    span.oldEnd = std::max(PreviousWord(oldText, oldTo).second, span.oldBegin);
    span.newEnd = std::max(PreviousWord(newText, newTo).second, span.newBegin);
    return span;
}

bool NameContains(std::string_view name, std::string_view part)
{
    return NameSearchText(std::string(part).c_str()).FoundIn(name);
}
