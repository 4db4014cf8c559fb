#include "data/reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <sys/stat.h>

#include "data/messages.h"
#include "data/text_rules.h"

namespace {

constexpr int kMaxColumnChars = SPELL_FIELD_CHARS - 1;
constexpr std::size_t kMaxLineChars = SPELL_LINE_CHARS - 1;

}  // namespace

int SplitSpellLine(const char* line, std::size_t length, SpellLineColumns& columns)
{
    if (const void* nul = std::memchr(line, '\0', length)) {
        length = static_cast<std::size_t>(static_cast<const char*>(nul) - line);
    }
    // Walk the carets once, sixteen bytes at a time where the machine can.
    std::size_t col = 0;
    std::size_t start = 0;
    auto endColumn = [&](std::size_t stop) {
        std::size_t n = stop - start;
        columns[col++] = {line + start, static_cast<int>(n < kMaxColumnChars ? n : kMaxColumnChars)};
        start = stop + 1;
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i caret = _mm_set1_epi8('^');
    for (; i + 16 <= length && col < columns.size(); i += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, caret)));
        while (mask != 0 && col < columns.size()) {
            endColumn(i + static_cast<std::size_t>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < length && col < columns.size(); ++i) {
        if (line[i] == '^') endColumn(i);
    }
    // The text after the last caret is the next column.
    if (col < columns.size()) endColumn(length);
    const auto found = static_cast<int>(col);
    for (; col < columns.size(); ++col) columns[col] = {};
    return found;
}

int ColumnToInt(ColumnView column)
{
    return ReadInt(column.text, column.text + column.length);
}

void ColumnToText(ColumnView column, TextField& dest)
{
    std::size_t n = static_cast<std::size_t>(column.length);
    if (n > dest.size() - 1) n = dest.size() - 1;
    std::memcpy(dest.data(), column.text, n);
    dest[n] = '\0';
}

namespace {

// Where each integer column goes: the byte offset of its int32 field.
struct IntColumn {
    std::uint8_t column;
    std::uint16_t offset;
};

constexpr std::size_t kIntColumnCount = 135;

constexpr std::array<IntColumn, kIntColumnCount> MakeIntColumns()
{
    std::array<IntColumn, kIntColumnCount> table{};
    std::size_t n = 0;
    auto add = [&](int column, std::size_t offset) {
        table[n++] = {static_cast<std::uint8_t>(column), static_cast<std::uint16_t>(offset)};
    };
    auto addArray = [&](int firstColumn, std::size_t offset, int count) {
        for (int k = 0; k < count; ++k)
            add(firstColumn + k, offset + static_cast<std::size_t>(k) * sizeof(int32_t));
    };
    add(0, offsetof(SpellStruct, id));
    add(9, offsetof(SpellStruct, col9));
    add(10, offsetof(SpellStruct, col10));
    add(11, offsetof(SpellStruct, col11));
    add(12, offsetof(SpellStruct, col12));
    add(16, offsetof(SpellStruct, col16));
    add(17, offsetof(SpellStruct, duration));
    add(18, offsetof(SpellStruct, col18));
    add(19, offsetof(SpellStruct, col19));
    addArray(20, offsetof(SpellStruct, base), NUM_EFFECT_SLOTS);
    addArray(32, offsetof(SpellStruct, unknown), NUM_EFFECT_SLOTS);
    addArray(44, offsetof(SpellStruct, max), NUM_EFFECT_SLOTS);
    add(56, offsetof(SpellStruct, col56));
    add(57, offsetof(SpellStruct, col57));
    addArray(58, offsetof(SpellStruct, reagentId), NUM_REAGENTS);
    addArray(62, offsetof(SpellStruct, reagentCount), NUM_REAGENTS);
    addArray(66, offsetof(SpellStruct, col66), NUM_REAGENTS);
    addArray(70, offsetof(SpellStruct, calc), NUM_EFFECT_SLOTS);
    add(82, offsetof(SpellStruct, col82));
    add(83, offsetof(SpellStruct, beneficial));
    add(84, offsetof(SpellStruct, col84));
    add(85, offsetof(SpellStruct, resistType));
    addArray(86, offsetof(SpellStruct, attrib), NUM_EFFECT_SLOTS);
    add(98, offsetof(SpellStruct, targetType));
    add(99, offsetof(SpellStruct, col99));
    add(100, offsetof(SpellStruct, skill));
    add(101, offsetof(SpellStruct, environment));
    add(102, offsetof(SpellStruct, col102));
    add(103, offsetof(SpellStruct, timeOfDay));
    // Columns 104..118 hold the classes in this order.
    constexpr ClassIndex kClassColumns[NUM_CLASSES] = {CLASS_WAR, CLASS_CLR, CLASS_PAL, CLASS_RNG, CLASS_SHD,
                                                       CLASS_DRU, CLASS_MNK, CLASS_BRD, CLASS_ROG, CLASS_SHM,
                                                       CLASS_NEC, CLASS_WIZ, CLASS_MAG, CLASS_ENC, CLASS_BST};
    for (int k = 0; k < NUM_CLASSES; ++k) {
        add(104 + k,
            offsetof(SpellStruct, classLevel) + static_cast<std::size_t>(kClassColumns[k]) * sizeof(int32_t));
    }
    add(120, offsetof(SpellStruct, col120));
    add(121, offsetof(SpellStruct, col121));
    add(122, offsetof(SpellStruct, col122));
    add(123, offsetof(SpellStruct, col123));
    addArray(125, offsetof(SpellStruct, col125), NUM_CLASSES);
    add(144, offsetof(SpellStruct, col144));
    add(145, offsetof(SpellStruct, col145));
    add(147, offsetof(SpellStruct, col147));
    add(148, offsetof(SpellStruct, col148));
    add(149, offsetof(SpellStruct, col149));
    add(150, offsetof(SpellStruct, linkedSpell));
    add(156, offsetof(SpellStruct, col156));
    add(157, offsetof(SpellStruct, col157));
    if (n != kIntColumnCount) throw "integer column table and count disagree";
    return table;
}

constexpr std::array<IntColumn, kIntColumnCount> kIntColumns = MakeIntColumns();

}  // namespace

