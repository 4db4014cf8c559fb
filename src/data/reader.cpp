#include "data/reader.h"

#include <climits>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "data/messages.h"

namespace {

constexpr int kMaxColumnChars = SPELL_FIELD_CHARS - 1;
constexpr std::size_t kMaxLineChars = SPELL_LINE_CHARS - 1;

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

void SplitSpellLine(const char* line, std::size_t length, SpellLineColumns& columns)
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
    for (; col < columns.size(); ++col) columns[col] = {};
}

namespace {

// atoi with saturation; the common short number takes the first loop only.
inline int ParseColumnInt(const char* p, const char* end)
{
    while (p < end && IsSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Up to nine digits cannot overflow.
    int value = 0;
    const char* fastEnd = end - p > 9 ? p + 9 : end;
    for (; p < fastEnd; ++p) {
        unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (digit > 9) return negative ? -value : value;
        value = value * 10 + static_cast<int>(digit);
    }
    // Accumulate further digits as a negative number so that INT_MIN is reachable.
    long long wide = -static_cast<long long>(value);
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        wide = wide * 10 - (*p - '0');
        if (wide < static_cast<long long>(INT_MIN)) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) return static_cast<int>(wide);
    return wide < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-wide);
}

}  // namespace

int ColumnToInt(ColumnView column)
{
    return ParseColumnInt(column.text, column.text + column.length);
}

void ColumnToText(ColumnView column, TextField& dest)
{
    std::size_t n = static_cast<std::size_t>(column.length);
    if (n > dest.size() - 1) n = dest.size() - 1;
    std::memcpy(dest.data(), column.text, n);
    dest[n] = '\0';
}

void FillSpellStructFromColumns(const SpellLineColumns& c, SpellStruct& r)
{
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    auto num = [&c](int column) {
        const ColumnView& v = c[static_cast<std::size_t>(column)];
        return ParseColumnInt(v.text, v.text + v.length);
    };
    auto seconds = [&num](int column) { return num(column) / 1000.0; };

    r.id = num(0);
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
    r.col9 = num(9);
    r.col10 = num(10);
    r.col11 = num(11);
    r.col12 = num(12);
    r.seconds13 = seconds(13);
    r.seconds14 = seconds(14);
    r.seconds15 = seconds(15);
    r.col16 = num(16);
    r.duration = num(17);
    r.col18 = num(18);
    r.col19 = num(19);
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        r.base[slot] = num(20 + k);
        r.unknown[slot] = num(32 + k);
        r.max[slot] = num(44 + k);
        r.calc[slot] = num(70 + k);
        r.attrib[slot] = num(86 + k);
    }
    r.col56 = num(56);
    r.col57 = num(57);
    for (int k = 0; k < NUM_REAGENTS; ++k) {
        const auto i = static_cast<std::size_t>(k);
        r.reagentId[i] = num(58 + k);
        r.reagentCount[i] = num(62 + k);
        r.col66[i] = num(66 + k);
    }
    r.col82 = num(82);
    r.beneficial = num(83);
    r.col84 = num(84);
    r.resistType = num(85);
    r.targetType = num(98);
    r.col99 = num(99);
    r.skill = num(100);
    r.environment = num(101);
    r.col102 = num(102);
    r.timeOfDay = num(103);
    // Columns 104..118 hold the classes in this order.
    static constexpr std::array<ClassIndex, NUM_CLASSES> kClassColumns = {
        CLASS_WAR, CLASS_CLR, CLASS_PAL, CLASS_RNG, CLASS_SHD, CLASS_DRU, CLASS_MNK, CLASS_BRD,
        CLASS_ROG, CLASS_SHM, CLASS_NEC, CLASS_WIZ, CLASS_MAG, CLASS_ENC, CLASS_BST};
    for (int k = 0; k < NUM_CLASSES; ++k) {
        r.classLevel[static_cast<std::size_t>(kClassColumns[static_cast<std::size_t>(k)])] = num(104 + k);
    }
    r.col120 = num(120);
    r.col121 = num(121);
    r.col122 = num(122);
    r.col123 = num(123);
    for (int k = 0; k < NUM_CLASSES; ++k) r.col125[static_cast<std::size_t>(k)] = num(125 + k);
    r.col144 = num(144);
    r.col145 = num(145);
    r.col147 = num(147);
    r.col148 = num(148);
    r.col149 = num(149);
    r.linkedSpell = num(150);
    r.col156 = num(156);
    r.col157 = num(157);
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

int ParseSpellFile(const char* path, std::span<SpellStruct> table, bool* moreLines)
{
    if (moreLines) *moreLines = false;
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        MessageText text;
        FormatOpenError(path, text);
        ReportMessage("Error", text.data());
        return -1;
    }
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
        SplitSpellLine(line, length, columns);
        FillSpellStructFromColumns(columns, table[count]);
        ++count;
    }
    std::fclose(file);
    return static_cast<int>(count);
}
