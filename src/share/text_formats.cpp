#include "share/text_formats.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "data/text_encoding.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Control characters other than the tab, which is a blank.
bool IsControl(unsigned int cp)
{
    return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F);
}

// Appends a code point below U+0800 as UTF-8.
void AppendSmall(std::string& out, unsigned int cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The length of the UTF-8 sequence that starts with byte c (valid text).
std::size_t SequenceLength(unsigned char c)
{
    return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// The code point of the valid UTF-8 sequence at text[at].
unsigned int CodePointAt(std::string_view text, std::size_t at, std::size_t length)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data() + at);
    if (length == 1) return s[0];
    unsigned int cp = s[0] & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (s[k] & 0x3Fu);
    return cp;
}

// Unicode space separators: CommonMark reads them as whitespace next to an
// emphasis delimiter, so a mark that ends in one would not close.
bool IsUnicodeSpace(unsigned int cp)
{
    return cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F ||
           cp == 0x3000;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void AppendReference(std::string& out, unsigned int cp)
{
    std::array<char, 16> reference{};
    std::snprintf(reference.data(), reference.size(), "&#%u;", cp);
    out += reference.data();
}

constexpr std::string_view kMarkdownSpecial = "\\`*_[]<>|&~#$^@!";

// Appends shown text escaped for Markdown. Blanks at the start (atStart) and
// at the end (atEnd) of the whole text become references.
void AppendMarkdown(std::string& out, std::string_view text, bool atStart, bool atEnd)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    if (atStart) {
        while (first < text.size() && IsBlank(text[first]))
            AppendReference(out, text[first++] == ' ' ? 32 : 9);
    }
    std::size_t trailing = last;
    if (atEnd) {
        while (trailing > first && IsBlank(text[trailing - 1])) --trailing;
    }
    for (std::size_t i = first; i < trailing;) {
        const char c = text[i];
        const std::size_t length = SequenceLength(static_cast<unsigned char>(c));
        if (length > 1) {
            const unsigned int cp = CodePointAt(text, i, length);
            if (IsUnicodeSpace(cp)) {
                AppendReference(out, cp);
            } else {
                out.append(text.substr(i, length));
            }
            i += length;
            continue;
        }
        // GitHub links "http://...", "www." and the like by themselves.
        const bool link = (c == ':' && text.substr(i + 1, 2) == "//") ||
                          (c == '.' && i >= 3 && text.substr(i - 3, 3) == "www");
        if (link || kMarkdownSpecial.find(c) != std::string_view::npos) out += '\\';
        out += c;
        ++i;
    }
    for (std::size_t i = trailing; i < last; ++i) AppendReference(out, text[i] == ' ' ? 32 : 9);
}

void AppendHtml(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
}

// Shown text, escaped; atStart/atEnd: the part begins/ends the whole text.
void AppendShownEscaped(std::string& out, std::string_view shown, TextFormat format, bool atStart, bool atEnd)
{
    switch (format) {
        case TextFormat::Text:
            out += shown;
            break;
        case TextFormat::Markdown:
            AppendMarkdown(out, shown, atStart, atEnd);
            break;
        case TextFormat::Html:
            AppendHtml(out, shown);
            break;
    }
}

// A scratch buffer for the shown form of one text, kept between calls.
std::string& Scratch()
{
    thread_local std::string scratch;
    scratch.clear();
    return scratch;
}

// Appends bytes as they show, read as UTF-8 or else as Latin-1.
void AppendShown(std::string& out, std::string_view bytes, bool utf8)
{
    if (!utf8) {
        for (const char c : bytes) {
            const auto cp = static_cast<unsigned char>(c);
            if (IsControl(cp)) {
                out += kReplacement;
            } else {
                AppendSmall(out, cp);
            }
        }
        return;
    }
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(bytes[i])), bytes.size() - i);
        if (length <= 2 && IsControl(CodePointAt(bytes, i, length))) {
            out += kReplacement;
        } else {
            out.append(bytes.substr(i, length));
        }
        i += length;
    }
}

}  // namespace

bool ParseTextFormat(std::string_view name, TextFormat& format)
{
    constexpr std::array<std::pair<std::string_view, TextFormat>, 3> kNames = {
        {{"text", TextFormat::Text}, {"markdown", TextFormat::Markdown}, {"html", TextFormat::Html}}};
    for (const auto& [known, value] : kNames) {
        if (name == known) {
            format = value;
            return true;
        }
    }
    return false;
}

void AppendShownText(std::string& out, std::string_view bytes)
{
    AppendShown(out, bytes, IsValidUtf8(bytes.data(), bytes.size()));
}

void AppendEscaped(std::string& out, std::string_view bytes, TextFormat format)
{
    std::string& shown = Scratch();
    AppendShownText(shown, bytes);
    AppendShownEscaped(out, shown, format, true, true);
}

void AppendMarked(std::string& out, std::string_view bytes, std::size_t markBegin, std::size_t markEnd,
                  TextMark mark, TextFormat format)
{
    markEnd = std::min(markEnd, bytes.size());
    markBegin = std::min(markBegin, markEnd);
    if (markBegin == markEnd || format == TextFormat::Text) {
        AppendEscaped(out, bytes, format);
        return;
    }
    // Each part is shown on its own: the bounds lie between characters.
    const std::string_view parts[] = {bytes.substr(0, markBegin),
                                      bytes.substr(markBegin, markEnd - markBegin), bytes.substr(markEnd)};
    const bool removed = mark == TextMark::Removed;
    const std::string_view open =
        format == TextFormat::Html ? (removed ? "<del>" : "<ins>") : (removed ? "~~" : "**");
    const std::string_view close = format == TextFormat::Html ? (removed ? "</del>" : "</ins>") : open;
    const bool utf8 = IsValidUtf8(bytes.data(), bytes.size());
    for (int p = 0; p < 3; ++p) {
        std::string& shown = Scratch();
        AppendShown(shown, parts[p], utf8);
        if (p == 1) out += open;
        AppendShownEscaped(out, shown, format, p == 0 || markBegin == 0, p == 2 || markEnd == bytes.size());
        if (p == 1) out += close;
    }
}

TableWriter::TableWriter(std::string& out, TextFormat format) : out_(out), format_(format)
{
    if (format_ == TextFormat::Html) out_ += "<table>\n";
}

void TableWriter::EndCell()
{
    if (cells_ > 0 && format_ == TextFormat::Html) out_ += rows_ == 0 ? "</th>" : "</td>";
}

std::string& TableWriter::Cell()
{
    EndCell();
    switch (format_) {
        case TextFormat::Text:
            if (cells_ > 0) out_ += ' ';
            break;
        case TextFormat::Markdown:
            out_ += cells_ == 0 ? "| " : " | ";
            break;
        case TextFormat::Html:
            if (cells_ == 0) out_ += "<tr>";
            out_ += rows_ == 0 ? "<th>" : "<td>";
            break;
    }
    ++cells_;
    return out_;
}

void TableWriter::EndRow()
{
    EndCell();
    switch (format_) {
        case TextFormat::Text:
            out_ += '\n';
            break;
        case TextFormat::Markdown:
            out_ += " |\n";
            if (rows_ == 0) {
                for (int c = 0; c < cells_; ++c) out_ += "| --- ";
                out_ += "|\n";
            }
            break;
        case TextFormat::Html:
            out_ += "</tr>\n";
            break;
    }
    ++rows_;
    cells_ = 0;
}

void TableWriter::Close()
{
    if (cells_ > 0) EndRow();
    if (format_ == TextFormat::Html) out_ += "</table>\n";
}
