// Everything that reads the spell file or the settings file, on arbitrary
// bytes. The first byte chooses how many records the table has room for (its
// low four bits, so that running out of room is reached with small inputs)
// and which line the raw dump prints (its high four bits, minus one); the
// rest is the file, and also one line for the splitter and FillSpellStruct.
#include <algorithm>
#include <span>
#include <string_view>

#include "app/settings_format.h"
#include "data/reader.h"
#include "dump/dump.h"
#include "fuzz_support.h"

namespace {

constexpr auto IsBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };

// atoi with saturation, written plainly: the reader's faster conversion
// must agree with it on every column, and so must the settings numbers.
int ReferenceToInt(const char* p, const char* end)
{
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    long long magnitude = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        magnitude = std::min(magnitude * 10 + (*p - '0'), 1LL << 31);
    return static_cast<int>(std::min(negative ? -magnitude : magnitude, static_cast<long long>(INT_MAX)));
}

// Texts within their buffers, and nothing left over from before in the fields the reader does not fill.
void CheckRecord(const SpellStruct& r)
{
    FUZZ_CHECK(IsTerminated(r.name) && IsTerminated(r.column2Text) && IsTerminated(r.teleportZone) &&
               IsTerminated(r.message1) && IsTerminated(r.message2) && IsTerminated(r.message3));
    FUZZ_CHECK(r.column4Text[0] == '\0' && r.isInstant == 0 && r.effectText[NUM_EFFECT_SLOTS - 1][0] == '\0');
}

// The splitter sees the bytes exactly, NUL bytes included; FillSpellStruct
// takes a C string, the same bytes up to the first NUL.
void CheckLine(std::string_view bytes)
{
    SpellLineColumns columns;
    SplitSpellLine(bytes.data(), bytes.size(), columns);
    for (const ColumnView& column : columns) {
        FUZZ_CHECK(column.length >= 0 && column.length <= SPELL_FIELD_CHARS - 1);
        if (column.length == 0) continue;
        // A view into the line, never past its end, never across a caret.
        FUZZ_CHECK(column.text >= bytes.data() && column.text + column.length <= bytes.data() + bytes.size());
        FUZZ_CHECK(std::memchr(column.text, '^', static_cast<std::size_t>(column.length)) == nullptr);
        TextField text;
        ColumnToText(column, text);
        FUZZ_CHECK(IsTerminated(text) && std::strlen(text.data()) <= static_cast<std::size_t>(column.length));
        FUZZ_CHECK(ColumnToInt(column) == ReferenceToInt(column.text, column.text + column.length));
    }
    const std::string line(bytes);
    static SpellStruct record;
    static SpellStruct fromColumns;
    std::memset(static_cast<void*>(&record), 0x5A, sizeof record);
    FillSpellStruct(line.c_str(), record);
    CheckRecord(record);
    SplitSpellLine(line.c_str(), std::strlen(line.c_str()), columns);
    FillSpellStructFromColumns(columns, fromColumns);
    FUZZ_CHECK(std::memcmp(&record, &fromColumns, sizeof record) == 0);

    // A name accepted as a dump file's name stays one path component.
    if (!IsSafeDumpFileName(line.c_str())) return;
    const std::string_view name = line.c_str();
    FUZZ_CHECK(!name.empty() && name != "." && name != "..");
    for (const char c : name) FUZZ_CHECK(c != '/' && c != '\\' && static_cast<unsigned char>(c) >= 0x20);
}

void CheckSpellFile(const MemoryFile& file, std::string_view bytes, std::size_t room)
{
    // Every line feed ends a line, and text after the last one is one more.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                (!bytes.empty() && bytes.back() != '\n'));
    // One record more than the room given: it must come through untouched.
    static std::array<SpellStruct, 16> table;
    static SpellStruct guard;
    std::memset(static_cast<void*>(table.data()), 0xA5, sizeof table);
    std::memset(static_cast<void*>(&guard), 0xA5, sizeof guard);
    bool moreLines = true;
    const int count = ParseSpellFile(file.path.c_str(), std::span(table.data(), room), &moreLines);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) == std::min(lines, room));
    FUZZ_CHECK(moreLines == (lines > room));
    FUZZ_CHECK(std::memcmp(&table[room], &guard, sizeof guard) == 0);
    for (int i = 0; i < count; ++i) CheckRecord(table[static_cast<std::size_t>(i)]);
    // The whole table, as the program loads it: at most 4000 records.
    const int loaded = ParseSpellFile(file.path.c_str(), g_spellArray);
    FUZZ_CHECK(loaded >= 0 && static_cast<std::size_t>(loaded) == std::min(lines, std::size_t{MAX_SPELLS}));
}

