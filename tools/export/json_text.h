// JSON text written straight into a line buffer: the exporter's default mode
// writes thousands of objects, and building each as a tree first costs more
// than describing the spells.
#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "data/text_encoding.h"

// Appends a JSON string of valid UTF-8 text, escaped as nlohmann::json
// escapes it: quote, backslash and control characters only.
inline void AppendJsonString(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out += kHex[(c >> 4) & 0xF];
                    out += kHex[c & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// Appends a spell text (bytes shown as UTF-8, or as Latin-1 when they are
// not valid UTF-8) as a JSON string.
inline void AppendJsonText(std::string& out, const char* bytes)
{
    const std::size_t length = std::strlen(bytes);
    if (IsValidUtf8(bytes, length)) {
        AppendJsonString(out, std::string_view(bytes, length));
    } else {
        AppendJsonString(out, TextToUtf8(bytes));
    }
}

inline void AppendJsonInt(std::string& out, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}
