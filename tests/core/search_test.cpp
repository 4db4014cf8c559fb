#include "list/search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/temp_dir.h"
#include "data/spell.h"
#include "list/effect_filter.h"
#include "list/upper_case.h"
#include "stacking/stacking.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

class SpellSearch : public testing::Test {
protected:
    void SetUp() override { InitGlobals(); }

    // Appends a spell that no class can use; returns its table index.
    static int AddSpell(const std::string& name)
    {
        const int index = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        CopyText(spell.name, name.c_str());
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return index;
    }

    static void SetLevel(int index, ClassIndex cls, int level)
    {
        g_spellArray[static_cast<std::size_t>(index)].classLevel[cls] = level;
    }

    // Puts an effect into a slot of the spell.
    static void SetSlot(int index, int slot, int attrib, int base)
    {
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        spell.attrib[static_cast<std::size_t>(slot)] = attrib;
        spell.base[static_cast<std::size_t>(slot)] = base;
    }

    static Rows Search(const char* text, int classValue, int effectId = ANY_EFFECT)
    {
        Rows rows;
        const int count = ForEachSpellRow(text, classValue, effectId, [&](const char* label, int index) {
            rows.emplace_back(label, index);
        });
        EXPECT_EQ(count, static_cast<int>(rows.size()));
        return rows;
    }
};

