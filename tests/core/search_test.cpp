// The spell search: which rows a name text, a class and an effect list, in
// which order, how a row is written and read back, and the status line.
#include "list/search.h"

#include "list/effect_filter.h"
#include "list/search_status.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

constexpr int kBrd = 1, kBst = 2, kClr = 4, kDru = 8, kWar = 8192, kWiz = 16384;
constexpr int kHitpoints = 0, kCharisma = 10, kStun = 21, kBalance = 153;  // the highest effect id

class SpellSearch : public testsupport::SpellTableTest {
protected:
    // The rows the list would show, as "label#index | ...".
    static std::string Search(const char* text, int classValue, int effectId = ANY_EFFECT)
    {
        std::string rows;
        int shown = 0;
        const int count = ForEachSpellRow(text, classValue, effectId, [&](const char* label, int index) {
            rows += (shown++ == 0 ? "" : " | ") + std::string(label) + "#" + std::to_string(index);
        });
        EXPECT_EQ(count, shown);
        return rows;
    }

    static SpellStruct& Add(const char* name, std::initializer_list<std::pair<ClassIndex, int>> levels)
    {
        SpellStruct& spell = AddSpell(g_numSpells, name);
        for (const auto& [cls, level] : levels) spell.classLevel[cls] = level;
        return spell;
    }
};

struct SearchRow {
    const char* name;
    const char* text;
    int classValue;
    int effectId;
    const char* rows;
};
// The search rows run over these spells.
class SearchTable : public SpellSearch {
protected:
    void SetUp() override
    {
        SpellSearch::SetUp();
        SetSlot(Add("Alpha Ward", {{CLASS_BRD, 12}}), 0, kHitpoints, 10);    // 0
        Add("Alpha", {{CLASS_BST, 3}});                                      // 1
        Add("Alphas", {{CLASS_BRD, 40}, {CLASS_BST, 2}});                    // 2
        Add("Caf\xE9 Ward", {{CLASS_CLR, 1}});                               // 3: Latin-1
        Add("Caf\xC3\xA9 Gate", {{CLASS_CLR, 254}});                         // 4: UTF-8
        Add("\xC3\x89t\xC3\xA9 Song", {{CLASS_WIZ, 255}});                   // 5: UTF-8, capital first
        Add("Price \xE2\x82\xAC\xFF", {{CLASS_WIZ, 0}});                     // 6: Latin-1 (the last byte)
        SetSlot(Add("Minor Healing", {{CLASS_CLR, 5}}), 0, kHitpoints, 10);  // 7
        SpellStruct& greater = Add("Greater Heal", {{CLASS_CLR, 30}, {CLASS_DRU, 32}});  // 8
        SetSlot(greater, 3, kHitpoints, 50);
        SetSlot(greater, 1, kCharisma, 5);
        SetSlot(Add("Charm", {}), 0, kCharisma, 0);                  // 9: hidden by the detail window
        SpellStruct& stun = Add("Stunning Blow", {{CLASS_WAR, 1}});  // 10
        SetSlot(stun, 11, kStun, 2);
        SetSlot(stun, 10, kBalance, 1);
        Add("Same", {});                                      // 11
        Add("Same", {});                                      // 12
        Add("Bard Zero", {{CLASS_BRD, 0}, {CLASS_BST, 30}});  // 13: BRD 0 falls through to BST
        Add("Anything", {}).classLevel.fill(1);               // 14
        Add("Half \xC3\xB7 Dose", {});                        // 15: UTF-8 division sign
        Add("Half \xF7 Measure", {});                         // 16: Latin-1 division sign
    }
};

class SpellSearchRows : public SearchTable, public testing::WithParamInterface<SearchRow> {};

TEST_P(SpellSearchRows, TextClassAndEffectMustAllMatch)
{
    EXPECT_EQ(Search(GetParam().text, GetParam().classValue, GetParam().effectId), GetParam().rows);
}

