#include <ostream>

#include "export_modes.h"

int ExportStacking(std::ostream& out, std::ostream& err, int index)
{
    (void)out;
    err << "rivizuzi-export: the stacking check is not available yet (index " << index << ")\n";
    return 1;
}
