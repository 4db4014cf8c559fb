// Synthetic spell files. Every name, zone and message is made up from
// invented syllables and plain phrases.
//
// Coverage does not rest on luck: the cases that tests and the viewer rely on
// are placed on a fixed schedule by line number (for example slot 0 of line i
// holds effect i % 154, and class i % 15 takes the level (i / 15) % 68 of the
// level list), and the random generator only fills in the rest. Any file of a
// few thousand lines therefore holds every case whatever the seed.
#include "sample/sample_gen.h"

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "sample/sample_rng.h"
#include "sample/sample_words.h"

namespace {

using namespace sample;

constexpr int kColumns = 174;
constexpr int kSlots = 12;
constexpr int kUnused = 254;
constexpr int kLastEffect = 153;
constexpr int kMaxName = 259;

// Item ids the viewer knows by name, and some it does not.
constexpr std::array<int, 31> kKnownItems = {0,     1350,  2093,  6002,  9963,  10015, 10019, 10020,
                                             10024, 10026, 10028, 10030, 10031, 10035, 13000, 13011,
                                             13073, 13076, 13080, 16500, 16501, 16502, 16503, 16504,
                                             16505, 16506, 16507, 31288, 31289, 31290, 31291};
constexpr std::array<int, 6> kUnknownItems = {10025, 12345, 777, 50001, -7, 99999};

// Race ids the viewer knows by name, and some it does not.
constexpr std::array<int, 28> kKnownRaces = {-2, -1, 1,  2,  3,  4,  5,  6,  7,   8,   9,   10,  11,  12,
                                             14, 27, 42, 46, 58, 60, 75, 82, 120, 128, 130, 142, 143, 367};
constexpr std::array<int, 6> kUnknownRaces = {13, 0, -3, 15, 500, 1000};

// Effect ids whose sentence scales with level.
constexpr std::array<int, 43> kScaledEffects = {
    0,  1,  2,  3,  4,  5,   6,   7,   8,   9,   10,  15,  19,  24,  35,  36,  46,  47,  48,  49,  50, 55,
    69, 78, 79, 92, 97, 100, 101, 111, 114, 116, 118, 120, 121, 124, 125, 127, 128, 129, 130, 131, 132};

// Effect ids outside the catalogue.
constexpr std::array<int, 8> kOutOfRangeEffects = {154, 155, 200, 253, 255, 1000, -1, -42};

// Codes of the detail window: listed ones and ones it has no name for.
constexpr std::array<int, 10> kKnownSkills = {4, 5, 12, 14, 18, 24, 41, 49, 54, 70};
constexpr std::array<int, 5> kUnknownSkills = {0, 1, 33, 99, -1};
constexpr std::array<int, 21> kKnownTargets = {0,  1,  3,  4,  5,  6,  8,  9,  10, 11, 13,
                                               14, 15, 16, 17, 18, 20, 24, 25, 40, 41};
constexpr std::array<int, 6> kUnknownTargets = {2, 7, 12, 30, 42, -1};
constexpr std::array<int, 4> kUnknownResists = {6, 9, -1, 100};
constexpr std::array<int, 3> kKnownEnvironments = {-1, 1, 2};
constexpr std::array<int, 3> kUnknownEnvironments = {0, 3, 7};

// Class levels that every class takes on schedule: 1..65, then 0, 254, 255.
constexpr int kClassLevelValues = 68;
constexpr int ClassLevelValue(int k)
{
    return k < 65 ? k + 1 : (k == 65 ? 0 : (k == 66 ? 254 : 255));
}

// ---- Effect slots ----------------------------------------------------------

struct Slot {
    int attrib = kUnused;
    int base = 0;
    int max = 0;
    int calc = 100;
    int unknown = 0;
    bool taken = false;  // holds an effect or a location's coordinate
};

// One formula code of each family: negative, 0..98, 99, 100, 101..110,
// 111..199, 200 and above.
constexpr int kCalcFamilies = 7;
int CalcOfFamily(Rng& rng, int family)
{
    switch (family) {
        case 0:
            return -rng.Range(1, 30);
        case 1:
            return rng.Range(0, 98);
        case 2:
            return 99;
        case 3:
            return 100;
        case 4:
            return rng.Range(101, 110);
        case 5:
            return rng.Range(111, 199);
        default:
            return rng.Range(200, 1200);
    }
}

// Max above 0, at 0, below 0.
constexpr int kMaxKinds = 3;
int MaxOfKind(Rng& rng, int kind)
{
    if (kind == 0) return rng.Range(1, 3000);
    if (kind == 1) return 0;
    return -rng.Range(1, 800);
}

int RandomCalcFamily(Rng& rng)
{
    // Fixed values and small steps are the common cases.
    int roll = rng.Range(0, 99);
    if (roll < 40) return 3;
    if (roll < 60) return 4;
    if (roll < 75) return 1;
    if (roll < 85) return 5;
    if (roll < 90) return 0;
    if (roll < 95) return 2;
    return 6;
}

// What the sample knows about the whole file while it fills one line.
struct FileContext {
    std::vector<int> ids;  // id of every line
    int lines = 0;

