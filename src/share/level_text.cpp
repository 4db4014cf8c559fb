#include "share/level_text.h"

#include <cstdio>

void FormatLevelSetting(LevelSetting level, TextField& text)
{
    if (level.levelEnable != 0) {
        std::snprintf(text.data(), text.size(), "values at level %d", level.displayLevel);
    } else {
        CopyText(text, "values over levels");
    }
}
