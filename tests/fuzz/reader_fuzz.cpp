// Everything that reads the spell file or the settings file, on arbitrary
// bytes. The first byte chooses how many records the table has room for (its
// low four bits, so that running out of room is reached with small inputs)
// and which line the raw dump prints (its high four bits, minus one); the
// rest is the file, and also one line for the splitter.
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

// Texts within their buffers, nothing left over from before in the fields
// the reader does not fill, and a name accepted as a dump file's name is one
// path component.
void CheckRecord(const SpellStruct& r)
{
    FUZZ_CHECK(IsTerminated(r.name) && IsTerminated(r.column2Text) && IsTerminated(r.teleportZone) &&
               IsTerminated(r.message1) && IsTerminated(r.message2) && IsTerminated(r.message3));
    FUZZ_CHECK(r.column4Text[0] == '\0' && r.isInstant == 0 && r.effectText[NUM_EFFECT_SLOTS - 1][0] == '\0');
    if (!IsSafeDumpFileName(r.name.data())) return;
    const std::string_view name = r.name.data();
    FUZZ_CHECK(!name.empty() && name != "." && name != "..");
    for (const char c : name) FUZZ_CHECK(c != '/' && c != '\\' && static_cast<unsigned char>(c) >= 0x20);
}

// The splitter sees the bytes exactly, NUL bytes included.
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
}

void CheckSpellFile(const MemoryFile& file, std::string_view bytes, std::size_t room)
{
    // Every line feed ends a line, and text after the last one is one more.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                (!bytes.empty() && bytes.back() != '\n'));
    // One record more than the room given: it must come through untouched.
    static std::array<SpellStruct, 16> table;
    std::memset(static_cast<void*>(table.data()), 0xA5, sizeof table);
    bool moreLines = true;
    const int count = ParseSpellFile(file.path.c_str(), std::span(table.data(), room), &moreLines);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) == std::min(lines, room) &&
               moreLines == (lines > room));
    const auto* past = reinterpret_cast<const unsigned char*>(&table[room]);
    FUZZ_CHECK(std::all_of(past, past + sizeof(SpellStruct), [](unsigned char b) { return b == 0xA5; }));
    for (int i = 0; i < count; ++i) CheckRecord(table[i]);
    // The whole table, as the program loads it: at most 4000 records.
    const int loaded = ParseSpellFile(file.path.c_str(), g_spellArray);
    FUZZ_CHECK(loaded >= 0 && static_cast<std::size_t>(loaded) == std::min(lines, std::size_t{MAX_SPELLS}));
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
    for (TextField& line : lines) {
        // As the reader should give it: at most 259 bytes, up to the first NUL, without the line feed and a
        // carriage return right before it (unless the line was too long to keep whole).
        const std::size_t lf = bytes.find('\n');
        std::string_view text = bytes.substr(0, lf);
        if (lf != text.npos && !text.empty() && text.size() < SPELL_FIELD_CHARS && text.back() == '\r')
            text.remove_suffix(1);
        line.fill('X');
        FUZZ_CHECK(ReadSettingsLine(stream, line) == !bytes.empty() && IsTerminated(line));
        FUZZ_CHECK(std::string(text.substr(0, SPELL_FIELD_CHARS - 1)).c_str() ==
                   std::string_view(line.data()));
        bytes.remove_prefix(lf == text.npos ? bytes.size() : lf + 1);
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
    FUZZ_CHECK(DumpSpell(spellNumber, file.path.c_str(), out.path.c_str()) == (spellNumber < 0 ? -1 : 0));
    std::string dump(1 << 16, '\0');
    std::string_view rest(dump.data(),
                          static_cast<std::size_t>(::pread(out.fd, dump.data(), dump.size(), 0)));
    for (int column = 0; column < (spellNumber < 0 ? 0 : SPELL_FIELD_COUNT); ++column) {
        const std::string prefix = "Field " + std::to_string(column) + " = ";
        std::size_t end = rest.find('\n');
        if (end != rest.npos && rest.substr(end + 1).starts_with('\n')) ++end;  // the line's own end
        FUZZ_CHECK(rest.starts_with(prefix) && end != rest.npos &&
                   end - prefix.size() <= SPELL_FIELD_CHARS - 1);
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