    int PresentId(Rng& rng) const { return ids[static_cast<std::size_t>(rng.Range(0, lines - 1))]; }
    // Ids are at most `lines`, so anything above is missing.
    int MissingId(Rng& rng) const { return lines + rng.Range(100, 20000); }
};

void FillScaled(Rng& rng, Slot& slot, int calcFamily, int maxKind, bool negative)
{
    int magnitude = rng.Percent(5) ? 0 : rng.Range(1, rng.Percent(80) ? 120 : 3000);
    slot.base = negative ? -magnitude : magnitude;
    slot.calc = CalcOfFamily(rng, calcFamily);
    slot.max = MaxOfKind(rng, maxKind);
}

// Fills a slot for an effect id. `variant` selects the scheduled case for
// effects that name something; a negative variant means "any".
void FillEffect(Rng& rng, const FileContext& file, int attrib, int variant, Slot& slot)
{
    slot.attrib = attrib;
    slot.taken = true;
    slot.unknown = rng.Percent(80) ? 0 : rng.Range(1, 50);
    int v = variant >= 0 ? variant : rng.Range(0, 11);
    switch (attrib) {
        case 85:  // weapon proc: present or missing spell
            slot.base = v % 2 == 0 ? file.PresentId(rng) : file.MissingId(rng);
            break;
        case 139: {  // spell limit: include or exclude, present or missing
            int id = (v / 2) % 2 == 0 ? file.PresentId(rng) : file.MissingId(rng);
            slot.base = v % 2 == 0 ? id : -id;
            break;
        }
        case 58:  // illusion
            slot.base = v % 3 == 2 ? rng.Pick(All(kUnknownRaces)) : rng.Pick(All(kKnownRaces));
            break;
        case 32:
        case 109:  // summoned item
            slot.base = v % 3 == 2 ? rng.Pick(All(kUnknownItems)) : rng.Pick(All(kKnownItems));
            slot.max = rng.Range(0, 20);
            break;
        case 83:
        case 88:
        case 104:  // location: x here, y and z in the next two slots
            slot.base = rng.Range(-3000, 3000);
            break;
        case 89:
            slot.base = rng.Range(40, 200);
            break;  // player size, percent
        case 11:
        case 119:  // attack speed, percent read against 100
            slot.base = rng.Range(50, 160);
            slot.max = rng.Percent(50) ? 0 : rng.Range(100, 180);
            slot.calc = CalcOfFamily(rng, rng.Percent(60) ? 3 : 4);
            break;
        case 21:
            slot.base = rng.Range(500, 12000);
            break;  // stun, ms
        case 140:
            slot.base = rng.Range(1, 600);
            break;  // ticks
        case 143:
            slot.base = rng.Range(500, 9000);
            break;  // ms
        case 81:
            slot.base = rng.Range(0, 100);
            break;  // percent
        default: {
            const int family = RandomCalcFamily(rng);
            const int maxKind = rng.Range(0, 9) < 4 ? 0 : (rng.Percent(85) ? 1 : 2);
            const bool negative = rng.Percent(25);
            FillScaled(rng, slot, family, maxKind, negative);
            break;
        }
    }
}

bool IsLocation(int attrib)
{
    return attrib == 83 || attrib == 88 || attrib == 104;
}
bool NeedsZone(int attrib)
{
    return IsLocation(attrib) || attrib == 108;
}

// Places an effect at slot k; a location effect also fills the next two
// slots' bases with its y and z (those slots stay unused).
void PlaceEffect(Rng& rng, const FileContext& file, std::array<Slot, kSlots>& slots, int k, int attrib,
                 int variant)
{
    FillEffect(rng, file, attrib, variant, slots[static_cast<std::size_t>(k)]);
    if (!IsLocation(attrib)) return;
    for (int j = k + 1; j < kSlots && j <= k + 2; ++j) {
        Slot& coordinate = slots[static_cast<std::size_t>(j)];
        coordinate = Slot{};
        coordinate.base = rng.Range(-3000, 3000);
        coordinate.taken = true;
    }
}

int FirstFreeSlot(const std::array<Slot, kSlots>& slots, int from)
{
    for (int k = from; k < kSlots; ++k) {
        if (!slots[static_cast<std::size_t>(k)].taken) return k;
    }
    return -1;
}

// ---- Lines -----------------------------------------------------------------

using Columns = std::array<std::string, kColumns>;

void SetInt(Columns& c, int column, int value)
{
    c[static_cast<std::size_t>(column)] = std::to_string(value);
}

// Columns 104..118 hold the classes WAR, CLR, PAL, RNG, SHD, DRU, MNK, BRD,
// ROG, SHM, NEC, WIZ, MAG, ENC, BST; the schedule walks the columns.
void FillClasses(Rng& rng, Columns& c, int line)
{
    for (int k = 0; k < 15; ++k) SetInt(c, 104 + k, 255);
    int extra = rng.Range(0, 4);
    for (int e = 0; e < extra; ++e) {
        const int column = 104 + rng.Range(0, 14);
        SetInt(c, column, rng.Range(1, 65));
    }
    if (rng.Percent(3)) {
        const int column = 104 + rng.Range(0, 14);
        SetInt(c, column, rng.Percent(50) ? 0 : 254);
    }
    SetInt(c, 104 + line % 15, ClassLevelValue((line / 15) % kClassLevelValues));
}

void FillLine(Rng& rng, const FileContext& file, const std::vector<std::string>& names, int line, Columns& c)
{
    for (auto& column : c) column.assign(1, '0');
    const int cycle = line / (kLastEffect + 1);

    SetInt(c, 0, file.ids[static_cast<std::size_t>(line)]);
    c[1] = names[static_cast<std::size_t>(line)];
    c[2] = rng.Percent(70) ? std::string() : std::string("PLAYER_").append(std::to_string(rng.Range(1, 9)));
    c[3] = "";
    c[4] = "";
    c[5] = "";
    c[6] = rng.Pick(All(kFirstMessages));
    c[7] = line % 4 == 3 ? "" : rng.Pick(All(kOtherMessages));
    c[8] = rng.Pick(All(kLastMessages));
    SetInt(c, 9, rng.Range(0, 300));  // range
    SetInt(c, 10, rng.Percent(70) ? 0 : rng.Range(5, 60));
    SetInt(c, 11, rng.Range(0, 100));
    SetInt(c, 12, rng.Range(0, 3));
    SetInt(c, 13, rng.Range(0, 40) * 250);  // times in ms
    SetInt(c, 14, rng.Range(0, 20) * 250);
    SetInt(c, 15, rng.Range(0, 120) * 500);
    SetInt(c, 16, rng.Range(0, 12));
    int duration;
    switch (line % 6) {
        case 0:
        case 1:
            duration = 0;
            break;  // instant
        case 2:
            duration = rng.Range(1, 30);
            break;
        case 3:
            duration = rng.Range(30, 300);
            break;
        case 4:
            duration = rng.Range(1000, 72000);
            break;  // long
        default:
            duration = line % 60 == 5 ? -1 : rng.Range(1, 9000);
            break;
    }
    SetInt(c, 17, duration);
    SetInt(c, 18, rng.Range(0, 5));
    SetInt(c, 19, rng.Range(0, 400));

    // Effect slots. Slot 0 walks every catalogue id; the next free slot
    // walks every calc family, max kind and base sign; the rest are random.
    std::array<Slot, kSlots> slots{};
    const int scheduledEffect = line % (kLastEffect + 1);
    PlaceEffect(rng, file, slots, 0, scheduledEffect, cycle);
    if (NeedsZone(scheduledEffect) && cycle % 4 != 3) c[3] = Zone(rng);

    int k = FirstFreeSlot(slots, 1);
    Slot& graded = slots[static_cast<std::size_t>(k)];
    graded.attrib = kScaledEffects[static_cast<std::size_t>(line) % kScaledEffects.size()];
    graded.taken = true;
    FillScaled(rng, graded, line % kCalcFamilies, (line / kCalcFamilies) % kMaxKinds,
               (line / (kCalcFamilies * kMaxKinds)) % 2 == 1);

    int used = rng.Range(0, 9);
    for (int n = 0; n < used; ++n) {
        int free = FirstFreeSlot(slots, k + 1);
        if (free < 0) break;
        k = free;
        int roll = rng.Range(0, 99);
        if (roll < 3) {
            Slot& odd = slots[static_cast<std::size_t>(k)];
            FillScaled(rng, odd, RandomCalcFamily(rng), 1, false);
            odd.attrib = rng.Pick(All(kOutOfRangeEffects));
            odd.taken = true;
        } else if (roll < 6) {
            slots[static_cast<std::size_t>(k)] = Slot{10, 0, 0, 100, 0, true};  // placeholder: Charisma by 0
        } else if (roll < 50) {
            PlaceEffect(rng, file, slots, k, rng.Pick(All(kScaledEffects)), -1);
        } else {
            int attrib = rng.Range(0, kLastEffect);
            if (IsLocation(attrib) || attrib == 108) attrib = 0;  // zones follow the schedule only
            PlaceEffect(rng, file, slots, k, attrib, -1);
        }
    }
    // Now and then an effect outside the catalogue, or a teleport in the
    // last slot where no coordinates follow.
    if (line % 37 == 11) {
        Slot& s = slots[static_cast<std::size_t>(rng.Range(1, 11))];
        FillScaled(rng, s, 3, 1, rng.Percent(50));
        s.attrib = kOutOfRangeEffects[static_cast<std::size_t>((line / 37) % kOutOfRangeEffects.size())];
    }
    if (line % 331 == 200) {
        PlaceEffect(rng, file, slots, 11, 83, 0);
        c[3] = Zone(rng);
    }
    for (int s = 0; s < kSlots; ++s) {
        const Slot& slot = slots[static_cast<std::size_t>(s)];
        SetInt(c, 20 + s, slot.base);
        SetInt(c, 32 + s, slot.unknown);
        SetInt(c, 44 + s, slot.max);
        SetInt(c, 70 + s, slot.calc);
        SetInt(c, 86 + s, slot.attrib);
    }

    SetInt(c, 56, rng.Range(0, 1));
    SetInt(c, 57, rng.Range(0, 1));
    // Components: known items, unknown items, none.
    int components = line % 5 == 0 ? 0 : rng.Range(1, 4);
    for (int r = 0; r < 4; ++r) {
        int item = -1;
        int count = 0;
        if (r < components) {
            item = (line + r) % 4 == 3 ? rng.Pick(All(kUnknownItems)) : rng.Pick(All(kKnownItems));
            count = rng.Range(1, 5);
        }
        SetInt(c, 58 + r, item);
        SetInt(c, 62 + r, count);
        SetInt(c, 66 + r, rng.Percent(80) ? -1 : rng.Range(1000, 30000));
    }
    SetInt(c, 82, rng.Range(0, 30));
    SetInt(c, 83, line % 29 == 7 ? (line % 2 ? 3 : -1) : rng.Range(0, 2));  // beneficial
    SetInt(c, 84, rng.Range(0, 1));
    SetInt(c, 85, line % 23 == 4 ? rng.Pick(All(kUnknownResists)) : rng.Range(0, 5));
    SetInt(c, 98, line % 19 == 6 ? rng.Pick(All(kUnknownTargets)) : rng.Pick(All(kKnownTargets)));
    SetInt(c, 99, rng.Range(0, 3));
    SetInt(c, 100, line % 17 == 8 ? rng.Pick(All(kUnknownSkills)) : rng.Pick(All(kKnownSkills)));
    SetInt(c, 101, line % 13 == 9 ? rng.Pick(All(kUnknownEnvironments)) : rng.Pick(All(kKnownEnvironments)));
    SetInt(c, 102, rng.Range(0, 3));
    SetInt(c, 103, line % 11 == 10 ? rng.Range(0, 1) * 2 + 1 : (rng.Percent(85) ? 0 : 2));  // time of day
    FillClasses(rng, c, line);
    for (int col = 119; col <= 149; ++col) SetInt(c, col, rng.Percent(75) ? 0 : rng.Range(1, 100));
    c[140] = "";
    c[146] = "";
    // Linked spell: none, present, missing, 0.
    int linked;
    switch (line % 5) {
        case 2:
            linked = file.PresentId(rng);
            break;
        case 3:
            linked = file.MissingId(rng);
            break;
        case 4:
            linked = 0;
            break;
        default:
            linked = -1;
            break;
    }
    SetInt(c, 150, linked);
    for (int col = 151; col < kColumns; ++col) SetInt(c, col, rng.Percent(85) ? 0 : rng.Range(1, 20));
}

}  // namespace

