// Deterministic generator of synthetic spell files for the sample data,
// tests and benchmarks. The same options always give the same bytes.
#pragma once

#include <cstdint>
#include <string>

struct SampleOptions {
    int lines = 4000;
    std::uint32_t seed = 1;
};

// The whole file as text: `lines` lines of 174 '^'-separated columns, each
// ending in a line feed.
std::string GenerateSampleSpellFile(const SampleOptions& options);

// Writes the file; false when it cannot be written.
bool WriteSampleSpellFile(const SampleOptions& options, const char* path);