void FillSpellStructFromColumns(const SpellLineColumns& c, SpellStruct& r)
{
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    auto* bytes = reinterpret_cast<unsigned char*>(&r);
    for (const IntColumn& entry : kIntColumns) {
        const ColumnView& v = c[entry.column];
        const int32_t value = ReadInt(v.text, v.text + v.length);
        std::memcpy(bytes + entry.offset, &value, sizeof value);
    }
    r.seconds13 = ColumnToInt(c[13]) / 1000.0;
    r.seconds14 = ColumnToInt(c[14]) / 1000.0;
    r.seconds15 = ColumnToInt(c[15]) / 1000.0;

    ColumnToText(c[1], r.name);
    ColumnToText(c[2], r.column2Text);
    ColumnToText(c[3], r.teleportZone);
    ColumnToText(c[6], r.message1);
    if (c[7].length > 0) {
        static constexpr char kPrefix[] = "Someone";
        constexpr std::size_t prefixLength = sizeof kPrefix - 1;
        std::memcpy(r.message2.data(), kPrefix, prefixLength);
        std::size_t n = static_cast<std::size_t>(c[7].length);
        if (n > r.message2.size() - 1 - prefixLength) n = r.message2.size() - 1 - prefixLength;
        std::memcpy(r.message2.data() + prefixLength, c[7].text, n);
        r.message2[prefixLength + n] = '\0';
    }
    ColumnToText(c[8], r.message3);
}

void FillSpellStruct(const char* line, SpellStruct& record)
{
    SpellLineColumns columns;
    SplitSpellLine(line, std::strlen(line), columns);
    FillSpellStructFromColumns(columns, record);
}

bool SpellLineReader::Refill()
{
    if (eof_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    if (got == 0) eof_ = true;
    end_ += got;
    return got > 0;
}

bool SpellLineReader::Next(const char*& line, std::size_t& length)
{
    std::size_t kept = 0;
    bool any = false;
    bool cut = false;
    for (;;) {
        if (begin_ == end_ && !Refill()) break;
        any = true;
        const char* start = buffer_.data() + begin_;
        std::size_t avail = end_ - begin_;
        const void* lf = std::memchr(start, '\n', avail);
        std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1 : avail;
        if (!cut) {
            std::size_t room = kMaxLineChars - kept;
            std::size_t n = take < room ? take : room;
            std::memcpy(line_.data() + kept, start, n);
            kept += n;
            if (n < take) cut = true;
        }
        begin_ += take;
        if (lf) break;
    }
    if (!any) return false;
    if (!cut && kept >= 2 && line_[kept - 1] == '\n' && line_[kept - 2] == '\r') {
        line_[kept - 2] = '\n';
        --kept;
    }
    line_[kept] = '\0';
    line = line_.data();
    length = kept;
    return true;
}

void FormatOpenError(const char* path, MessageText& text)
{
    std::snprintf(text.data(), text.size(), "Cannot open the file: %s - please browse for a valid file.",
                  path);
}

namespace {

bool IsSpellFileKind(mode_t mode)
{
    return S_ISREG(mode) || S_ISFIFO(mode);
}

}  // namespace

std::FILE* OpenSpellFile(const char* path)
{
    // Look before opening: opening a device may block or act on it.
    struct stat info {};
    if (::stat(path, &info) != 0 || !IsSpellFileKind(info.st_mode)) return nullptr;
    std::FILE* file = std::fopen(path, "r");
    // What was opened may not be what was looked at.
    if (file && (::fstat(::fileno(file), &info) != 0 || !IsSpellFileKind(info.st_mode))) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

namespace {

// Reads every line of an open file into consecutive records of the table.
int ParseSpellStream(std::FILE* file, std::span<SpellStruct> table, bool* moreLines, int* shortLines)
{
    SpellLineReader reader(file);
    SpellLineColumns columns;
    const char* line = nullptr;
    std::size_t length = 0;
    std::size_t count = 0;
    while (reader.Next(line, length)) {
        if (count == table.size()) {
            if (moreLines) *moreLines = true;
            break;
        }
        if (SplitSpellLine(line, length, columns) < SPELL_FIELD_COUNT && shortLines) ++*shortLines;
        FillSpellStructFromColumns(columns, table[count]);
        ++count;
    }
    return static_cast<int>(count);
}

}  // namespace

int ParseSpellFile(const char* path, std::span<SpellStruct> table, bool* moreLines, int* shortLines)
{
    if (moreLines) *moreLines = false;
    if (shortLines) *shortLines = 0;
    std::FILE* file = OpenSpellFile(path);
    if (!file) {
        MessageText text;
        FormatOpenError(path, text);
        ReportMessage("Error", text.data());
        return -1;
    }
    int count = ParseSpellStream(file, table, moreLines, shortLines);
    std::fclose(file);
    return count;
}

int ParseSpellText(std::string_view text, std::span<SpellStruct> table, bool* moreLines)
{
    if (moreLines) *moreLines = false;
    if (text.empty()) return 0;
    std::FILE* file = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!file) return -1;
    int count = ParseSpellStream(file, table, moreLines, nullptr);
    std::fclose(file);
    return count;
}