const SearchRow kSearchRows[] = {
    {"ASCII letters in any case", "lph", 0, ANY_EFFECT, "Alpha Ward#0 | Alpha#1 | Alphas#2"},
    {"UTF-8 text, both encodings", "caf\xC3\xA9", 0, ANY_EFFECT, "Caf\xC3\xA9 Gate#4 | Caf\xE9 Ward#3"},
    {"a Latin-1 text", "CAF\xE9 w", 0, ANY_EFFECT, "Caf\xE9 Ward#3"},
    {"beyond Latin-1", "\xE2\x82\xAC", 0, ANY_EFFECT, ""},
    {"accented letters in any case", "\xC3\xA9T\xC3\xA9", 0, ANY_EFFECT, "\xC3\x89t\xC3\xA9 Song#5"},
    {"a UTF-8 capital, both encodings", "CAF\xC3\x89", 0, ANY_EFFECT, "Caf\xC3\xA9 Gate#4 | Caf\xE9 Ward#3"},
    {"a Latin-1 capital, both encodings", "CAF\xC9", 0, ANY_EFFECT, "Caf\xC3\xA9 Gate#4 | Caf\xE9 Ward#3"},
    {"multiplication is not division", "\xC3\x97", 0, ANY_EFFECT, ""},
    {"y with diaeresis is no small sharp s", "\xC3\x9F", 0, ANY_EFFECT, ""},
    {"equal names in table order", "same", 0, ANY_EFFECT, "Same#11 | Same#12"},
    {"a class by level, ties in table order", "", kClr, ANY_EFFECT,
     "1    Caf\xE9 Ward#3 | 1    Anything#14 | 5    Minor Healing#7 | 30    Greater Heal#8 | "
     "254    Caf\xC3\xA9 Gate#4"},
    {"255 and 0 are no level", "", kWiz, ANY_EFFECT, "1    Anything#14"},
    {"one class", "alpha", kBrd, ANY_EFFECT, "12    Alpha Ward#0 | 40    Alphas#2"},
    {"two classes: the first class's level", "a", kBrd | kBst, ANY_EFFECT,
     "1    Anything#14 | 3    Alpha#1 | 12    Alpha Ward#0 | 30    Bard Zero#13 | 40    Alphas#2"},
    {"text, class and effect", "heal", kDru, kHitpoints, "32    Greater Heal#8"},
    {"a hidden charisma slot", "", 0, kCharisma, "Greater Heal#8"},
    {"the last slot counts", "", kWar, kStun, "1    Stunning Blow#10"},
    {"the first slot and the first effect id", "", 0, kHitpoints,
     "Alpha Ward#0 | Greater Heal#8 | Minor Healing#7"},
    {"the highest effect id", "", 0, kBalance, "Stunning Blow#10"},
};
INSTANTIATE_TEST_SUITE_P(Rows, SpellSearchRows, testing::ValuesIn(kSearchRows), testsupport::RowName());

TEST_F(SearchTable, LoadedSpellsOnly)
{
    g_numSpells = 2;  // records behind the loaded ones are left from an earlier file
    EXPECT_EQ(Search("", 0), "Alpha Ward#0 | Alpha#1");
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
    } cases[] = {
        {0, name.substr(0, 254)}, {7, "7    " + name.substr(0, 249)}, {254, "254    " + name.substr(0, 247)}};
    for (const auto& c : cases) {
        spell.classLevel[CLASS_MNK] = c.level == 0 ? CLASS_LEVEL_NONE : c.level;
        EXPECT_EQ(Search("abc", c.level == 0 ? 0 : 64), c.label + "#3999") << c.level;
    }
    g_numSpells = MAX_SPELLS + 1;
    EXPECT_EQ(BuildSpellRows("", 0, ANY_EFFECT), MAX_SPELLS) << "the scan stops at the table's end";

    for (const char* text : {"", "1234", "Alpha0001x", "Alpha 0001"}) {
        TextField row;
        CopyText(row, text);
        EXPECT_EQ(CutRowIndex(row), -1) << text;
        EXPECT_STREQ(row.data(), text);
    }
}

TEST(SearchSelectorsAndStatus, EffectsByLabelAndTheCountOfShownSpells)
{
    const auto& entries = EffectSelector();
    EXPECT_STREQ(entries[0].label.data(), "Any effect");
    EXPECT_STREQ(entries[1].label.data(), "Absorb Damage (55)");
    EXPECT_STREQ(entries.back().label.data(), "Wisdom (9)");

    const struct {
        int shown, loaded;
        bool filtered;
        const char* text;
    } cases[] = {
        {312, 4000, false, "312 of 4000 spells"},
        {1, 1, true, "1 of 1 spell"},
        {0, -1, true, "0 of 0 spells - no spell file is loaded"},
        {0, 765, false, "0 of 765 spells - no spell matches this name, class and effect"},
        {0, 765, true, "0 of 765 spells - no spell matches this name, class, effect and filter"},
    };
    for (const auto& c : cases) {
        TextField status{};
        FormatSearchStatus(status, c.shown, c.loaded, c.filtered);
        EXPECT_STREQ(status.data(), c.text) << c.shown << " of " << c.loaded;
    }
}

}  // namespace
