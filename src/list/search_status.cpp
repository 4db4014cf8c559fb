#include "list/search_status.h"

#include <cstdio>

void FormatSearchStatus(TextField& status, int shown, int loaded, bool filtered)
{
    if (loaded < 1) {
        std::snprintf(status.data(), status.size(), "0 of 0 spells - no spell file is loaded");
    } else if (shown < 1) {
        std::snprintf(status.data(), status.size(), "0 of %d spell%s - no spell matches this name, class%s",
                      loaded, loaded == 1 ? "" : "s", filtered ? ", effect and filter" : " and effect");
    } else {
        std::snprintf(status.data(), status.size(), "%d of %d spell%s", shown, loaded,
                      loaded == 1 ? "" : "s");
    }
}
