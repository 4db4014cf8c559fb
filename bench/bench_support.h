// Shared by the benchmarks: the sample table and memory readings.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/reader.h"
#include "data/spell.h"
#include "data/spell_index.h"
#include "sample/sample_gen.h"

// Fills g_spellArray with the generated 4000-line sample, as the reader would
// read it from a file.
inline void LoadSampleTable(const SampleOptions& options = {})
{
    InitGlobals();
    g_numSpells = ParseSpellText(GenerateSampleSpellFile(options), g_spellArray);
    BuildSpellIdIndex();
}

// A "kB" field of /proc/self/status (VmRSS, VmHWM), or -1.
inline long StatusKilobytes(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kilobytes = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            kilobytes = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}
