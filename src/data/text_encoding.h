// Spell texts are bytes. They are shown as UTF-8 when they are valid UTF-8
// and as Latin-1 otherwise, so no byte is ever garbled or dropped.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

bool IsValidUtf8(const char* text, std::size_t length);

// The text as UTF-8: unchanged when valid UTF-8, otherwise each byte read as
// Latin-1.
std::string TextToUtf8(const char* text);

// The same into a fixed buffer of `size` bytes: the text as UTF-8, cut to
// whole characters so that it fits with its terminator. Returns its length.
std::size_t TextToUtf8(const char* text, char* out, std::size_t size);

// Valid UTF-8 text as Latin-1 into a buffer of `size` bytes. False (out
// empty) when the text holds a character beyond U+00FF or does not fit.
bool Utf8ToLatin1(const char* text, char* out, std::size_t size);

// A search text that finds names ignoring the case of the letters of Latin-1
// (a to z, and À to Þ with à to þ; × and ÷ have no case). The text and each
// name are read as they are shown: as UTF-8 when valid UTF-8, else as
// Latin-1, so "FLÈCHE" finds "Flèche" stored either way. Finding allocates
// nothing.
class NameSearchText {
public:
    // `text` is a zero-terminated search text.
    explicit NameSearchText(const char* text);

    // True for the empty text, which every name holds.
    bool IsEmpty() const { return utf8Length_ == 0 && !tooLong_; }

    // True when `name` holds the text.
    bool FoundIn(std::string_view name) const;

private:
    // A 259-byte Latin-1 text takes up to 518 bytes as UTF-8.
    std::array<char, 520> utf8_{};  // upper-cased
    std::size_t utf8Length_ = 0;
    std::array<char, 260> latin1_{};  // upper-cased; when the text is Latin-1 too
    std::size_t latin1Length_ = 0;
    bool hasLatin1_ = false;
    bool ascii_ = true;
    bool tooLong_ = false;  // longer than any name: found in none
};
