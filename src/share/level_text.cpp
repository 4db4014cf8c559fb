#include "share/level_text.h"

#include <cstdio>

void FormatLevelSetting(int level, TextField& text)
{
    if (level > 0) {
        std::snprintf(text.data(), text.size(), "values at level %d", level);
    } else {
        CopyText(text, "values over levels");
    }
}
