// Texts of a spell file put into the forms a player shares them in: plain
// text, Markdown (CommonMark with GitHub's tables) and HTML. Every text from
// the file is written so that it shows as exactly its characters and never
// becomes markup.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class TextFormat : int { Text, Markdown, Html };

// "text", "markdown" or "html"; false for any other name.
bool ParseTextFormat(std::string_view name, TextFormat& format);

// Appends a spell text (bytes) as it shows: UTF-8 as it is, other bytes read
// as Latin-1, and each control character (U+0000 to U+001F but the tab,
// U+007F to U+009F) as U+FFFD, so that no text can break a line or a table
// row.
void AppendShownText(std::string& out, std::string_view bytes);

// Appends a spell text as it shows, escaped for the format:
//  - Text: as it shows.
//  - Markdown: a backslash before every character that CommonMark or
//    GitHub's extensions would read (\ ` * _ [ ] < > | & ~ # $ ^ @ !, a ':'
//    before "//" and a '.' after "www"); blanks at either end as character
//    references, which a table cell would otherwise drop.
//  - Html: & < > " ' as character references.
void AppendEscaped(std::string& out, std::string_view bytes, TextFormat format);

// Appends a text with its bytes [markBegin, markEnd) marked as removed or
// added: HTML <del> or <ins>, Markdown ~~removed~~ or **added**; plain text
// is not marked. The bounds are those of the bytes given (as FindChangedWords
// gives them) and lie between characters; an empty range marks nothing.
enum class TextMark : int { Removed, Added };
void AppendMarked(std::string& out, std::string_view bytes, std::size_t markBegin, std::size_t markEnd,
                  TextMark mark, TextFormat format);

// Writes a table in Markdown (GitHub's tables) or HTML; its first row is its
// header. Plain text has no tables: rows are lines, cells joined by blanks.
class TableWriter {
public:
    TableWriter(std::string& out, TextFormat format);
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // Begins the next cell of the current row and returns the text its
    // content is appended to (with AppendEscaped, AppendMarked).
    std::string& Cell();
    void EndRow();
    // Ends the table.
    void Close();

private:
    void EndCell();

    std::string& out_;
    TextFormat format_;
    int rows_ = 0;
    int cells_ = 0;  // cells begun in the current row
};
