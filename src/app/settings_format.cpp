#include "app/settings_format.h"

#include <cstring>

#include "data/reader.h"
#include "data/text_rules.h"

bool ReadSettingsLine(std::FILE* file, TextField& line)
{
    // Byte by byte rather than fgets: a NUL byte inside the line must not
    // hide its line feed, or the next line would be skipped with the rest.
    const std::size_t room = line.size() - 1;
    std::size_t n = 0;
    bool any = false;
    bool cut = false;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (n < room) {
            line[n++] = static_cast<char>(c);
        } else {
            cut = true;  // the rest of a longer line is skipped
        }
    }
    // A carriage return right before the line feed is part of the line's end.
    if (c == '\n' && !cut && n > 0 && line[n - 1] == '\r') --n;
    line[n] = '\0';
    return any;
}

bool ParseFourInts(const char* text, std::array<int, 4>& values)
{
    const char* p = text;
    const char* const end = text + std::strlen(text);
    for (int& value : values) {
        if (!ScanInt(p, end, value)) return false;
    }
    return true;
}

const char* SettingsPathProblem(const char* path)
{
    const std::size_t length = ::strnlen(path, SPELL_FIELD_CHARS);
    if (length > SPELL_FIELD_CHARS - 1) return kPathTooLong;
    if (std::memchr(path, '\n', length) != nullptr) return "it holds a line feed";
    if (length > 0 && path[length - 1] == '\r') return "it ends in a carriage return";
    return nullptr;
}
