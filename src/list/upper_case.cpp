#include "list/upper_case.h"

#include <cstring>

void UpperCaseInPlace(char* text)
{
    if (!text) return;
    for (; *text != '\0'; ++text) *text = UpperCaseByte(*text);
}

void UpperCaseCopy(TextField& dest, const char* src)
{
    const std::size_t n = src ? ::strnlen(src, dest.size() - 1) : 0;
    for (std::size_t i = 0; i < n; ++i) dest[i] = UpperCaseByte(src[i]);
    dest[n] = '\0';
}
