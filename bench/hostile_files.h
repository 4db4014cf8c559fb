// Spell files that no well-behaved writer produces, built in memory for the
// hostile-file benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sample/sample_gen.h"

namespace hostile {

// Lines of the deterministic sample, each with its line feed.
inline std::vector<std::string> SampleLines(int count, std::uint32_t seed = 1)
{
    std::istringstream text(GenerateSampleSpellFile({.lines = count, .seed = seed}));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line + "\n");
    return lines;
}

// A line of 174 columns: column i holds cells[i] where given, else empty.
inline std::string Line(const std::vector<std::pair<int, std::string>>& cells, const char* end = "\n")
{
    std::vector<std::string> columns(174);
    for (const auto& [index, text] : cells) columns[static_cast<std::size_t>(index)] = text;
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) line += '^';
        line += columns[i];
    }
    return line + end;
}

// Bytes of every value, line feeds included, from a fixed seed.
inline std::string BinaryGarbage(std::size_t size, std::uint32_t seed = 7)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// About `bytes` bytes in 4000 lines: each a sample line whose last column is
// stretched with filler, so that every line is longer than the reader's line
// buffer and the reader must scan past the rest of each one.
inline std::string HugeFile(std::size_t bytes = 50u << 20)
{
    const std::vector<std::string> lines = SampleLines(4000);
    const std::size_t perLine = bytes / lines.size() + 1;
    std::string file;
    file.reserve(perLine * lines.size());
    for (const std::string& line : lines) {
        file.append(line, 0, line.size() - 1);
        if (line.size() < perLine) file.append(perLine - line.size(), 'z');
        file += '\n';
    }
    return file;
}

}  // namespace hostile
