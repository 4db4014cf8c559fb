// The spell search: which rows a name text, a class and an effect list, in
// which order, how a row is written and read back, the selectors' entries,
// and the exporter's search mode.
#include "list/search.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "list/effect_filter.h"
#include "list/search_status.h"
#include "list/upper_case.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

constexpr int kBrd = 1, kBst = 2, kClr = 4, kDru = 8, kWar = 8192, kWiz = 16384;
constexpr int kHitpoints = 0, kCharisma = 10, kStun = 21;

class SpellSearch : public testsupport::SpellTableTest {
protected:
    static Rows Search(const char* text, int classValue, int effectId = ANY_EFFECT)
    {
        Rows rows;
        const int count = ForEachSpellRow(text, classValue, effectId, [&](const char* label, int index) {
            rows.emplace_back(label, index);
        });
        EXPECT_EQ(count, static_cast<int>(rows.size()));
        return rows;
    }

    // The table every search case runs on.
    static void AddTable()
    {
        auto add = [](const char* name,
                      std::initializer_list<std::pair<ClassIndex, int>> levels) -> SpellStruct& {
            SpellStruct& spell = AddSpell(g_numSpells, name);
            for (const auto& [cls, level] : levels) spell.classLevel[cls] = level;
            return spell;
        };
        SetSlot(add("Alpha Ward", {{CLASS_BRD, 12}}), 0, kHitpoints, 10);    // 0
        add("Alpha", {{CLASS_BST, 3}});                                      // 1
        add("Beta", {});                                                     // 2
        add("Alphas", {{CLASS_BRD, 40}, {CLASS_BST, 2}});                    // 3
        add("Caf\xE9 Ward", {{CLASS_CLR, 1}});                               // 4: Latin-1
        add("Caf\xC3\xA9 Gate", {{CLASS_CLR, 254}});                         // 5: UTF-8
        add("\xC3\x89t\xC3\xA9 Song", {{CLASS_WIZ, 255}});                   // 6: UTF-8, capital first
        add("Price \xE2\x82\xAC\xFF", {{CLASS_WIZ, 0}});                     // 7: Latin-1 (the last byte)
        SetSlot(add("Minor Healing", {{CLASS_CLR, 5}}), 0, kHitpoints, 10);  // 8
        SpellStruct& greater = add("Greater Heal", {{CLASS_CLR, 30}, {CLASS_DRU, 32}});  // 9
        SetSlot(greater, 3, kHitpoints, 50);
        SetSlot(greater, 1, kCharisma, 5);
        SpellStruct& charm = add("Charm of Grace", {{CLASS_ENC, 10}});  // 10
        SetSlot(charm, 0, kCharisma, 0);                                // hidden by the detail window
        SetSlot(charm, 1, 22, 50);
        SpellStruct& stun = add("Stunning Blow", {{CLASS_WAR, 1}});  // 11
        SetSlot(stun, 11, kStun, 2);
        SetSlot(stun, 5, UNUSED_EFFECT, 7);
        add("Same", {});                                      // 12
        add("Same", {});                                      // 13
        add("Bard Zero", {{CLASS_BRD, 0}, {CLASS_BST, 30}});  // 14: BRD 0 falls through to BST
        add("Anything", {});                                  // 15
        g_spellArray[15].classLevel.fill(1);
        add("Wizard High", {{CLASS_WIZ, 256}});     // 16
        add("Wizard Negative", {{CLASS_WIZ, -1}});  // 17
    }
};