// Line n of the bytes as the settings reader should give it: at most 259
// bytes, ending at the first NUL, without the line feed and a carriage return
// right before it (unless the line was too long to keep whole).
bool ReferenceSettingsLine(std::string_view bytes, int n, std::string& line)
{
    for (; n > 0 && bytes.find('\n') != std::string_view::npos; --n)
        bytes.remove_prefix(bytes.find('\n') + 1);
    if (n > 0 || bytes.empty()) return false;
    std::string_view text = bytes.substr(0, bytes.find('\n'));
    if (text.size() < bytes.size() && !text.empty() && text.size() < SPELL_FIELD_CHARS && text.back() == '\r')
        text.remove_suffix(1);
    line = std::string(text.substr(0, SPELL_FIELD_CHARS - 1)).c_str();
    return true;
}

bool ReferenceFourInts(const char* p, std::array<int, 4>& values)
{
    for (int& value : values) {
        while (IsBlank(*p)) ++p;
        const char* end = p + (*p == '+' || *p == '-');
        if (*end < '0' || *end > '9') return false;
        while (*end >= '0' && *end <= '9') ++end;
        value = ReferenceToInt(p, end);
        p = end;
    }
    return true;
}

void CheckSettingsFile(const MemoryFile& file, std::string_view bytes)
{
    std::FILE* stream = std::fopen(file.path.c_str(), "r");
    std::array<TextField, 2> lines;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        lines[n].fill('X');
        std::string expected;
        FUZZ_CHECK(ReadSettingsLine(stream, lines[n]) ==
                   ReferenceSettingsLine(bytes, static_cast<int>(n), expected));
        FUZZ_CHECK(IsTerminated(lines[n]) && expected == lines[n].data());
    }
    std::fclose(stream);
    std::array<int, 4> values{};
    std::array<int, 4> expected{};
    FUZZ_CHECK(ParseFourInts(lines[1].data(), values) == ReferenceFourInts(lines[1].data(), expected));
    FUZZ_CHECK(values == expected);
}

// The raw dump: 174 "Field %d = " lines in column order, each column's text
// within its buffer; only the column that holds the line's end has a line feed.
void CheckDump(const MemoryFile& file, int spellNumber)
{
    static MemoryFile out;
    out.Assign(nullptr, 0);
    const int result = DumpSpell(spellNumber, file.path.c_str(), out.path.c_str());
    FUZZ_CHECK(result == (spellNumber < 0 ? -1 : 0));
    std::string dump(SPELL_FIELD_COUNT * (SPELL_FIELD_CHARS + 16), '\0');
    dump.resize(static_cast<std::size_t>(::pread(out.fd, dump.data(), dump.size(), 0)));
    std::string_view rest = dump;
    for (int column = 0; column < (spellNumber < 0 ? 0 : SPELL_FIELD_COUNT); ++column) {
        const std::string prefix = "Field " + std::to_string(column) + " = ";
        std::size_t end = rest.find('\n');
        if (end != std::string_view::npos && rest.substr(end + 1).starts_with('\n')) ++end;  // the line's end
        FUZZ_CHECK(rest.starts_with(prefix) && end != std::string_view::npos);
        FUZZ_CHECK(end - prefix.size() <= SPELL_FIELD_CHARS - 1);
        rest.remove_prefix(end + 1);
    }
    FUZZ_CHECK(rest.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    static MemoryFile file;
    file.Assign(bytes.data(), bytes.size());
    CheckLine(bytes);
    CheckSpellFile(file, bytes, data[0] & 15);
    CheckSettingsFile(file, bytes);
    CheckDump(file, (data[0] >> 4) - 1);
    return 0;
}
