#include "sample/sample_gen.h"

#include <cstdio>

std::string GenerateSampleSpellFile(const SampleOptions& options)
{
    (void)options;
    return {};
}

bool WriteSampleSpellFile(const SampleOptions& options, const char* path)
{
    std::string text = GenerateSampleSpellFile(options);
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}
