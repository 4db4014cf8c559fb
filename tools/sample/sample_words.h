// Invented words for the sample's names, zones and messages.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "sample/sample_rng.h"

namespace sample {

constexpr std::array<const char*, 10> kFirstMessages = {
    "Your skin prickles.",       "A cold hum fills your ears.", "You feel lighter.",
    "Your hands begin to glow.", "The ground trembles.",        "You feel the world slow.",
    "A bitter taste rises.",     "Your sight sharpens.",        "You are wrapped in mist.",
    "Sparks dance on your arms."};
constexpr std::array<const char*, 8> kOtherMessages = {
    " is wrapped in mist.",     " glows faintly.",   " staggers.",        " looks lighter.",
    " is bathed in pale fire.", " begins to shake.", " fades from view.", " stands taller."};
constexpr std::array<const char*, 6> kLastMessages = {
    "The glow fades.",    "The mist lifts.",       "Your skin stops prickling.",
    "The humming stops.", "You feel heavy again.", "The sparks die out."};

std::string Word(Rng& rng);
std::string SpellName(Rng& rng);
// A name of exactly `length` characters made of invented words.
std::string LongName(Rng& rng, std::size_t length);
// Names that are awkward as file names: characters some systems forbid in
// them, a path separator, dots.
std::string AwkwardName(Rng& rng, int variant);
std::string Zone(Rng& rng);

}  // namespace sample