TEST_F(SpellSearch, NameMatchIgnoresCaseAndKeepsSpaces)
{
    AddSpell("Alpha Ward");     // 0
    AddSpell("Minor Healing");  // 1
    AddSpell("Healing");        // 2
    AddSpell("Greater Heal");   // 3

    struct Case {
        const char* text;
        Rows expected;
    };
    const Case cases[] = {
        {"lph", {{"Alpha Ward", 0}}},
        {"HEAL", {{"Greater Heal", 3}, {"Healing", 2}, {"Minor Healing", 1}}},
        {"r h", {{"Greater Heal", 3}, {"Minor Healing", 1}}},
        {" heal", {{"Greater Heal", 3}, {"Minor Healing", 1}}},  // a leading space is not trimmed
        {"heal ", {}},                                           // nor a trailing one
        {"xyz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Search(c.text, 0), c.expected) << "text '" << c.text << "'";
}

TEST_F(SpellSearch, NamesMatchInTheEncodingTheyAreShownIn)
{
    AddSpell("Caf\xE9 Ward");            // 0: Latin-1
    AddSpell("Caf\xC3\xA9 Gate");        // 1: UTF-8
    AddSpell("Cafe Plain");              // 2
    AddSpell("Price \xE2\x82\xAC\xFF");  // 3: Latin-1 (not UTF-8 for the last byte)
    AddSpell("\xC3\x89t\xC3\xA9 Song");  // 4: UTF-8, capital E acute first

    struct Case {
        const char* name;
        const char* text;
        Rows expected;
    };
    const Case cases[] = {
        {"typed UTF-8 finds both encodings", "caf\xC3\xA9", {{"Caf\xC3\xA9 Gate", 1}, {"Caf\xE9 Ward", 0}}},
        {"ASCII letters in any case", "CAF\xC3\xA9 w", {{"Caf\xE9 Ward", 0}}},
        {"a Latin-1 text reads as Latin-1", "caf\xE9", {{"Caf\xC3\xA9 Gate", 1}, {"Caf\xE9 Ward", 0}}},
        {"a character beyond Latin-1 is not a Latin-1 name's bytes", "\xE2\x82\xAC", {}},
        {"other letters keep their case", "\xC3\xA9t\xC3\xA9", {}},
        {"within a UTF-8 name", "t\xC3\xA9 s", {{"\xC3\x89t\xC3\xA9 Song", 4}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Search(c.text, 0), c.expected) << c.name;
}

TEST_F(SpellSearch, EmptyTextListsEverySpellInNameOrderWithItsIndex)
{
    const char* names[] = {"Mend", "Bolt", "Zap",  "Aura", "Cure", "Fade", "Gust",
                           "Hex",  "Ice",  "Jolt", "Kick", "Lull", "Nova"};
    for (const char* name : names) AddSpell(name);
    SetLevel(4, CLASS_CLR, 10);  // class levels play no part without a class

    const Rows rows = Search("", 0);
    ASSERT_EQ(rows.size(), std::size(names));
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1].first, rows[i].first);
    for (const auto& [label, index] : rows) EXPECT_EQ(label, names[index]);
    EXPECT_EQ(rows.back(), (std::pair<std::string, int>{"Zap", 2}));
}

TEST_F(SpellSearch, OnlyLevelsOneTo254LetAClassUseASpell)
{
    const std::pair<int, bool> levels[] = {{0, false},    {255, false}, {256, false}, {-1, false},
                                           {-255, false}, {1, true},    {254, true},  {60, true}};
    for (const auto& entry : levels)
        SetLevel(AddSpell("Spell " + std::to_string(entry.first)), CLASS_WIZ, entry.first);
    const Rows rows = Search("", 16384);
    std::set<std::string> listed;
    for (const auto& [label, index] : rows) {
        EXPECT_EQ(label,
                  std::to_string(levels[index].first) + "    Spell " + std::to_string(levels[index].first));
        listed.insert(label);
    }
    for (const auto& [level, usable] : levels) {
        const std::string label = std::to_string(level) + "    Spell " + std::to_string(level);
        EXPECT_EQ(listed.count(label), usable ? 1u : 0u) << "level " << level;
    }
    EXPECT_EQ(Search("", 0).size(), std::size(levels));  // no class: every spell
}

TEST_F(SpellSearch, ClassRowsSortByLevelAsANumber)
{
    const int a = AddSpell("Thirty");
    const int b = AddSpell("Five");
    const int c = AddSpell("Twelve");
    SetLevel(a, CLASS_DRU, 30);
    SetLevel(b, CLASS_DRU, 5);
    SetLevel(c, CLASS_DRU, 12);
    EXPECT_EQ(Search("", 8), (Rows{{"5    Five", b}, {"12    Twelve", c}, {"30    Thirty", a}}));
}

TEST_F(SpellSearch, SeveralClassBitsListEitherClassWithTheFirstBitsLevel)
{
    const int both = AddSpell("Both");
    SetLevel(both, CLASS_BRD, 20);
    SetLevel(both, CLASS_BST, 10);
    const int beastOnly = AddSpell("Beast Only");
    SetLevel(beastOnly, CLASS_BST, 5);
    const int bardUnusable = AddSpell("Bard Zero");  // BRD level 0 falls through to BST
    SetLevel(bardUnusable, CLASS_BRD, 0);
    SetLevel(bardUnusable, CLASS_BST, 30);
    const int cleric = AddSpell("Cleric Only");
    SetLevel(cleric, CLASS_CLR, 1);

    EXPECT_EQ(
        Search("", 3),
        (Rows{{"5    Beast Only", beastOnly}, {"20    Both", both}, {"30    Bard Zero", bardUnusable}}));
    // Every bit set: every spell some class can use.
    EXPECT_EQ(Search("", -1).size(), 4u);
}

TEST_F(SpellSearch, ValueWithoutAClassBitListsNothing)
{
    const int index = AddSpell("Anything");
    for (int cls = 0; cls < NUM_CLASSES; ++cls) SetLevel(index, static_cast<ClassIndex>(cls), 1);
    for (int value : {32768, 65536, 1 << 30}) EXPECT_TRUE(Search("", value).empty()) << value;
}

TEST_F(SpellSearch, NameClassAndEffectMustAllMatch)
{
    for (const char* name : {"Minor Healing", "Greater Heal", "Charm of Grace", "Stunning Blow", "Nothing"}) {
        const int index = AddSpell(name);
        g_spellArray[static_cast<std::size_t>(index)].attrib.fill(UNUSED_EFFECT);
    }
    SetSlot(0, 0, 0, 10);  // Hitpoints
    SetLevel(0, CLASS_CLR, 5);
    SetSlot(1, 3, 0, 50);  // Hitpoints in the fourth slot
    SetSlot(1, 1, 10, 5);  // Charisma, shown
    SetLevel(1, CLASS_CLR, 30);
    SetLevel(1, CLASS_DRU, 32);
    SetSlot(2, 0, 10, 0);   // Charisma with base 0: the detail window hides it
    SetSlot(2, 1, 22, 50);  // Charm
    SetLevel(2, CLASS_ENC, 10);
    SetSlot(3, 11, 21, 2);  // Stun in the last slot
    SetSlot(3, 5, UNUSED_EFFECT, 7);
    SetLevel(3, CLASS_WAR, 1);

    struct Case {
        const char* name;
        const char* text;
        int classValue;
        int effectId;
        Rows expected;
    };
    const Case cases[] = {
        {"effect alone", "", 0, 0, {{"Greater Heal", 1}, {"Minor Healing", 0}}},
        {"effect and text", "minor", 0, 0, {{"Minor Healing", 0}}},
        {"effect and class", "", 4, 0, {{"5    Minor Healing", 0}, {"30    Greater Heal", 1}}},
        {"all three", "heal", 8, 0, {{"32    Greater Heal", 1}}},
        {"text without the effect", "charm", 0, 0, {}},
        {"class without the effect", "", 16, 0, {}},
        {"shown charisma only", "", 0, 10, {{"Greater Heal", 1}}},
        {"last slot", "", 8192, 21, {{"1    Stunning Blow", 3}}},
        {"unused slot", "", 0, UNUSED_EFFECT, {}},
        {"effect no spell has", "", 0, 153, {}},
        {"any effect", "ing", 0, ANY_EFFECT, {{"Minor Healing", 0}, {"Nothing", 4}, {"Stunning Blow", 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Search(c.text, c.classValue, c.effectId), c.expected);
    }
}

TEST(EffectSelector, OffersEveryLabelledEffectByLabel)
{
    const auto& entries = EffectSelector();
    ASSERT_EQ(entries.size(), 133u);  // "Any effect" and 132 labelled ids
    EXPECT_EQ(entries[0].value, ANY_EFFECT);
    EXPECT_STREQ(entries[0].label.data(), "Any effect");
    EXPECT_STREQ(entries[1].label.data(), "Absorb Damage (55)");
    EXPECT_STREQ(entries[2].label.data(), "Absorb Magic Damage (78)");
    EXPECT_STREQ(entries.back().label.data(), "Wisdom (9)");
    std::set<int> ids;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const int id = entries[i].value;
        EXPECT_TRUE(ids.insert(id).second) << id;
        EXPECT_TRUE(id >= 0 && id <= 153) << id;
        const std::string label = entries[i].label.data();
        EXPECT_EQ(label.substr(label.rfind(" (")), " (" + std::to_string(id) + ")");
        if (i > 1) {
            EXPECT_LT(std::string(entries[i - 1].label.data()), label);
        }
    }
    // Ids without a label are not offered, and cannot be asked for.
    for (int id : {16, 17, 34, 151, 152}) EXPECT_EQ(ids.count(id), 0u) << id;
    for (int id : {-1, 16, 154, UNUSED_EFFECT}) EXPECT_FALSE(IsSelectableEffect(id)) << id;
    for (int id : {0, 10, 153}) EXPECT_TRUE(IsSelectableEffect(id)) << id;
}

TEST_F(SpellSearch, EqualNamesComeInIndexOrder)
{
    for (int i = 0; i < 12; ++i) AddSpell(i % 2 == 0 ? "Same" : "Other");
    const Rows rows = Search("same", 0);
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], (std::pair<std::string, int>{"Same", 2 * static_cast<int>(i)}));
}

TEST_F(SpellSearch, PrefixSortsByItsOwnIndexDigit)
{
    AddSpell("Alphas");
    AddSpell("Alpha");
    AddSpell("Alpha Ward");
    EXPECT_EQ(Search("alpha", 0), (Rows{{"Alpha Ward", 2}, {"Alpha", 1}, {"Alphas", 0}}));
}

TEST_F(SpellSearch, NothingLoadedListsNothing)
{
    // Records from an earlier load stay in the table but are never looked at.
    const int index = AddSpell("Stale");
    SetLevel(index, CLASS_BRD, 1);
    for (int numSpells : {0, -1}) {
        g_numSpells = numSpells;
        EXPECT_TRUE(Search("", 0).empty()) << numSpells;
        EXPECT_TRUE(Search("stale", 1).empty()) << numSpells;
    }
}

TEST_F(SpellSearch, LongNamesAreCutSoTheIndexAlwaysFits)
{
    g_numSpells = 3999;  // the longest names sit at the last index of a full table
    std::string name(SPELL_FIELD_CHARS - 1, 'x');
    for (std::size_t i = 0; i < name.size(); ++i) name[i] = static_cast<char>('a' + i % 26);
    const int index = AddSpell(name);
    ASSERT_EQ(index, 3999);
    ASSERT_EQ(std::string(g_spellArray[3999].name.data()), name);

    struct Case {
        int level;  // 0: no class
        std::string label;
    };
    const Case cases[] = {
        {0, name.substr(0, 254)},
        {7, "7    " + name.substr(0, 249)},
        {99, "99    " + name.substr(0, 248)},
        {254, "254    " + name.substr(0, 247)},
    };
    for (const Case& c : cases) {
        SetLevel(index, CLASS_MNK, c.level == 0 ? CLASS_LEVEL_NONE : c.level);
        const Rows rows = Search("abc", c.level == 0 ? 0 : 64);
        ASSERT_EQ(rows.size(), 1u) << c.level;
        EXPECT_EQ(rows[0].second, 3999) << c.level;
        EXPECT_EQ(rows[0].first, c.label) << c.level;
    }
}

TEST_F(SpellSearch, NameThatJustFitsIsNotCut)
{
    const std::string name(254, 'n');
    AddSpell(name);
    EXPECT_EQ(Search("", 0), (Rows{{name, 0}}));
}

TEST(SpellRows, CutRowIndexRefusesRowsWithoutFiveDigits)
{
    for (const char* text : {"", "1234", "Alpha0001x", "Alpha 0001"}) {
        TextField row;
        CopyText(row, text);
        EXPECT_EQ(CutRowIndex(row), -1) << text;
        EXPECT_STREQ(row.data(), text);
    }
}

TEST(SpellRows, Comparators)
{
    struct Case {
        const char* first;
        const char* second;
        int level;   // LevelComparison
        int effect;  // EffectComparison
    };
    const Case cases[] = {
        {"10    A", "9    B", 1, -1},
        {"9    B", "10    A", -1, 1},
        {"5    A", "5    B", 0, 0},
        {"-5 drain", "3 heal", -1, 1},
        {"  +7 x", "7 y", 0, 0},
        {"x", "0 y", 0, 0},  // no digits read as 0
        {"99999999999 a", "2147483647 b", 0, 0},
    };
    for (const Case& c : cases) {
        TextField a, b;
        CopyText(a, c.first);
        CopyText(b, c.second);
        EXPECT_EQ(LevelComparison(&a, &b), c.level) << c.first << " / " << c.second;
        EXPECT_EQ(EffectComparison(&a, &b), c.effect) << c.first << " / " << c.second;
    }
    TextField plain, accented;
    CopyText(plain, "z");
    CopyText(accented, "\xE9");
    EXPECT_LT(StringComparison(&plain, &accented), 0);  // bytes compare unsigned
    EXPECT_EQ(StringComparison(&plain, &plain), 0);
}

TEST(SpellRows, EqualKeysComeInTableOrderWhateverTheOrderBefore)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        void (*sort)(int count);
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {"class rows of the same level",
         {"5    B00007", "5    A00003", "2    C00009", "5    C00001"},
         [](int count) { SortSpellRows(count, 1); },
         {"2    C00009", "5    C00001", "5    A00003", "5    B00007"}},
        {"stacking rows of the same value",
         {"+00010 00007 x", "+00010 00003 y", "+00020 00009 z", "+00010 00001 w"},
         [](int count) { SortStackingRows(count); },
         {"+00020 00009 z", "+00010 00001 w", "+00010 00003 y", "+00010 00007 x"}},
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.rows.size(); ++i) CopyText(g_stringArray[i], c.rows[i].c_str());
        c.sort(static_cast<int>(c.rows.size()));
        std::vector<std::string> sorted;
        for (std::size_t i = 0; i < c.rows.size(); ++i) sorted.emplace_back(g_stringArray[i].data());
        EXPECT_EQ(sorted, c.sorted) << c.name;
    }
}

