#include "sample/sample_words.h"

namespace sample {
namespace {

constexpr std::array<const char*, 18> kOnsets = {"k",  "v", "th", "z", "m",  "r", "s", "l", "dr",
                                                 "qu", "b", "n",  "t", "sh", "g", "f", "y", "h"};
constexpr std::array<const char*, 9> kVowels = {"a", "e", "i", "o", "u", "ae", "ei", "ou", "y"};
constexpr std::array<const char*, 10> kCodas = {"", "n", "r", "l", "th", "s", "m", "sk", "x", "nd"};
constexpr std::array<const char*, 6> kRanks = {" II", " III", " IV", " V", " Rk. I", " Rk. II"};

}  // namespace

std::string Word(Rng& rng)
{
    std::string word;
    const int syllables = rng.Percent(75) ? 2 : 3;
    for (int s = 0; s < syllables; ++s) {
        word += rng.Pick(All(kOnsets));
        word += rng.Pick(All(kVowels));
        if (s + 1 == syllables ? rng.Percent(70) : rng.Percent(15)) word += rng.Pick(All(kCodas));
    }
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

// Calls on the generator are kept in separate statements throughout: the
// order in which function arguments or the operands of + are evaluated is
// unspecified, and the output must not depend on the compiler.
std::string SpellName(Rng& rng)
{
    static constexpr std::array<const char*, 5> kJoins = {" ", "'s ", " of ", " ", " of the "};
    const int pattern = rng.Range(0, 4);
    std::string name = Word(rng);
    name += kJoins[static_cast<std::size_t>(pattern)];
    name += Word(rng);
    if (pattern == 3) {
        name += ' ';
        name += Word(rng);
    }
    if (rng.Percent(15)) name += rng.Pick(All(kRanks));
    return name;
}

std::string LongName(Rng& rng, std::size_t length)
{
    std::string name = Word(rng);
    while (name.size() < length) name.append(" ").append(Word(rng));
    name.resize(length);
    if (name.back() == ' ') name.back() = 'e';
    return name;
}

std::string AwkwardName(Rng& rng, int variant)
{
    const std::string first = Word(rng);
    const std::string second = Word(rng);
    switch (variant % 6) {
        case 0:
            return "Rune: " + first;
        case 1:
            return "Whither " + first + "?";
        case 2:
            return first + "/" + second + " Binding";
        case 3:
            return first + " *Sealed*";
        case 4:
            return "\"" + first + "\" <" + second + ">";
        default:
            return first + "..";
    }
}

std::string Zone(Rng& rng)
{
    std::string zone = Word(rng);
    zone[0] = static_cast<char>(zone[0] - 'A' + 'a');
    return zone;
}

}  // namespace sample