TEST_F(SpellSearch, TextClassAndEffectMustAllMatch)
{
    AddTable();
    const struct {
        const char* name;
        const char* text;
        int classValue;
        int effectId;
        Rows rows;
    } cases[] = {
        {"ASCII letters in any case", "lph", 0, ANY_EFFECT, {{"Alpha Ward", 0}, {"Alpha", 1}, {"Alphas", 3}}},
        {"a leading space is kept", " heal", 0, ANY_EFFECT, {{"Greater Heal", 9}, {"Minor Healing", 8}}},
        {"so is a trailing one", "heal ", 0, ANY_EFFECT, {}},
        {"typed UTF-8 finds both encodings",
         "caf\xC3\xA9",
         0,
         ANY_EFFECT,
         {{"Caf\xC3\xA9 Gate", 5}, {"Caf\xE9 Ward", 4}}},
        {"ASCII case around an accent", "CAF\xC3\xA9 w", 0, ANY_EFFECT, {{"Caf\xE9 Ward", 4}}},
        {"a Latin-1 text reads as Latin-1",
         "caf\xE9",
         0,
         ANY_EFFECT,
         {{"Caf\xC3\xA9 Gate", 5}, {"Caf\xE9 Ward", 4}}},
        {"beyond Latin-1 is not a Latin-1 name's bytes", "\xE2\x82\xAC", 0, ANY_EFFECT, {}},
        {"other letters keep their case", "\xC3\xA9t\xC3\xA9", 0, ANY_EFFECT, {}},
        {"within a UTF-8 name", "t\xC3\xA9 s", 0, ANY_EFFECT, {{"\xC3\x89t\xC3\xA9 Song", 6}}},
        {"equal names in table order", "same", 0, ANY_EFFECT, {{"Same", 12}, {"Same", 13}}},
        {"a class sorts by level, ties in table order",
         "",
         kClr,
         ANY_EFFECT,
         {{"1    Caf\xE9 Ward", 4},
          {"1    Anything", 15},
          {"5    Minor Healing", 8},
          {"30    Greater Heal", 9},
          {"254    Caf\xC3\xA9 Gate", 5}}},
        {"0, 255, 256 and -1 are no level", "", kWiz, ANY_EFFECT, {{"1    Anything", 15}}},
        {"two classes: the first class's level",
         "",
         kBrd | kBst,
         ANY_EFFECT,
         {{"1    Anything", 15},
          {"3    Alpha", 1},
          {"12    Alpha Ward", 0},
          {"30    Bard Zero", 14},
          {"40    Alphas", 3}}},
        {"a value without a class bit", "", 32768, ANY_EFFECT, {}},
        {"an effect alone",
         "",
         0,
         kHitpoints,
         {{"Alpha Ward", 0}, {"Greater Heal", 9}, {"Minor Healing", 8}}},
        {"text, class and effect", "heal", kDru, kHitpoints, {{"32    Greater Heal", 9}}},
        {"a hidden charisma slot does not count", "", 0, kCharisma, {{"Greater Heal", 9}}},
        {"the last slot counts", "", kWar, kStun, {{"1    Stunning Blow", 11}}},
        {"an unused slot is no effect", "", 0, UNUSED_EFFECT, {}},
        {"an effect no spell has", "", 0, 153, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Search(c.text, c.classValue, c.effectId), c.rows) << c.name;

    // Without text, class or effect: every loaded spell, in name order.
    const Rows all = Search("", 0);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(g_numSpells));
    auto key = [](const std::pair<std::string, int>& row) {  // the row as sorted: name and five digits
        return row.first + std::to_string(100000 + row.second).substr(1);
    };
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LT(key(all[i - 1]), key(all[i]));
    // Records of an earlier load are never looked at.
    for (int loaded : {0, -1}) {
        g_numSpells = loaded;
        EXPECT_TRUE(Search("", 0).empty()) << loaded;
        EXPECT_TRUE(Search("", kBrd).empty()) << loaded;
    }
}

TEST_F(SpellSearch, RowsCutLongNamesSoTheIndexAlwaysFits)
{
    g_numSpells = 3999;  // the longest names sit at the last index of a full table
    std::string name(SPELL_FIELD_CHARS - 1, 'x');
    for (std::size_t i = 0; i < name.size(); ++i) name[i] = static_cast<char>('a' + i % 26);
    SpellStruct& spell = AddSpell(1, name);
    const struct {
        int level;  // 0: no class
        std::string label;
    } cases[] = {{0, name.substr(0, 254)},
                 {7, "7    " + name.substr(0, 249)},
                 {99, "99    " + name.substr(0, 248)},
                 {254, "254    " + name.substr(0, 247)}};
    for (const auto& c : cases) {
        spell.classLevel[CLASS_MNK] = c.level == 0 ? CLASS_LEVEL_NONE : c.level;
        EXPECT_EQ(Search("abc", c.level == 0 ? 0 : 64), (Rows{{c.label, 3999}})) << c.level;
    }
    InitGlobals();
    AddSpell(1, std::string(254, 'n'));
    EXPECT_EQ(Search("", 0), (Rows{{std::string(254, 'n'), 0}})) << "a name that just fits";

    for (const char* text : {"", "1234", "Alpha0001x", "Alpha 0001"}) {
        TextField row;
        CopyText(row, text);
        EXPECT_EQ(CutRowIndex(row), -1) << text;
        EXPECT_STREQ(row.data(), text);
    }
}