TEST(SpellRows, UpperCaseTouchesOnlyAsciiLetters)
{
    TextField copy;
    UpperCaseCopy(copy, "abz AZ 09 {`} caf\xE9 \xC3\xA9");
    EXPECT_STREQ(copy.data(), "ABZ AZ 09 {`} CAF\xE9 \xC3\xA9");

    char text[] = "mixed Case";
    UpperCaseInPlace(text);
    EXPECT_STREQ(text, "MIXED CASE");

    const std::string longText(400, 'q');
    UpperCaseCopy(copy, longText.c_str());
    EXPECT_EQ(std::string(copy.data()), std::string(SPELL_FIELD_CHARS - 1, 'Q'));
}

TEST(ClassSelector, BitsFollowTheAbbreviationsAlphabetically)
{
    std::set<int> classes;
    for (std::size_t i = 1; i < kClassSelector.size(); ++i) {
        EXPECT_EQ(kClassSelector[i].value, 1 << (i - 1));
        classes.insert(kClassSelector[i].classIndex);
        if (i > 1) {
            EXPECT_LT(std::string(kClassAbbreviations[kClassSelector[i - 1].classIndex]),
                      std::string(kClassAbbreviations[kClassSelector[i].classIndex]));
        }
    }
    EXPECT_EQ(classes.size(), static_cast<std::size_t>(NUM_CLASSES));
}

