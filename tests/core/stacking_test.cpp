#include "stacking/stacking.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "data/spell.h"
#include "effects/effects.h"
#include "stacking/stacking_uir.h"

namespace {

constexpr int kHitpoints = 0;
constexpr int kArmorClass = 1;
constexpr int kCharisma = 10;
constexpr int kWeaponProc = 85;

struct Line {
    int value;
    int index;
    std::string name;
    std::string text;
    StackingLine layout;
};

struct Slot {
    StackingSlot layout;
    std::string label;
    std::string header;
    std::vector<Line> lines;
};

class StackingCheck : public testing::Test {
protected:
    void SetUp() override { InitGlobals(); }

    // Appends a spell with a duration, every slot unused; returns its index.
    static int AddSpell(int id, int duration = 10)
    {
        const int index = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        spell.id = id;
        spell.duration = duration;
        CopyText(spell.name, ("Spell " + std::to_string(index)).c_str());
        spell.attrib.fill(UNUSED_EFFECT);
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return index;
    }

    // A fixed-value slot (calc 100) unless max and calc say otherwise.
    static void SetSlot(int index, int slot, int attrib, int base, int max = 0, int calc = 100)
    {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        const auto k = static_cast<std::size_t>(slot);
        spell.attrib[k] = attrib;
        spell.base[k] = base;
        spell.max[k] = max;
        spell.calc[k] = calc;
    }

    static std::vector<Slot> Run(int index)
    {
        std::vector<Slot> slots;
        const int shown = ForEachStackingSlot(
            index,
            [&](const StackingSlot& s) {
                slots.push_back({s, s.label.data(), s.header, {}});
            },
            [&](const StackingSlot& s, const StackingLine& l) {
                EXPECT_EQ(s.slot, slots.back().layout.slot);
                slots.back().lines.push_back({l.value, l.index, l.name, l.text, l});
            });
        EXPECT_EQ(shown, static_cast<int>(slots.size()));
        return slots;
    }

