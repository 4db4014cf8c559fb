#include "app/settings_format.h"

#include <cstring>

#include "data/reader.h"

bool ReadSettingsLine(std::FILE* file, TextField& line)
{
    if (!std::fgets(line.data(), static_cast<int>(line.size()), file)) {
        line[0] = '\0';
        return false;
    }
    std::size_t n = std::strlen(line.data());
    if (n > 0 && line[n - 1] == '\n') {
        line[--n] = '\0';
        if (n > 0 && line[n - 1] == '\r') line[--n] = '\0';
    } else {
        // The line did not fit: skip the rest of it.
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    return true;
}

bool ParseFourInts(const char* text, std::array<int, 4>& values)
{
    const char* p = text;
    for (int& value : values) {
        while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
        const char* start = p;
        if (*p == '+' || *p == '-') ++p;
        if (*p < '0' || *p > '9') return false;
        while (*p >= '0' && *p <= '9') ++p;
        value = ColumnToInt({start, static_cast<int>(p - start)});
    }
    return true;
}