// ---- The exporter's search mode, end to end ---------------------------------

std::string SpellLine(const std::string& name, std::initializer_list<std::pair<int, int>> levelColumns)
{
    std::vector<std::string> columns(SPELL_FIELD_COUNT, "0");
    columns[1] = name;
    for (int col = 104; col <= 118; ++col) columns[col] = "255";
    for (const auto& [col, level] : levelColumns) columns[col] = std::to_string(level);
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) line += (i ? "^" : "") + columns[i];
    return line + "\n";
}

std::vector<std::string> RunExport(const std::string& arguments)
{
    const std::string command = RIVIZUZI_BUILD_DIR "/rivizuzi-export " + arguments;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::vector<std::string> lines;
    if (!pipe) return lines;
    std::string current;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(c);
        }
    }
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return lines;
}

TEST(ExportSearch, WritesOneObjectPerListRowInListOrder)
{
    constexpr int kBrd = 111, kBst = 118;
    const TempDir dir;  // of its own: other runs of this test may be going on
    const std::string path =
        dir.Write("spells_us.txt", SpellLine("Alpha Ward", {{kBrd, 12}}) + SpellLine("Alpha", {{kBst, 3}}) +
                                       SpellLine("Beta", {}) + SpellLine("Alphas", {{kBrd, 40}, {kBst, 2}}) +
                                       SpellLine("Caf\xE9 Alpha", {}));

    EXPECT_EQ(RunExport("--search lph '" + path + "'"),
              (std::vector<std::string>{R"({"row":"Alpha Ward","index":0})", R"({"row":"Alpha","index":1})",
                                        R"({"row":"Alphas","index":3})",
                                        "{\"row\":\"Caf\xC3\xA9 Alpha\",\"index\":4}"}));

    EXPECT_EQ(RunExport("--search '' --class 3 '" + path + "'"),
              (std::vector<std::string>{R"({"row":"3    Alpha","index":1})",
                                        R"({"row":"12    Alpha Ward","index":0})",
                                        R"({"row":"40    Alphas","index":3})"}));

    // The text is UTF-8; the name is Latin-1 in the file.
    EXPECT_EQ(RunExport("--search 'CAF\xC3\xA9' '" + path + "'"),
              (std::vector<std::string>{"{\"row\":\"Caf\xC3\xA9 Alpha\",\"index\":4}"}));
    EXPECT_TRUE(RunExport("--search '' --class 4 '" + path + "'").empty());
    EXPECT_EQ(RunExport("--search '' '" + path + "'").size(), 5u);
}

}  // namespace
