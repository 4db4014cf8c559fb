#include "dump/dump.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>

#include "data/reader.h"
#include "data/text_encoding.h"

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

// The file names one all-spells dump has written. An entry keeps the spell
// and the choice that made a name, not the name: it is made again to
// compare. Open addressing in twice the room the spells can take.
class WrittenNames {
public:
    explicit WrittenNames(std::span<const SpellStruct> spells) : spells_(spells) {}

    bool Contains(const DumpFileName& name) const
    {
        DumpFileName other;
        for (std::size_t at = Hash(name);; at = (at + 1) % kSlots) {
            const Entry& entry = entries_[at];
            if (entry.index < 0) return false;
            SpellDumpFileName(spells_[static_cast<std::size_t>(entry.index)], entry.index, entry.choice,
                              other);
            if (std::strcmp(other.data(), name.data()) == 0) return true;
        }
    }

    void Add(const DumpFileName& name, int index, int choice)
    {
        std::size_t at = Hash(name);
        while (entries_[at].index >= 0) at = (at + 1) % kSlots;
        entries_[at] = {index, choice};
    }

private:
    static constexpr std::size_t kSlots = 2 * MAX_SPELLS;
    struct Entry {
        int index = -1;
        int choice = 0;
    };

    static std::size_t Hash(const DumpFileName& name)
    {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (const char* p = name.data(); *p != '\0'; ++p)
            hash = (hash ^ static_cast<unsigned char>(*p)) * 16777619u;
        return hash % kSlots;
    }

    std::span<const SpellStruct> spells_;
    std::array<Entry, kSlots> entries_{};
};

}  // namespace

bool SpellDumpFileName(const SpellStruct& spell, int index, int choice, DumpFileName& name)
{
    int written = 0;
    if (choice == 0) {
        // The name as the windows show it, in UTF-8; it always fits.
        const std::size_t length = TextToUtf8(spell.name.data(), name.data(), name.size() - 4);
        if (!IsSafeDumpFileName(name.data())) return false;
        std::memcpy(name.data() + length, ".txt", 5);
        return true;
    }
    if (choice == 1) {
        written = std::snprintf(name.data(), name.size(), "%d.txt", spell.id);
    } else if (choice == 2) {
        written = std::snprintf(name.data(), name.size(), "%d-%d.txt", spell.id, index);
    } else {
        written = std::snprintf(name.data(), name.size(), "%d-%d-%d.txt", spell.id, index, choice - 1);
    }
    return written > 0 && static_cast<std::size_t>(written) < name.size();
}

bool IsSafeDumpFileName(const char* name)
{
    if (name[0] == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (const char* p = name; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F || std::strchr("/\\<>:\"|?*", c) != nullptr) return false;
        // U+0080 to U+009F, control characters too, in UTF-8.
        if (c == 0xC2 && static_cast<unsigned char>(p[1]) >= 0x80 && static_cast<unsigned char>(p[1]) <= 0x9F)
            return false;
    }
    return true;
}

bool IsCalcDumpSlot(const SpellStruct& spell, int slot)
{
    const auto k = static_cast<std::size_t>(slot);
    const int calc = spell.calc[k];
    return spell.base[k] != 0 && spell.max[k] == 0 && calc != 0 && calc != 100 && spell.attrib[k] != 32;
}

int DumpSpell(int spellNumber, const char* spellFile, const char* outPath, int* lineCount)
{
    if (lineCount) *lineCount = 0;
    File in(OpenSpellFile(spellFile));
    if (!in) {
        // The dump file is still made, and stays empty.
        File out = OpenFile(outPath, "w");
        return -1;
    }

    // Line n, counted from 0, if the file has it.
    SpellLineReader reader(in.get());
    const char* line = nullptr;
    std::size_t length = 0;
    int lines = 0;
    bool found = false;
    while (!found && reader.Next(line, length)) found = lines++ == spellNumber;
    if (!found) {
        while (reader.Next(line, length)) ++lines;
        if (lineCount) *lineCount = lines;
        return DUMP_NO_SUCH_LINE;
    }

    File out = OpenFile(outPath, "w");
    if (!out) return -1;
    SpellLineColumns columns;
    SplitSpellLine(line, length, columns);
    TextField text;
    for (int col = 0; col < SPELL_FIELD_COUNT; ++col) {
        ColumnToText(columns[static_cast<std::size_t>(col)], text);
        std::fprintf(out.get(), "Field %d = %s\n", col, text.data());
    }
    return CloseOutput(out) ? 0 : -1;
}

void FormatNoSuchLine(int spellNumber, int lineCount, MessageText& text)
{
    if (lineCount <= 0) {
        std::snprintf(text.data(), text.size(),
                      "Nothing was dumped: the spell file has no line %d (the file is empty).", spellNumber);
    } else if (lineCount == 1) {
        std::snprintf(text.data(), text.size(),
                      "Nothing was dumped: the spell file has no line %d (its only line is line 0).",
                      spellNumber);
    } else {
        std::snprintf(
            text.data(), text.size(),
            "Nothing was dumped: the spell file has no line %d (its %d lines are numbered 0 to %d).",
            spellNumber, lineCount, lineCount - 1);
    }
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
        File in(OpenSpellFile(spellFile));
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
    const std::span<const SpellStruct> spells(g_spellArray.data(),
                                              static_cast<std::size_t>(LoadedSpellCount()));
    WrittenNames written(spells);
    DumpFileName name;
    for (std::size_t i = 0; i < spells.size(); ++i) {
        const SpellStruct& spell = spells[i];
        const int index = static_cast<int>(i);
        // The first free name that can be created; once an id name cannot
        // be created, no further one will be.
        File out;
        int choice = 0;
        for (;; ++choice) {
            if (!SpellDumpFileName(spell, index, choice, name) || written.Contains(name)) continue;
            PathBuffer path;
            if (Fits(std::snprintf(path.data(), path.size(), "%s/%s", directory, name.data()), path))
                out = OpenFile(path.data(), "w");
            if (out || choice > 0) break;
        }
        if (!out) continue;
        written.Add(name, index, choice);
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
