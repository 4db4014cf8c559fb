// Spell texts are bytes. They are shown as UTF-8 when they are valid UTF-8
// and as Latin-1 otherwise, so no byte is ever garbled or dropped.
#pragma once

#include <cstddef>
#include <string>

bool IsValidUtf8(const char* text, std::size_t length);

// The text as UTF-8: unchanged when valid UTF-8, otherwise each byte read as
// Latin-1.
std::string TextToUtf8(const char* text);