TEST(SpellRows, ComparatorsAndEqualKeysInTableOrder)
{
    const struct {
        const char* first;
        const char* second;
        int level;   // LevelComparison
        int effect;  // EffectComparison
    } cases[] = {
        {"10    A", "9    B", 1, -1}, {"5    A", "5    B", 0, 0}, {"-5 drain", "3 heal", -1, 1},
        {"  +7 x", "7 y", 0, 0},      {"x", "0 y", 0, 0},         {"99999999999 a", "2147483647 b", 0, 0},
    };
    for (const auto& c : cases) {
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

    // Rows fed in reverse table order still come out in table order.
    const struct {
        const char* name;
        std::vector<std::string> rows;
        void (*sort)(int count);
        std::vector<std::string> sorted;
    } ties[] = {
        {"class rows of the same level",
         {"5    B00007", "5    A00003", "2    C00009", "5    C00001"},
         [](int count) { SortSpellRows(count, 1); },
         {"2    C00009", "5    C00001", "5    A00003", "5    B00007"}},
        {"stacking rows of the same value",
         {"+00010 00007 x", "+00010 00003 y", "+00020 00009 z", "+00010 00001 w"},
         [](int count) { SortStackingRows(count); },
         {"+00020 00009 z", "+00010 00001 w", "+00010 00003 y", "+00010 00007 x"}},
    };
    for (const auto& c : ties) {
        for (std::size_t i = 0; i < c.rows.size(); ++i) CopyText(g_stringArray[i], c.rows[i].c_str());
        c.sort(static_cast<int>(c.rows.size()));
        std::vector<std::string> sorted;
        for (std::size_t i = 0; i < c.rows.size(); ++i) sorted.emplace_back(g_stringArray[i].data());
        EXPECT_EQ(sorted, c.sorted) << c.name;
    }

    TextField copy;
    UpperCaseCopy(copy, "abz AZ 09 {`} caf\xE9 \xC3\xA9");
    EXPECT_STREQ(copy.data(), "ABZ AZ 09 {`} CAF\xE9 \xC3\xA9");
    UpperCaseCopy(copy, std::string(400, 'q').c_str());
    EXPECT_EQ(std::string(copy.data()), std::string(SPELL_FIELD_CHARS - 1, 'Q'));
}

TEST(Selectors, ClassBitsAlphabeticallyAndEveryLabelledEffectByLabel)
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

    const auto& entries = EffectSelector();
    ASSERT_EQ(entries.size(), 133u);  // "Any effect" and 132 labelled ids
    EXPECT_EQ(entries[0].value, ANY_EFFECT);
    EXPECT_STREQ(entries[0].label.data(), "Any effect");
    EXPECT_STREQ(entries[1].label.data(), "Absorb Damage (55)");
    EXPECT_STREQ(entries.back().label.data(), "Wisdom (9)");
    std::set<int> ids;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const std::string label = entries[i].label.data();
        EXPECT_TRUE(ids.insert(entries[i].value).second) << label;
        EXPECT_TRUE(label.ends_with(" (" + std::to_string(entries[i].value) + ")")) << label;
        if (i > 1) {
            EXPECT_LT(std::string(entries[i - 1].label.data()), label);
        }
    }
    for (int id : {16, 17, 34, 151, 152}) EXPECT_EQ(ids.count(id), 0u) << id;
    for (int id : {-1, 16, 154, UNUSED_EFFECT}) EXPECT_FALSE(IsSelectableEffect(id)) << id;
    for (int id : {0, 10, 153}) EXPECT_TRUE(IsSelectableEffect(id)) << id;
}

TEST(SearchStatus, SaysHowManyOfTheLoadedSpellsTheListShows)
{
    const struct {
        int shown, loaded;
        const char* text;
    } cases[] = {
        {312, 4000, "312 of 4000 spells"},
        {1, 1, "1 of 1 spell"},
        {0, 4000, "0 of 4000 spells - no spell matches this name, class and effect"},
        {0, 0, "0 of 0 spells - no spell file is loaded"},
        {0, -1, "0 of 0 spells - no spell file is loaded"},
    };
    for (const auto& c : cases) {
        TextField status{};
        FormatSearchStatus(status, c.shown, c.loaded);
        EXPECT_STREQ(status.data(), c.text) << c.shown << " of " << c.loaded;
    }
}

TEST(ExportSearch, WritesOneObjectPerListRowInListOrder)
{
    using testsupport::SpellLine;
    constexpr int kBrdColumn = 111, kBstColumn = 118;
    testsupport::TempDir dir;
    dir.Write("spells_us.txt",
              testsupport::FileText({SpellLine(1, "Alpha Ward").Set(kBrdColumn, "12"),
                                     SpellLine(2, "Alpha").Set(kBstColumn, "3"), SpellLine(3, "Beta"),
                                     SpellLine(4, "Alphas").Set(kBrdColumn, "40").Set(kBstColumn, "2"),
                                     SpellLine(5, "Caf\xE9 Alpha").Slot(0, kHitpoints, 5, 0, 100)}));
    const struct {
        const char* arguments;
        const char* out;
    } cases[] = {
        {"--search lph",
         "{\"row\":\"Alpha "
         "Ward\",\"index\":0}\n{\"row\":\"Alpha\",\"index\":1}\n{\"row\":\"Alphas\",\"index\":3}\n"
         "{\"row\":\"Caf\xC3\xA9 Alpha\",\"index\":4}\n"},
        {"--search '' --class 3",
         "{\"row\":\"3    Alpha\",\"index\":1}\n{\"row\":\"12    Alpha Ward\",\"index\":0}\n"
         "{\"row\":\"40    Alphas\",\"index\":3}\n"},
        {"--search 'CAF\xC3\xA9'", "{\"row\":\"Caf\xC3\xA9 Alpha\",\"index\":4}\n"},  // a Latin-1 name
        {"--search '' --effect 0", "{\"row\":\"Caf\xC3\xA9 Alpha\",\"index\":4}\n"},
        {"--search '' --class 4", ""},
    };
    for (const auto& c : cases) {
        const testsupport::RunResult result =
            testsupport::RunExporter(dir.path(), std::string(c.arguments) + " spells_us.txt");
        EXPECT_EQ(result.status, 0) << c.arguments << result.err;
        EXPECT_EQ(result.out, c.out) << c.arguments;
    }
}

}  // namespace
