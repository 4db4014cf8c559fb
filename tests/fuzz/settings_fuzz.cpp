// The settings file's reading on arbitrary files: the two lines and the four
// numbers of the second one.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/settings_format.h"
#include "fuzz_support.h"

namespace {

// Independent reading of "%d %d %d %d" with saturation, built on strtoll.
bool ReferenceFourInts(const char* text, std::array<int, 4>& values)
{
    const char* p = text;
    for (int& value : values) {
        while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
        const char* digits = p + (*p == '+' || *p == '-');
        if (*digits < '0' || *digits > '9') return false;
        char* end = nullptr;
        errno = 0;
        long long wide = std::strtoll(p, &end, 10);
        if (wide > INT_MAX) wide = INT_MAX;
        if (wide < INT_MIN) wide = INT_MIN;
        value = static_cast<int>(wide);
        p = end;
    }
    return true;
}

// The n-th line (0-based) of the bytes as the settings reader should give
// it: at most 259 bytes, ending at the first NUL, without the line feed and
// a carriage return right before it (unless the line was too long to keep
// whole). False when the bytes have no such line.
bool ReferenceLine(const std::uint8_t* data, std::size_t size, int n, std::string& line)
{
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const void* lf = std::memchr(data + start, '\n', size - start);
        if (!lf) return false;
        start = static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - data) + 1;
    }
    if (start >= size) return false;
    const void* lf = std::memchr(data + start, '\n', size - start);
    std::size_t end = lf ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - data) : size;
    std::size_t length = end - start;
    constexpr std::size_t kRoom = SPELL_FIELD_CHARS - 1;
    if (lf && length > 0 && length <= kRoom && data[end - 1] == '\r') --length;
    if (length > kRoom) length = kRoom;
    line.assign(reinterpret_cast<const char*>(data + start), length);
    line = line.c_str();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MemoryFile memory;
    memory.Assign(data, size);
    std::FILE* file = std::fopen(memory.path(), "r");
    FUZZ_CHECK(file != nullptr);

    TextField line1;
    TextField line2;
    line1.fill('X');
    line2.fill('X');
    const bool got1 = ReadSettingsLine(file, line1);
    const bool got2 = ReadSettingsLine(file, line2);
    std::fclose(file);
    FUZZ_CHECK(got1 || !got2);
    FUZZ_CHECK(got1 == (size > 0));
    for (const TextField* line : {&line1, &line2}) {
        FUZZ_CHECK(IsTerminated(*line));
        // The line's end is removed: no line feed is left in it.
        const std::size_t n = std::strlen(line->data());
        FUZZ_CHECK(std::memchr(line->data(), '\n', n) == nullptr);
    }
    if (!got2) FUZZ_CHECK(line2[0] == '\0');
    std::string expected1;
    std::string expected2;
    FUZZ_CHECK(got1 == ReferenceLine(data, size, 0, expected1));
    FUZZ_CHECK(got2 == ReferenceLine(data, size, 1, expected2));
    FUZZ_CHECK(expected1 == line1.data());
    FUZZ_CHECK(expected2 == line2.data());

    std::array<int, 4> values{};
    std::array<int, 4> expected{};
    const bool parsed = ParseFourInts(line2.data(), values);
    FUZZ_CHECK(parsed == ReferenceFourInts(line2.data(), expected));
    if (!parsed) return 0;
    FUZZ_CHECK(values == expected);
    return 0;
}
