// A comparison of two spell files written as a patch report: the two files,
// the level setting, the count of each kind, then the removed, the added and
// the changed spells, each changed spell with a table Field | Old | New of
// its changed fields, the words that differ marked. The same comparison
// gives the same report, byte for byte: it holds no time or date.
#pragma once

#include <string>
#include <string_view>

#include "compare/comparison.h"
#include "data/spell.h"
#include "share/text_formats.h"

// The caption a field shows under in a report and in the comparison window:
// the detail window's caption without its colon ("Duration"), or "Slot 3".
void FieldCaption(int field, TextField& caption);

// What a report names its two files by (as given, UTF-8 or Latin-1 bytes).
struct ReportFiles {
    std::string_view oldName;
    std::string_view newName;
};

// Appends the report of the differences the comparison window's list shows
// for the kind filter and the name part: in Markdown (CommonMark with
// GitHub's tables and strikethrough; removed words ~~old~~, added words
// **new**) or, for TextFormat::Html, as one self-contained HTML page (its
// styles inside, no script, nothing it loads; <del> and <ins>). Plain text
// is written as Markdown.
void WriteComparisonReport(const SpellComparison& comparison, ChangeFilter filter, std::string_view namePart,
                           const ReportFiles& files, TextFormat format, std::string& out);

// The report's format for a file name: HTML for a name ending in ".html" or
// ".htm" (in any case), Markdown for any other.
TextFormat ReportFormatFor(std::string_view path);
