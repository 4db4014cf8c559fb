// ParseSpellFile on arbitrary files. The first input byte chooses how many
// records the table has room for (so that running out of room is reached
// with small inputs); the rest is the file.
#include <cstring>
#include <span>

#include "data/messages.h"
#include "data/reader.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kMaxRoom = 16;

// Lines the reader sees: every line feed ends one, and text after the last
// line feed is one more.
std::size_t CountLines(const std::uint8_t* data, std::size_t size)
{
    std::size_t lines = 0;
    for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
    if (size > 0 && data[size - 1] != '\n') ++lines;
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    static MemoryFile file;
    const std::size_t room = data[0] % (kMaxRoom + 1);
    file.Assign(data + 1, size - 1);

    // One record more than the room given: it must come through untouched.
    static std::array<SpellStruct, kMaxRoom + 1> table;
    std::memset(static_cast<void*>(table.data()), 0xA5, sizeof table);
    static SpellStruct guard;
    std::memset(static_cast<void*>(&guard), 0xA5, sizeof guard);

    bool moreLines = true;
    const int count = ParseSpellFile(file.path(), std::span(table.data(), room), &moreLines);

    const std::size_t lines = CountLines(data + 1, size - 1);
    FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= room);
    FUZZ_CHECK(static_cast<std::size_t>(count) == (lines < room ? lines : room));
    FUZZ_CHECK(moreLines == (lines > room));
    FUZZ_CHECK(std::memcmp(&table[room], &guard, sizeof guard) == 0);
    for (int i = 0; i < count; ++i) {
        const SpellStruct& record = table[static_cast<std::size_t>(i)];
        FUZZ_CHECK(IsTerminated(record.name) && IsTerminated(record.teleportZone) &&
                   IsTerminated(record.message1) && IsTerminated(record.message2) &&
                   IsTerminated(record.message3) && IsTerminated(record.column2Text));
        FUZZ_CHECK(record.isInstant == 0);
    }

    // The whole table, as the program loads it: at most 4000 records.
    const int loaded = ParseSpellFile(file.path(), g_spellArray);
    FUZZ_CHECK(loaded >= 0 && loaded <= MAX_SPELLS);
    FUZZ_CHECK(static_cast<std::size_t>(loaded) == (lines < MAX_SPELLS ? lines : MAX_SPELLS));
    return 0;
}
