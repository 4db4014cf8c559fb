#include "dump/dump.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "data/reader.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const char* path, const char* mode)
{
    return File(std::fopen(path, mode));
}

// Closes an output file; false when anything written to it was lost (a full
// disk, say), so that the dump does not report success for a cut file.
bool CloseOutput(File& file)
{
    bool ok = std::ferror(file.get()) == 0;
    ok = std::fclose(file.release()) == 0 && ok;
    return ok;
}

// Room for a dump directory and a file name in it. A path that does not fit
// is never cut short into some other name: the file counts as not openable.
using PathBuffer = std::array<char, 4 * SPELL_FIELD_CHARS>;

bool Fits(int written, const PathBuffer& path)
{
    return written >= 0 && static_cast<std::size_t>(written) < path.size();
}

void MakeDirectory(const char* directory)
{
    // A failure shows up as a file that does not open.
    std::error_code error;
    std::filesystem::create_directories(directory, error);
}

}  // namespace

bool IsSafeDumpFileName(const char* name)
{
    if (name[0] == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (const char* p = name; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F || std::strchr("/\\<>:\"|?*", c) != nullptr) return false;
    }
    return true;
}

bool IsCalcDumpSlot(const SpellStruct& spell, int slot)
{
    const auto k = static_cast<std::size_t>(slot);
    const int calc = spell.calc[k];
    return spell.base[k] != 0 && spell.max[k] == 0 && calc != 0 && calc != 100 && spell.attrib[k] != 32;
}

int DumpSpell(int spellNumber, const char* spellFile, const char* outPath)
{
    if (spellNumber < 0) return -1;
    File out = OpenFile(outPath, "w");
    if (!out) return -1;
    File in = OpenFile(spellFile, "r");
    if (!in) return -1;

    // Line n, or the last line when the file ends sooner.
    SpellLineReader reader(in.get());
    std::array<char, SPELL_LINE_CHARS> last{};
    std::size_t lastLength = 0;
    const char* line = nullptr;
    std::size_t length = 0;
    for (long long i = 0; i <= spellNumber && reader.Next(line, length); ++i) {
        std::memcpy(last.data(), line, length);
        lastLength = length;
    }

    SpellLineColumns columns;
    SplitSpellLine(last.data(), lastLength, columns);
    TextField text;
    for (int col = 0; col < SPELL_FIELD_COUNT; ++col) {
        ColumnToText(columns[static_cast<std::size_t>(col)], text);
        std::fprintf(out.get(), "Field %d = %s\n", col, text.data());
    }
    return CloseOutput(out) ? 0 : -1;
}

int DumpAttributes(const char* spellFile, const char* directory)
{
    MakeDirectory(directory);
    const int lines = LoadedSpellCount();
    SpellLineColumns columns;
    TextField value;
    TextField id;
    TextField name;
    for (int column = 0; column < SPELL_FIELD_COUNT; ++column) {
        PathBuffer path;
        if (!Fits(std::snprintf(path.data(), path.size(), "%s/AttributeNum%d.txt", directory, column),
                  path)) {
            return -1;
        }
        File out = OpenFile(path.data(), "w");
        if (!out) return -1;
        File in = OpenFile(spellFile, "r");
        if (!in) return -1;

        SpellLineReader reader(in.get());
        const char* line = nullptr;
        std::size_t length = 0;
        for (int i = 0; i < lines && reader.Next(line, length); ++i) {
            SplitSpellLine(line, length, columns);
            ColumnToText(columns[static_cast<std::size_t>(column)], value);
            ColumnToText(columns[0], id);
            ColumnToText(columns[1], name);
            std::fprintf(out.get(), "Attribute Value: %20s\t\tSpell: %s \t%s\n", value.data(), id.data(),
                         name.data());
        }
        if (!CloseOutput(out)) return -1;
    }
    return 0;
}

int DumpAllSpells(const char* directory)
{
    MakeDirectory(directory);
    const int count = LoadedSpellCount();
    for (int i = 0; i < count; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        PathBuffer path;
        File out;
        if (IsSafeDumpFileName(spell.name.data()) &&
            Fits(std::snprintf(path.data(), path.size(), "%s/%s.txt", directory, spell.name.data()), path)) {
            out = OpenFile(path.data(), "w");
        }
        if (!out && Fits(std::snprintf(path.data(), path.size(), "%s/%d.txt", directory, spell.id), path)) {
            out = OpenFile(path.data(), "w");
        }
        if (!out) continue;
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
            const auto s = static_cast<std::size_t>(k);
            std::fprintf(out.get(), "attrib%d: %d\tbase%d: %d\tmax%d: %d\t\tcalc%d: %d\tunknown%d: %d\n", k,
                         spell.attrib[s], k, spell.base[s], k, spell.max[s], k, spell.calc[s], k,
                         spell.unknown[s]);
        }
    }
    return 0;
}

int DumpSpecial(const char* outPath)
{
    File out = OpenFile(outPath, "w");
    if (!out) return -1;
    const int count = LoadedSpellCount();
    for (int i = 0; i < count; ++i) {
        const SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
        for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) {
            if (!IsCalcDumpSlot(spell, k)) continue;
            const auto s = static_cast<std::size_t>(k);
            std::fprintf(out.get(), "%30.30s\tb:%d\t\tm: %d\tc: %d\ta: %d\n", spell.name.data(),
                         spell.base[s], spell.max[s], spell.calc[s], spell.attrib[s]);
        }
    }
    return CloseOutput(out) ? 0 : -1;
}
