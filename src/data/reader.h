// The spell file reader: one line of `spells_us.txt` per record, 174 columns
// separated by '^'.
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string_view>

#include "data/spell.h"

// One column of a split line: a view into the line text, at most 259 bytes.
struct ColumnView {
    const char* text = "";
    int length = 0;
};

using SpellLineColumns = std::array<ColumnView, SPELL_FIELD_COUNT>;

// Splits one line into exactly 174 columns. The line text ends at `length`
// or at its first NUL byte, whichever comes first. A '^' ends a column; a
// column longer than 259 characters is cut at 259 and the rest of it, up to
// the next '^', is skipped, so later columns never shift. Columns the line
// does not reach are empty; text after the 174th column is ignored. The line
// feed stays in the column in which it is met. Returns the number of columns
// the line reaches (at most 174).
int SplitSpellLine(const char* line, std::size_t length, SpellLineColumns& columns);

// Converts a column like atoi: leading white space, an optional sign, then
// digits up to the first non-digit; no digits give 0. Numbers beyond the int
// range saturate at its ends (ReadInt).
int ColumnToInt(ColumnView column);

// Copies a column into a fixed text buffer.
void ColumnToText(ColumnView column, TextField& dest);

// Clears the record and fills it from one line of text (a C string).
void FillSpellStruct(const char* line, SpellStruct& record);

// Fills the record from an already split line.
void FillSpellStructFromColumns(const SpellLineColumns& columns, SpellStruct& record);

// Reads a text file line by line the way the spell reader does: a line is at
// most 4999 characters including its line feed; the rest of a longer line is
// skipped, so one physical line is always one line. A carriage return right
// before the line feed is dropped.
class SpellLineReader {
public:
    explicit SpellLineReader(std::FILE* file) : file_(file) {}
    SpellLineReader(const SpellLineReader&) = delete;
    SpellLineReader& operator=(const SpellLineReader&) = delete;

    // Reads the next line; false at the end of the file. The text stays
    // valid until the next call and is NUL-terminated.
    bool Next(const char*& line, std::size_t& length);

private:
    bool Refill();

    std::FILE* file_;
    std::array<char, 1 << 16> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    std::array<char, SPELL_LINE_CHARS> line_{};
};

// Opens a spell file for reading as text when it is a regular file or a pipe
// (a FIFO, a process substitution such as <(...)). Anything else, a
// directory or a device such as /dev/zero that never ends, is not opened:
// nullptr, as for a path that does not open.
std::FILE* OpenSpellFile(const char* path);

// Reads every line of the file into consecutive records of the table, from
// the first, at most table.size() of them. Returns the number of records
// filled (0 for an empty file), or -1 when the file does not open
// (OpenSpellFile); then the "Error" message is reported. When `moreLines` is given it is set to true
// when the file held more lines than the table holds; `shortLines` counts the
// lines read that reach fewer than the 174 columns of a spell record.
int ParseSpellFile(const char* path, std::span<SpellStruct> table, bool* moreLines = nullptr,
                   int* shortLines = nullptr);

// Reads spell lines from text in memory the same way; -1 only when the text
// cannot be read at all. Reports no message.
int ParseSpellText(std::string_view text, std::span<SpellStruct> table, bool* moreLines = nullptr);

// Room for a message that quotes a whole path.
using MessageText = std::array<char, 2 * SPELL_FIELD_CHARS>;

// The "Error" message text for a file that does not open.
void FormatOpenError(const char* path, MessageText& text);
