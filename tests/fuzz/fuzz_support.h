// Shared by the fuzz targets: invariant checks that stop the run with a
// message, an in-memory file the readers can open by path, and the values
// and records the targets draw from their input.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/spell.h"

// Aborts (which libFuzzer reports as a crash, with the input saved) when an
// invariant does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// True when the buffer holds a terminated text of at most 259 characters.
inline bool IsTerminated(const TextField& text)
{
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

// A file that lives in memory; fopen reaches it through /proc/self/fd.
class MemoryFile {
public:
    MemoryFile()
    {
        fd_ = ::memfd_create("rivizuzi-fuzz", 0);
        if (fd_ < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        std::snprintf(path_.data(), path_.size(), "/proc/self/fd/%d", fd_);
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the file's content with these bytes.
    void Assign(const std::uint8_t* data, std::size_t size)
    {
        FUZZ_CHECK(::ftruncate(fd_, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            FUZZ_CHECK(n > 0);
            done += static_cast<std::size_t>(n);
        }
    }

    const char* path() const { return path_.data(); }

private:
    int fd_ = -1;
    std::array<char, 64> path_{};
};

// Ints an input picks from when it asks for an edge value: the int range's
// ends, the level range's ends, the unused-slot and no-class markers, the
// special spell id and values the sentences compare against.
inline constexpr std::array<int, 16> kEdgeInts = {
    INT_MIN, INT_MIN + 1, -1000000, -65, -1, 0, 1, 10, 65, 66, 85, 100, 232, 254, 255, INT_MAX};

// Effect ids that make slots of different records match, are left out of
// the stacking check, hidden, or unused.
inline constexpr std::array<int, 10> kEdgeEffects = {0, 1, 10, 35, 36, 79, 83, 85, 116, UNUSED_EFFECT};

// An edge value or any int.
inline int PickInt(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.PickValueInArray(kEdgeInts) : input.ConsumeIntegral<int>();
}

// A value from a small range (so that ids, links and indexes hit the filled
// records) or any int.
inline int PickSmallOrAny(FuzzedDataProvider& input, int low, int high)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange(low, high) : PickInt(input);
}

inline void FillText(FuzzedDataProvider& input, TextField& field)
{
    CopyText(field, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 20).c_str());
}

// Every field the windows and the checks read, from the input; a record of
// zeros once the input is used up.
inline void FillRecord(FuzzedDataProvider& input, SpellStruct& s)
{
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    if (input.remaining_bytes() == 0) return;
    s.id = PickSmallOrAny(input, -2, 6);  // few ids, so that records share them
    for (TextField* text : {&s.name, &s.teleportZone, &s.message1, &s.message2, &s.message3})
        FillText(input, *text);
    for (int* value : {&s.col19, &s.col9, &s.col10, &s.col11, &s.col18, &s.beneficial, &s.resistType,
                       &s.targetType, &s.skill, &s.environment, &s.timeOfDay, &s.col147, &s.linkedSpell}) {
        *value = PickInt(input);
    }
    s.duration = PickSmallOrAny(input, -1, 2);
    s.isInstant = input.ConsumeIntegralInRange(0, 8) == 0;
    s.seconds13 = PickInt(input) / 1000.0;
    s.seconds14 = PickInt(input) / 1000.0;
    s.seconds15 = PickInt(input) / 1000.0;
    for (int& level : s.classLevel) level = PickSmallOrAny(input, -1, 70);
    for (std::size_t i = 0; i < NUM_REAGENTS; ++i) {
        s.reagentId[i] = PickInt(input);
        s.reagentCount[i] = PickInt(input);
    }
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        s.attrib[k] =
            input.ConsumeBool() ? input.PickValueInArray(kEdgeEffects) : PickSmallOrAny(input, -1, 255);
        s.base[k] = PickSmallOrAny(input, -1, 6);
        s.max[k] = PickInt(input);
        s.calc[k] = PickSmallOrAny(input, -2, 210);
    }
    for (TextField& text : s.effectText) CopyText(text, input.ConsumeRandomLengthString(16).c_str());
}