    static std::vector<int> ListedIndices(const Slot& slot)
    {
        std::vector<int> indices;
        for (const Line& line : slot.lines) indices.push_back(line.index);
        return indices;
    }
};

TEST_F(StackingCheck, ListsOtherSpellsLargestValueFirst)
{
    const int given = AddSpell(1);
    SetSlot(given, 0, kHitpoints, 30);
    const int fifty = AddSpell(2);
    SetSlot(fifty, 0, kHitpoints, 50);
    const int minusTen = AddSpell(3);
    SetSlot(minusTen, 0, kHitpoints, -10);
    const int twoHundred = AddSpell(4);
    SetSlot(twoHundred, 0, kHitpoints, 200);

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    ASSERT_EQ(slots[0].lines.size(), 3u);
    EXPECT_EQ(ListedIndices(slots[0]), (std::vector<int>{twoHundred, fifty, minusTen}));
    EXPECT_EQ(slots[0].lines[0].value, 200);
    EXPECT_EQ(slots[0].lines[1].value, 50);
    EXPECT_EQ(slots[0].lines[2].value, -10);
    EXPECT_EQ(slots[0].lines[0].name, "Spell 3");
    EXPECT_EQ(slots[0].lines[0].text, "Increase Hitpoints by 200 per tick");
    EXPECT_EQ(slots[0].lines[2].text, "Decrease Hitpoints by 10 per tick");
}

TEST(StackingValue, FollowsBaseAndMax)
{
    struct Case {
        int base;
        int max;
        int value;
    };
    const Case cases[] = {
        {10, 0, 10}, {10, 50, 50}, {-10, 50, -50}, {-10, -50, -50}, {5, -20, -20}, {0, 7, 7}, {-3, 0, -3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StackingValue(c.base, c.max), c.value) << "base " << c.base << " max " << c.max;
    }
}

TEST(StackingRow, ValueAndIndexHaveAtLeastFiveDigitsAndReadBack)
{
    struct Case {
        int value;
        int index;
        const char* row;
    };
    const Case cases[] = {
        {7, 12, "+00007 00012 Some sentence"},
        {-7, 12, "-00007 00012 Some sentence"},
        {0, 0, "+00000 00000 Some sentence"},
        {123456, 3999, "+123456 03999 Some sentence"},
    };
    for (const Case& c : cases) {
        TextField row{};
        FormatStackingRow(row, c.value, c.index, "Some sentence");
        EXPECT_STREQ(row.data(), c.row);
        int value = 0;
        int index = 0;
        const char* sentence = nullptr;
        ASSERT_TRUE(ReadStackingRow(row, value, index, sentence)) << c.row;
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(index, c.index);
        EXPECT_STREQ(sentence, "Some sentence");
    }
}

TEST(StackingRow, ALongSentenceIsCutButNeverTheNumbers)
{
    const std::string sentence(SPELL_FIELD_CHARS - 1, 'x');
    for (const int value : {7, -7, INT_MIN, INT_MAX}) {
        TextField row{};
        FormatStackingRow(row, value, 3999, sentence.c_str());
        int readValue = 0;
        int readIndex = 0;
        const char* readSentence = nullptr;
        ASSERT_TRUE(ReadStackingRow(row, readValue, readIndex, readSentence));
        EXPECT_EQ(readValue, value);
        EXPECT_EQ(readIndex, 3999);
        EXPECT_EQ(std::strlen(row.data()), static_cast<std::size_t>(SPELL_FIELD_CHARS - 1));
        const std::string kept(readSentence);
        EXPECT_EQ(kept, sentence.substr(0, kept.size()));
        EXPECT_GE(kept.size(), 241u);  // the numbers take at most 18 characters
    }
}

TEST(StackingRow, RowsWithoutTwoNumbersAreRefused)
{
    for (const char* text : {"", "abc", "+00007", "+00007 x"}) {
        TextField row{};
        CopyText(row, text);
        int value = 0;
        int index = 0;
        const char* sentence = nullptr;
        EXPECT_FALSE(ReadStackingRow(row, value, index, sentence)) << text;
    }
}

TEST_F(StackingCheck, ListsOnlyOtherIdsWithADurationAndTheSameEffectInTheSameSlot)
{
    const int given = AddSpell(100);
    SetSlot(given, 2, kCharisma, 5);
    const int listed = AddSpell(101);
    SetSlot(listed, 2, kCharisma, 8);
    const int instant = AddSpell(102, 0);
    SetSlot(instant, 2, kCharisma, 9);
    const int otherSlot = AddSpell(103);
    SetSlot(otherSlot, 3, kCharisma, 9);
    const int sameId = AddSpell(100);
    SetSlot(sameId, 2, kCharisma, 9);
    const int emptyCharisma = AddSpell(104);
    SetSlot(emptyCharisma, 2, kCharisma, 0);
    const int otherEffect = AddSpell(105);
    SetSlot(otherEffect, 2, kArmorClass, 9);
    const int negativeDuration = AddSpell(106, -1);
    SetSlot(negativeDuration, 2, kCharisma, 3);

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(ListedIndices(slots[0]), (std::vector<int>{listed, negativeDuration}));
    // The instant spell was never described, so it stays as it was.
    EXPECT_EQ(g_spellArray[static_cast<std::size_t>(instant)].isInstant, 0);
}

TEST_F(StackingCheck, LeftOutSlotsTakeNoRoomAndHeadersKeepTheirNumbers)
{
    const int given = AddSpell(1);
    SetSlot(given, 0, kArmorClass, 5);
    SetSlot(given, 1, 35, 2);  // disease counter
    SetSlot(given, 2, kCharisma, 0);
    SetSlot(given, 3, 36, 2);  // poison counter
    SetSlot(given, 4, kHitpoints, 10);
    SetSlot(given, 5, 79, 20);  // current hitpoints
    SetSlot(given, 6, 116, 1);  // curse
    SetSlot(given, 11, kCharisma, 3);
    CopyText(g_spellArray[0].effectText[0], "cached one");
    CopyText(g_spellArray[0].effectText[4], "cached five");
    const int a = AddSpell(2);
    SetSlot(a, 0, kArmorClass, 7);
    SetSlot(a, 4, kHitpoints, 1);
    const int b = AddSpell(3);
    SetSlot(b, 0, kArmorClass, 9);

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].label, "Slot 1: ");
    EXPECT_EQ(slots[1].label, "Slot 5: ");
    EXPECT_EQ(slots[2].label, "Slot 12: ");
    EXPECT_EQ(slots[0].header, "cached one");
    EXPECT_EQ(slots[1].header, "cached five");

    // Slot 1: two lines. Its header at 25, lines at 70 and 95, frame 80 high.
    const StackingSlot& first = slots[0].layout;
    EXPECT_EQ(first.headerField.top, 25);
    EXPECT_EQ(first.headerField.left, 100);
    EXPECT_EQ(first.headerField.width, 600);
    EXPECT_EQ(slots[0].lines[0].layout.nameField.top, 70);
    EXPECT_EQ(slots[0].lines[1].layout.nameField.top, 95);
    EXPECT_EQ(first.frame.top, 55);
    EXPECT_EQ(first.frame.left, 30);
    EXPECT_EQ(first.frame.width, 675);
    EXPECT_EQ(first.frame.height, 80);
    // Slot 5 follows 50 below slot 1's last line: 95 + 50.
    EXPECT_EQ(slots[1].layout.headerField.top, 145);
    EXPECT_EQ(slots[1].lines[0].layout.textField.top, 190);
    // Slot 12 has one line (none listed): 190 + 50.
    EXPECT_EQ(slots[2].layout.headerField.top, 240);

    const StackingLine& line = slots[0].lines[0].layout;
    EXPECT_EQ(line.nameField.left, 70);
    EXPECT_EQ(line.nameField.width, 220);
    EXPECT_EQ(line.textField.left, 290);
    EXPECT_EQ(line.textField.width, 415);
    EXPECT_EQ(line.linkButton.top, 72);
    EXPECT_EQ(line.linkButton.left, 40);
    EXPECT_EQ(line.linkButton.width, 20);
    EXPECT_EQ(line.linkButton.height, 8);
}

