// The sample's random numbers: the same seed gives the same numbers on
// every platform and with every compiler.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace sample {

// splitmix64: tiny, well mixed and identical on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in lo..hi, both included.
    int Range(int lo, int hi)
    {
        auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return static_cast<int>(lo + static_cast<std::int64_t>(Next() % span));
    }

    // True with probability percent / 100.
    bool Percent(int percent) { return Range(0, 99) < percent; }

    template <typename T>
    const T& Pick(std::span<const T> items)
    {
        return items[static_cast<std::size_t>(Next() % items.size())];
    }

private:
    std::uint64_t state_;
};

template <typename T, std::size_t N>
std::span<const T> All(const std::array<T, N>& items)
{
    return std::span<const T>(items);
}

}  // namespace sample
