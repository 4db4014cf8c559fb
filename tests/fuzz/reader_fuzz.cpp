// Everything that reads the spell file or the settings file, on arbitrary bytes. The first byte's low
// four bits give the table's room in records (so that small inputs run out of room), its high four bits
// minus one the line the raw dump prints; the rest is the file, and also one line for the splitter.
#include <algorithm>
#include <span>
#include <string_view>

#include "app/settings_format.h"
#include "data/reader.h"
#include "dump/dump.h"
#include "fuzz_support.h"

namespace {

constexpr auto IsBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };

// atoi with saturation, written plainly: the reader's and the settings' conversions must agree with it.
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

// Texts within their buffers, nothing left over in the fields the reader does not fill, and a name
// accepted as a dump file's name is one path component.
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
        // A view into the line, never past its end, never across a caret.
        const std::string_view view(column.text, static_cast<std::size_t>(column.length));
        FUZZ_CHECK(view.size() <= SPELL_FIELD_CHARS - 1 && view.find('^') == view.npos);
        FUZZ_CHECK(view.empty() ||
                   (view.data() >= bytes.data() && view.data() + view.size() <= bytes.data() + bytes.size()));
        TextField text;
        ColumnToText(column, text);
        FUZZ_CHECK(IsTerminated(text) && std::strlen(text.data()) <= view.size() &&
                   ColumnToInt(column) == ReferenceToInt(view.data(), view.data() + view.size()));
    }
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
    // The second line's four numbers: blanks, a sign, digits, like "%d %d %d %d" but saturated.
    std::array<int, 4> values{}, expected{};
    bool complete = true;
    for (const char* p = lines[1].data(); int& value : expected) {
        while (IsBlank(*p)) ++p;
        const char* end = p + (*p == '+' || *p == '-');
        complete = complete && *end >= '0' && *end <= '9';
        while (*end >= '0' && *end <= '9') ++end;
        value = ReferenceToInt(p, end);
        p = end;
    }
    FUZZ_CHECK(ParseFourInts(lines[1].data(), values) == complete && (!complete || values == expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    static MemoryFile file;
    file.Assign(bytes.data(), bytes.size());
    CheckLine(bytes);
    CheckSettingsFile(file, bytes);

    // Lines: every line feed ends one, and text after the last one is one more. One record more than the
    // room given must come through untouched.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                (!bytes.empty() && bytes.back() != '\n'));
    const std::size_t room = data[0] & 15;
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

    // The raw dump: 174 "Field %d = " lines in column order, each column's text within its buffer; only
    // the column that holds the line's end has a line feed.
    const int spellNumber = (data[0] >> 4) - 1;
    static MemoryFile out;
    out.Assign(nullptr, 0);
    const bool hasLine = spellNumber >= 0 && static_cast<std::size_t>(spellNumber) < lines;
    int lineCount = -1;
    FUZZ_CHECK(DumpSpell(spellNumber, file.path.c_str(), out.path.c_str(), &lineCount) ==
               (hasLine ? 0 : DUMP_NO_SUCH_LINE));
    FUZZ_CHECK(hasLine || static_cast<std::size_t>(lineCount) == lines);
    std::string dump(1 << 16, '\0');
    std::string_view rest(dump.data(),
                          static_cast<std::size_t>(::pread(out.fd, dump.data(), dump.size(), 0)));
    for (int column = 0; column < (hasLine ? SPELL_FIELD_COUNT : 0); ++column) {
        const std::string prefix = "Field " + std::to_string(column) + " = ";
        std::size_t end = rest.find('\n');
        if (end != rest.npos && rest.substr(end + 1).starts_with('\n')) ++end;  // the line's own end
        FUZZ_CHECK(rest.starts_with(prefix) && end != rest.npos &&
                   end - prefix.size() <= SPELL_FIELD_CHARS - 1);
        rest.remove_prefix(end + 1);
    }
    FUZZ_CHECK(rest.empty());
    return 0;
}