TEST_F(StackingCheck, ASlotWithoutConflictsHasOneLineAndAFrame55High)
{
    const int given = AddSpell(1);
    SetSlot(given, 3, kArmorClass, 5);
    AddSpell(2);  // carries nothing

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_TRUE(slots[0].lines.empty());
    const StackingSlot& s = slots[0].layout;
    EXPECT_EQ(s.rowCount, 0);
    EXPECT_EQ(s.lineCount, 1);
    EXPECT_EQ(s.frame.height, 55);
    EXPECT_EQ(s.noConflictField.top, 25 + 45);
    EXPECT_EQ(s.noConflictField.left, 80);
    EXPECT_EQ(s.noConflictField.width, 300);
}

TEST_F(StackingCheck, AnInstantSpellShowsNoSlot)
{
    const int given = AddSpell(1, 0);
    SetSlot(given, 0, kArmorClass, 5);
    const int other = AddSpell(2);
    SetSlot(other, 0, kArmorClass, 6);
    EXPECT_EQ(Run(given).size(), 1u);  // not yet described: still takes part
    g_spellArray[static_cast<std::size_t>(given)].isInstant = 1;
    EXPECT_TRUE(Run(given).empty());
}

TEST_F(StackingCheck, HeadersAreTheCachedSentencesWhileListedSentencesFollowTheLevel)
{
    const int given = AddSpell(1);
    g_spellArray[0].classLevel[CLASS_WAR] = 5;
    SetSlot(given, 0, kHitpoints, 10, 0, 102);
    const int other = AddSpell(2);
    g_spellArray[1].classLevel[CLASS_WAR] = 5;
    SetSlot(other, 0, kHitpoints, 10, 0, 102);

    // The detail window describes the spell with ranges...
    TextField text{};
    GenerateEffectString(given, kHitpoints, 10, 0, 102, 10, g_levelEnable, 0, text, nullptr);
    ASSERT_STREQ(text.data(), "Increase Hitpoints by 15 (L5) to 75 (L65) per tick");
    // ...then the user asks for values at level 40.
    g_levelEnable = 1;
    g_displayLevel = 40;

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0].header, "Increase Hitpoints by 15 (L5) to 75 (L65) per tick");
    ASSERT_EQ(slots[0].lines.size(), 1u);
    EXPECT_EQ(slots[0].lines[0].text, "Increase Hitpoints by 50 (L40) per tick");
    // The check leaves the listed spell's sentence cached in its record.
    EXPECT_STREQ(g_spellArray[1].effectText[0].data(), "Increase Hitpoints by 50 (L40) per tick");
}

