// Upper-casing of search texts and names: byte by byte, the letters a to z
// only, as toupper does in the C locale. Every other byte, including those of
// accented or multi-byte characters, is kept as it is, so that a name and a
// search text upper-cased the same way still match byte for byte.
#pragma once

#include "data/spell.h"

constexpr char UpperCaseByte(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-cases a zero-terminated text in place.
void UpperCaseInPlace(char* text);

// Copies text into a fixed buffer (cut at 259 characters, like CopyText) and
// upper-cases the copy.
void UpperCaseCopy(TextField& dest, const char* src);
