// The spell file reader on arbitrary bytes. The first input byte chooses how
// many records the table has room for (so that running out of room is
// reached with small inputs); the rest is one line for the splitter and
// FillSpellStruct, and the whole file for ParseSpellFile.
#include <climits>
#include <cstring>
#include <span>
#include <string>

#include "data/messages.h"
#include "data/reader.h"
#include "fuzz_support.h"

namespace {

// atoi with saturation, written plainly: the reader's faster conversion
// must agree with it on every column.
int ReferenceToInt(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    long long magnitude = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 2147483648LL) magnitude = 2147483648LL;
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

void CheckColumns(const char* line, std::size_t length, const SpellLineColumns& columns)
{
    const char* end = line + length;
    for (const ColumnView& column : columns) {
        FUZZ_CHECK(column.length >= 0 && column.length <= SPELL_FIELD_CHARS - 1);
        if (column.length == 0) continue;
        // A column is a view into the line, never past its end, never
        // across a caret.
        FUZZ_CHECK(column.text >= line && column.text + column.length <= end);
        FUZZ_CHECK(std::memchr(column.text, '^', static_cast<std::size_t>(column.length)) == nullptr);
    }
}

void CheckRecord(const SpellStruct& record)
{
    for (const TextField* field :
         {&record.name, &record.column2Text, &record.teleportZone, &record.column4Text, &record.column5Text,
          &record.message1, &record.message2, &record.message3}) {
        FUZZ_CHECK(IsTerminated(*field));
    }
    FUZZ_CHECK(record.column4Text[0] == '\0' && record.column5Text[0] == '\0');
    FUZZ_CHECK(record.message2[0] == '\0' || std::strncmp(record.message2.data(), "Someone", 7) == 0);
    FUZZ_CHECK(record.isInstant == 0);
    for (const TextField& text : record.effectText) FUZZ_CHECK(text[0] == '\0');
}

constexpr std::size_t kMaxRoom = 16;

// Lines the reader sees: every line feed ends one, and text after the last
// line feed is one more.
std::size_t CountLines(const std::uint8_t* data, std::size_t size)
{
    std::size_t lines = 0;
    for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
    if (size > 0 && data[size - 1] != '\n') ++lines;
    return lines;
}

// The splitter sees the bytes exactly, NUL bytes included, with nothing
// readable past their end.
void CheckLine(const char* bytes, std::size_t size)
{
    SpellLineColumns columns;
    SplitSpellLine(bytes, size, columns);
    CheckColumns(bytes, size, columns);
    for (const ColumnView& column : columns) {
        TextField text;
        ColumnToText(column, text);
        FUZZ_CHECK(IsTerminated(text));
        FUZZ_CHECK(std::strlen(text.data()) <= static_cast<std::size_t>(column.length));
        FUZZ_CHECK(ColumnToInt(column) == ReferenceToInt(column.text, column.text + column.length));
    }

    // FillSpellStruct takes a C string: the same bytes up to the first NUL.
    const std::string line(bytes, size);
    static SpellStruct record;
    std::memset(static_cast<void*>(&record), 0x5A, sizeof record);
    FillSpellStruct(line.c_str(), record);
    CheckRecord(record);

    // Both ways of filling give the same record.
    static SpellStruct fromColumns;
    SplitSpellLine(line.c_str(), std::strlen(line.c_str()), columns);
    FillSpellStructFromColumns(columns, fromColumns);
    FUZZ_CHECK(std::memcmp(&record, &fromColumns, sizeof record) == 0);
}

void CheckFile(const std::uint8_t* data, std::size_t size)
{
    static MemoryFile file;
    const std::size_t room = data[0] % (kMaxRoom + 1);
    file.Assign(data + 1, size - 1);

    // One record more than the room given: it must come through untouched.
    static std::array<SpellStruct, kMaxRoom + 1> table;
    std::memset(static_cast<void*>(table.data()), 0xA5, sizeof table);
    static SpellStruct guard;
    std::memset(static_cast<void*>(&guard), 0xA5, sizeof guard);

    bool moreLines = true;
    const int count = ParseSpellFile(file.path(), std::span(table.data(), room), &moreLines);

    const std::size_t lines = CountLines(data + 1, size - 1);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= room);
    FUZZ_CHECK(static_cast<std::size_t>(count) == (lines < room ? lines : room));
    FUZZ_CHECK(moreLines == (lines > room));
    FUZZ_CHECK(std::memcmp(&table[room], &guard, sizeof guard) == 0);
    for (int i = 0; i < count; ++i) {
        const SpellStruct& record = table[static_cast<std::size_t>(i)];
        FUZZ_CHECK(IsTerminated(record.name) && IsTerminated(record.teleportZone) &&
                   IsTerminated(record.message1) && IsTerminated(record.message2) &&
                   IsTerminated(record.message3) && IsTerminated(record.column2Text));
        FUZZ_CHECK(record.isInstant == 0);
    }

    // The whole table, as the program loads it: at most 4000 records.
    const int loaded = ParseSpellFile(file.path(), g_spellArray);
    FUZZ_CHECK(loaded >= 0 && loaded <= MAX_SPELLS);
    FUZZ_CHECK(static_cast<std::size_t>(loaded) == (lines < MAX_SPELLS ? lines : MAX_SPELLS));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    CheckLine(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckFile(data, size);
    return 0;
}