TEST_F(StackingCheck, ALongSentenceKeepsTheRowsValueAndIndex)
{
    // A weapon proc names the spell it casts: a long name makes a long line.
    const int given = AddSpell(1);
    SetSlot(given, 0, kWeaponProc, 900);
    const int other = AddSpell(2);
    SetSlot(other, 0, kWeaponProc, 900);
    const int named = AddSpell(900);
    CopyText(g_spellArray[static_cast<std::size_t>(named)].name, std::string(250, 'N').c_str());

    const std::vector<Slot> slots = Run(given);
    ASSERT_EQ(slots.size(), 1u);
    ASSERT_EQ(slots[0].lines.size(), 1u);
    const Line& line = slots[0].lines[0];
    EXPECT_EQ(line.value, 900);
    EXPECT_EQ(line.index, other);
    const std::string full = g_spellArray[static_cast<std::size_t>(other)].effectText[0].data();
    ASSERT_EQ(full.size(), static_cast<std::size_t>(SPELL_FIELD_CHARS - 1));
    EXPECT_EQ(line.text, full.substr(0, SPELL_FIELD_CHARS - 1 - 13));
}

TEST_F(StackingCheck, ATableOf4000SpellsListsTheLastRecord)
{
    for (int i = 0; i < MAX_SPELLS; ++i)
        SetSlot(AddSpell(i + 1), 7, kArmorClass, i == MAX_SPELLS - 1 ? 99 : 1);
    const std::vector<Slot> slots = Run(0);
    ASSERT_EQ(slots.size(), 1u);
    ASSERT_EQ(slots[0].lines.size(), static_cast<std::size_t>(MAX_SPELLS - 1));
    EXPECT_EQ(slots[0].lines[0].index, MAX_SPELLS - 1);
    EXPECT_EQ(slots[0].lines[0].value, 99);
}

TEST(StackingFrames, EachSlotNumberHasItsOwnFrame)
{
    std::vector<int> frames;
    for (int n = 1; n <= NUM_EFFECT_SLOTS; ++n) frames.push_back(GetDecorationVal(n));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_GT(frames[i], 0);
        EXPECT_NE(frames[i], STACKPANEL_CLOSE);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(frames[i], frames[j]);
    }
    for (const int n : {0, -1, 13, 100}) EXPECT_EQ(GetDecorationVal(n), -1) << n;
}

