// The raw-column dump on arbitrary spell files, and the test that decides
// whether a spell name may serve as a dump file's name.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "dump/dump.h"
#include "fuzz_support.h"

namespace {

// A name accepted as a file name must stay one path component.
void CheckFileName(const std::string& name)
{
    if (!IsSafeDumpFileName(name.c_str())) return;
    const std::string text = name.c_str();  // the name ends at its first NUL
    FUZZ_CHECK(!text.empty() && text != "." && text != "..");
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        FUZZ_CHECK(c != '/' && c != '\\' && byte >= 0x20);
    }
}

std::string ReadAll(const char* path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path, "r")) {
        std::array<char, 4096> buffer;
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) text.append(buffer.data(), n);
        std::fclose(file);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    CheckFileName(input.ConsumeRandomLengthString(300));
    const int spellNumber = input.ConsumeIntegralInRange(-2, 20);
    const std::vector<std::uint8_t> file = input.ConsumeRemainingBytes<std::uint8_t>();

    static MemoryFile spells;
    static MemoryFile out;
    spells.Assign(file.data(), file.size());
    const int result = DumpSpell(spellNumber, spells.path(), out.path());
    if (spellNumber < 0) {
        FUZZ_CHECK(result == -1);
        return 0;
    }
    FUZZ_CHECK(result == 0);

    // 174 "Field %d = " lines in column order; a column's text holds no line
    // feed except where the line ends.
    const std::string dump = ReadAll(out.path());
    std::size_t at = 0;
    for (int column = 0; column < SPELL_FIELD_COUNT; ++column) {
        const std::string prefix = "Field " + std::to_string(column) + " = ";
        FUZZ_CHECK(dump.compare(at, prefix.size(), prefix) == 0);
        const std::size_t next = column + 1 < SPELL_FIELD_COUNT
                                     ? dump.find("\nField " + std::to_string(column + 1) + " = ", at)
                                     : dump.size() - 1;
        FUZZ_CHECK(next != std::string::npos);
        FUZZ_CHECK(next - at - prefix.size() <= SPELL_FIELD_CHARS - 1 + 1);  // the text and its line feed
        at = next + 1;
    }
    FUZZ_CHECK(at == dump.size());
    return 0;
}
