#include "export_modes.h"

int ExportSearch(std::ostream& out, const std::string& searchText, int classValue)
{
    (void)out, (void)searchText, (void)classValue;
    return 0;
}