std::string GenerateSampleSpellFile(const SampleOptions& options)
{
    const int lines = options.lines > 0 ? options.lines : 0;
    if (lines == 0) return {};
    Rng rng(0xD1B54A32D192ED03ull ^ options.seed);

    // Ids run 1, 2, 3...; now and then a line repeats an earlier id.
    FileContext file;
    file.lines = lines;
    file.ids.resize(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        file.ids[static_cast<std::size_t>(i)] =
            i % 211 == 37 ? file.ids[static_cast<std::size_t>(i - 3)] : i + 1;
    }

    // Names first, so that a line can repeat an earlier one.
    std::vector<std::string> names(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        std::string& name = names[static_cast<std::size_t>(i)];
        if (i % 500 == 250) {
            name = LongName(rng, static_cast<std::size_t>(kMaxName - (i / 500) % 6));
        } else if (i % 173 == 91) {
            name = names[static_cast<std::size_t>(i - 7)];
        } else if (i % 409 == 123) {
            name = AwkwardName(rng, i / 409);
        } else {
            name = SpellName(rng);
        }
    }

    std::string out;
    out.reserve(static_cast<std::size_t>(lines) * 720);
    Columns columns;
    for (int i = 0; i < lines; ++i) {
        FillLine(rng, file, names, i, columns);
        for (int col = 0; col < kColumns; ++col) {
            if (col > 0) out += '^';
            out += columns[static_cast<std::size_t>(col)];
        }
        out += '\n';
    }
    return out;
}

bool WriteSampleSpellFile(const SampleOptions& options, const char* path)
{
    std::string text = GenerateSampleSpellFile(options);
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}
