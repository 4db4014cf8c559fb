#include "data/text_encoding.h"

#include <cstring>

#include "data/text_rules.h"

bool IsValidUtf8(const char* text, std::size_t length)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra;
        unsigned int min;
        unsigned int cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1Fu;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0Fu;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07u;
        } else {
            return false;
        }
        if (length - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::string TextToUtf8(const char* text)
{
    std::size_t length = std::strlen(text);
    if (IsValidUtf8(text, length)) return std::string(text, length);
    std::string out;
    out.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::size_t TextToUtf8(const char* text, char* out, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t length = std::strlen(text);
    std::size_t n = 0;
    if (IsValidUtf8(text, length)) {
        n = length < size - 1 ? length : size - 1;
        // Never end inside a character: back off its continuation bytes.
        if (n < length) {
            while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
        }
        std::memcpy(out, text, n);
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            auto c = static_cast<unsigned char>(text[i]);
            const std::size_t need = c < 0x80 ? 1 : 2;
            if (n + need > size - 1) break;
            if (c < 0x80) {
                out[n++] = static_cast<char>(c);
            } else {
                out[n++] = static_cast<char>(0xC0 | (c >> 6));
                out[n++] = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    out[n] = '\0';
    return n;
}

bool Utf8ToLatin1(const char* text, char* out, std::size_t size)
{
    if (size == 0) return false;
    std::size_t n = 0;
    for (const auto* s = reinterpret_cast<const unsigned char*>(text); *s != 0; ++n) {
        unsigned int c = *s++;
        if (c >= 0x80) {
            // Only two-byte forms of U+0080..U+00FF (lead bytes C2 and C3) fit.
            if ((c != 0xC2 && c != 0xC3) || (*s & 0xC0) != 0x80) {
                out[0] = '\0';
                return false;
            }
            c = ((c & 0x1Fu) << 6) | (*s++ & 0x3Fu);
        }
        if (n + 1 >= size) {
            out[0] = '\0';
            return false;
        }
        out[n] = static_cast<char>(c);
    }
    out[n] = '\0';
    return true;
}

NameSearchText::NameSearchText(const char* text)
{
    const std::size_t length = std::strlen(text);
    std::size_t utf8Length = length;
    if (!IsValidUtf8(text, length)) {
        for (std::size_t i = 0; i < length; ++i) utf8Length += static_cast<unsigned char>(text[i]) >= 0x80;
    }
    if (utf8Length >= utf8_.size()) {
        tooLong_ = true;
        return;
    }
    utf8Length_ = TextToUtf8(text, utf8_.data(), utf8_.size());
    hasLatin1_ = Utf8ToLatin1(utf8_.data(), latin1_.data(), latin1_.size());
    latin1Length_ = std::strlen(latin1_.data());
    for (std::size_t i = utf8Length_; i-- > 0;) utf8_[i] = UpperCaseUtf8At(utf8_.data(), i);
    for (std::size_t i = 0; i < latin1Length_; ++i) latin1_[i] = UpperCaseLatin1(latin1_[i]);
    for (std::size_t i = 0; i < utf8Length_; ++i)
        ascii_ = ascii_ && static_cast<unsigned char>(utf8_[i]) < 0x80;
}

bool NameSearchText::FoundIn(std::string_view name) const
{
    if (tooLong_) return false;
    // ASCII reads the same in both encodings.
    const bool utf8 = ascii_ || IsValidUtf8(name.data(), name.size());
    if (!utf8 && !hasLatin1_) return false;
    const char* const part = utf8 ? utf8_.data() : latin1_.data();
    const std::size_t partLength = utf8 ? utf8Length_ : latin1Length_;
    if (partLength > name.size()) return false;
    for (std::size_t at = 0; at + partLength <= name.size(); ++at) {
        std::size_t k = 0;
        if (utf8) {
            while (k < partLength && UpperCaseUtf8At(name.data(), at + k) == part[k]) ++k;
        } else {
            while (k < partLength && UpperCaseLatin1(name[at + k]) == part[k]) ++k;
        }
        if (k == partLength) return true;
    }
    return false;
}
