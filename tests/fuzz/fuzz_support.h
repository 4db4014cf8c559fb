// Shared by the fuzz targets: invariant checks, an in-memory file, values and records drawn from the input.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/spell.h"

// Like assert, in every build: aborts, which libFuzzer reports as a crash and saves the input.
#define FUZZ_CHECK(condition)                                                                              \
    ((condition) ? void()                                                                                  \
                 : (std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition), \
                    std::abort()))

// True when the buffer holds a terminated text of at most 259 characters.
inline bool IsTerminated(const TextField& text)
{
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

// A file that lives in memory; fopen reaches it through /proc/self/fd.
struct MemoryFile {
    int fd = ::memfd_create("rivizuzi-fuzz", 0);
    std::string path = "/proc/self/fd/" + std::to_string(fd);

    void Assign(const void* data, std::size_t size)
    {
        FUZZ_CHECK(fd >= 0 && ::ftruncate(fd, 0) == 0 && ::pwrite(fd, data, size, 0) == ssize_t(size));
    }
};

// The int range's and level range's ends, unused-slot and no-class markers, values sentences compare against.
inline constexpr std::array<int, 16> kEdgeInts = {
    INT_MIN, INT_MIN + 1, -1000000, -65, -1, 0, 1, 10, 65, 66, 85, 100, 232, 254, 255, INT_MAX};

// Often one from low to high (so that ids, links and indexes hit filled records), else an edge or any int.
inline int PickInt(FuzzedDataProvider& input, int low = 0, int high = -1)
{
    if (low <= high && input.ConsumeBool()) return input.ConsumeIntegralInRange(low, high);
    return input.ConsumeBool() ? input.PickValueInArray(kEdgeInts) : input.ConsumeIntegral<int>();
}

// Every field the windows and the checks read, from the input; zeros once the input is used up.
inline void FillRecord(FuzzedDataProvider& input, SpellStruct& s)
{
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    if (input.remaining_bytes() == 0) return;
    s.id = PickInt(input, -2, 6);  // few ids, so that records share them
    for (TextField* text : {&s.name, &s.teleportZone, &s.message1, &s.message2, &s.message3})
        CopyText(*text, input.ConsumeRandomLengthString(SPELL_FIELD_CHARS + 20).c_str());
    for (int* value : {&s.col19, &s.col9, &s.col10, &s.col11, &s.col18, &s.beneficial, &s.resistType,
                       &s.targetType, &s.skill, &s.environment, &s.timeOfDay, &s.col147, &s.linkedSpell}) {
        *value = PickInt(input);
    }
    s.duration = PickInt(input, -1, 2);
    s.isInstant = input.ConsumeIntegralInRange(0, 8) == 0;
    for (double* seconds : {&s.seconds13, &s.seconds14, &s.seconds15}) *seconds = PickInt(input) / 1000.0;
    for (int& level : s.classLevel) level = PickInt(input, -1, 70);
    for (auto* reagents : {&s.reagentId, &s.reagentCount})
        for (int& value : *reagents) value = PickInt(input);
    // Effect ids that are left out of the stacking check, hidden or unused.
    constexpr int kEdgeEffects[] = {0, 1, 10, 35, 36, 79, 83, 85, 116, UNUSED_EFFECT};
    for (std::size_t k = 0; k < NUM_EFFECT_SLOTS; ++k) {
        s.attrib[k] = input.ConsumeBool() ? input.PickValueInArray(kEdgeEffects) : PickInt(input, -1, 255);
        s.base[k] = PickInt(input, -1, 6);
        s.max[k] = PickInt(input);
        s.calc[k] = PickInt(input, -2, 210);
    }
    for (TextField& text : s.effectText) CopyText(text, input.ConsumeRandomLengthString(16).c_str());
}
