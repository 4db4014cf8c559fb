// rivizuzi-gen-spells [--lines N] [--seed S] [--output PATH]
//
// Writes a synthetic spell file: 4000 lines unless told otherwise, to
// standard output unless an output path is given. The same options always
// give the same bytes.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "sample/sample_gen.h"

namespace {

constexpr long long kMaxLines = 1000000;

void PrintUsage(std::FILE* to)
{
    std::fputs("usage: rivizuzi-gen-spells [--lines N] [--seed S] [--output PATH]\n", to);
}

// Reads a whole decimal number in lo..hi; false for anything else.
bool ParseNumber(const char* text, long long lo, long long hi, long long& value)
{
    if (*text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    value = v;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    SampleOptions options;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            PrintUsage(stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "rivizuzi-gen-spells: %s needs a value\n", arg);
            PrintUsage(stderr);
            return 2;
        }
        const char* value = argv[++i];
        long long number = 0;
        if (std::strcmp(arg, "--lines") == 0 && ParseNumber(value, 0, kMaxLines, number)) {
            options.lines = static_cast<int>(number);
        } else if (std::strcmp(arg, "--seed") == 0 &&
                   ParseNumber(value, 0, std::numeric_limits<std::uint32_t>::max(), number)) {
            options.seed = static_cast<std::uint32_t>(number);
        } else if (std::strcmp(arg, "--output") == 0 && *value != '\0') {
            output = value;
        } else {
            std::fprintf(stderr, "rivizuzi-gen-spells: bad option %s %s\n", arg, value);
            PrintUsage(stderr);
            return 2;
        }
    }

    if (output) {
        if (!WriteSampleSpellFile(options, output)) {
            std::fprintf(stderr, "rivizuzi-gen-spells: cannot write %s\n", output);
            return 1;
        }
        return 0;
    }
    const std::string text = GenerateSampleSpellFile(options);
    bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    ok = std::fflush(stdout) == 0 && ok;
    return ok ? 0 : 1;
}