// ---- The exporter's stacking mode -------------------------------------------

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// One line of a spell file: 174 columns, "0" unless set, every slot unused
// but the given ones (slot, effect, base, max, calc), no class.
std::string SpellLine(int id, const std::string& name, const std::vector<std::array<int, 5>>& slots,
                      int duration = 10)
{
    std::array<std::string, SPELL_FIELD_COUNT> columns;
    columns.fill("0");
    columns[0] = std::to_string(id);
    columns[1] = name;
    columns[17] = std::to_string(duration);
    for (int k = 0; k < NUM_EFFECT_SLOTS; ++k) columns[static_cast<std::size_t>(86 + k)] = "254";
    for (int c = 104; c <= 118; ++c) columns[static_cast<std::size_t>(c)] = "255";
    for (const auto& [slot, attrib, base, max, calc] : slots) {
        columns[static_cast<std::size_t>(86 + slot)] = std::to_string(attrib);
        columns[static_cast<std::size_t>(20 + slot)] = std::to_string(base);
        columns[static_cast<std::size_t>(44 + slot)] = std::to_string(max);
        columns[static_cast<std::size_t>(70 + slot)] = std::to_string(calc);
    }
    std::string line;
    for (const std::string& column : columns) line += column + '^';
    line.back() = '\n';
    return line;
}

class StackingExport : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("rivizuzi-stacking-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        std::ofstream file(dir_ / "spells_us.txt", std::ios::binary);
        file << SpellLine(10, "Ward",
                          {{0, kArmorClass, 5, 0, 100}, {1, 35, 2, 0, 100}, {3, kHitpoints, 10, 0, 102}})
             << SpellLine(11, "Small Ward", {{0, kArmorClass, 8, 0, 100}})
             << SpellLine(12, "Big Ward", {{0, kArmorClass, 3, 40, 100}})
             << SpellLine(13, "Quick", {{0, kArmorClass, 99, 0, 100}})
             << SpellLine(14, "Caf\xe9 Ward", {{0, kArmorClass, -6, 0, 100}});
    }
    void TearDown() override { fs::remove_all(dir_); }

    struct Result {
        int status;
        std::string out;
        std::string err;
    };

    Result Run(const std::string& arguments)
    {
        const fs::path out = dir_ / "out.txt";
        const fs::path err = dir_ / "err.txt";
        const std::string command = std::string("'") + RIVIZUZI_BUILD_DIR "/rivizuzi-export' " + arguments +
                                    " '" + (dir_ / "spells_us.txt").string() + "' >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
    }

    static std::string ReadAll(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(StackingExport, WritesTheSlotsAndRowsInPanelOrder)
{
    const Result result = Run("--stacking 0");
    ASSERT_EQ(result.status, 0) << result.err;
    const Json object = Json::parse(result.out);
    const Json expected = Json::parse(R"({"index": 0, "slots": [
        {"slot": 1, "header": "Increase Armor Class by 5", "rows": [
            {"value": 99, "index": 3, "name": "Quick", "text": "Increase Armor Class by 99"},
            {"value": 40, "index": 2, "name": "Big Ward", "text": "Increase Armor Class by 40"},
            {"value": 8, "index": 1, "name": "Small Ward", "text": "Increase Armor Class by 8"},
            {"value": -6, "index": 4, "name": "Caf\u00e9 Ward", "text": "Decrease Armor Class by 6"}]},
        {"slot": 4, "header": "Increase Hitpoints by 11 (L1) to 75 (L65) per tick", "rows": []}]})");
    EXPECT_EQ(object, expected);
}

TEST_F(StackingExport, HeadersAreTheDetailWindowsSentencesAtTheChosenLevel)
{
    const Result result = Run("--stacking 0 --level 30");
    ASSERT_EQ(result.status, 0) << result.err;
    const Json object = Json::parse(result.out);
    EXPECT_EQ(object["slots"][1]["header"], "Increase Hitpoints by 40 (L30) per tick");
}

TEST_F(StackingExport, RefusesIndicesOfNoLoadedSpellAndInstantSpells)
{
    {
        std::ofstream file(dir_ / "spells_us.txt", std::ios::app | std::ios::binary);
        file << SpellLine(15, "Flash", {{0, kArmorClass, 1, 0, 100}}, 0);
    }
    for (const char* arguments : {"--stacking 6", "--stacking -1", "--stacking 5"}) {
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_TRUE(result.out.empty()) << arguments;
        EXPECT_FALSE(result.err.empty()) << arguments;
    }
}

}  // namespace
