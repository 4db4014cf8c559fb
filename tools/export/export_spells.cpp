#include "export_modes.h"

int ExportSpells(std::ostream& out)
{
    (void)out;
    return 0;
}
