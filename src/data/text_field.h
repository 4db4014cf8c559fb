// The program's text buffer: every text field, path, list row and sentence
// is one of these.
#pragma once

#include <array>

inline constexpr int SPELL_FIELD_CHARS = 260;

// A 260-byte text buffer: at most 259 characters and a terminating zero.
using TextField = std::array<char, SPELL_FIELD_CHARS>;

// Copies text into a fixed buffer, cutting it so that the terminator fits.
void CopyText(TextField& dest, const char* src);
