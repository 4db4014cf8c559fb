// Small rules for reading text, shared by the spell reader, the search, the
// stacking check and the comparison: white space, numbers read the way atoi
// reads them, and the upper case of the letters of Latin-1.
#pragma once

#include <climits>
#include <cstddef>

// White space as isspace sees it in the C locale: blank, tab, line feed,
// vertical tab, form feed, carriage return.
constexpr bool IsWhiteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a number from [p, end) the way atoi does: white space, an optional
// sign, then digits up to the first non-digit. A number beyond the int range
// saturates at its ends: "-2147483648" and anything below read INT_MIN,
// "2147483648" and anything above INT_MAX. Moves p behind the digits and
// returns whether there was one; `value` is 0 when there was none.
constexpr bool ScanInt(const char*& p, const char* end, int& value)
{
    while (p < end && IsWhiteSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const digits = p;
    // Up to nine digits cannot overflow: the common short number ends here.
    int small = 0;
    const char* const fastEnd = end - p > 9 ? p + 9 : end;
    while (p < fastEnd && IsDigit(*p)) small = small * 10 + (*p++ - '0');
    if (p < end && p == fastEnd && IsDigit(*p)) {
        // Count further digits as a negative number, so that INT_MIN is
        // reachable; once below it the number stays there.
        long long wide = -static_cast<long long>(small);
        for (; p < end && IsDigit(*p); ++p) {
            if (wide >= INT_MIN) wide = wide * 10 - (*p - '0');
        }
        if (negative) {
            value = wide < INT_MIN ? INT_MIN : static_cast<int>(wide);
        } else {
            value = wide < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-wide);
        }
    } else {
        value = negative ? -small : small;
    }
    return p != digits;
}

// The number at the start of [p, end), read as ScanInt reads it; 0 without digits.
constexpr int ReadInt(const char* p, const char* end)
{
    int value = 0;
    ScanInt(p, end, value);
    return value;
}

// The upper case of a Latin-1 byte: a to z give A to Z, and à to þ (0xE0 to
// 0xFE) give À to Þ, except ÷ (0xF7), which has no case, as × has none.
// Every other byte stays as it is.
constexpr char UpperCaseLatin1(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
    return c;
}

// The upper case of byte i of UTF-8 text, for the same letters: in UTF-8, à
// to þ are C3 A0 to C3 BE and À to Þ are C3 80 to C3 9E, so a second byte
// A0 to BE (but B7, ÷) after C3 loses 0x20. Other bytes are kept, so an
// upper-cased text stays valid UTF-8 and every character keeps its length.
constexpr char UpperCaseUtf8At(const char* text, std::size_t i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
    if (b >= 0xA0 && b <= 0xBE && b != 0xB7 && i > 0 && static_cast<unsigned char>(text[i - 1]) == 0xC3)
        return static_cast<char>(b - 0x20);
    return text[i];
}
