// Spell texts are bytes. They are shown as UTF-8 when they are valid UTF-8
// and as Latin-1 otherwise, so no byte is ever garbled or dropped.
#pragma once

#include <cstddef>
#include <string>

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
