// The spell search: which rows a name text, a class and an effect list, in
// which order, how a row is written and read back, and the status line.
// Filter expressions: which spells each field, operator and combination
// keeps, and the message and column of each bad expression.
#include "list/search.h"

#include <string_view>

#include "find/filter_pickers.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "list/effect_filter.h"
#include "list/search_status.h"
#include "stacking/stacking.h"
#include "test_support.h"

namespace {

constexpr int kBrd = 1, kBst = 2, kClr = 4, kDru = 8, kWar = 8192, kWiz = 16384;
constexpr int kHitpoints = 0, kArmorClass = 1, kCharisma = 10, kStun = 21;
constexpr int kBalance = 153;  // the highest effect id

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

// ---- Filter expressions -------------------------------------------------------

// 0 Fire Bolt: instant, single, fire, WIZ 10, "Decrease Hitpoints by 50".
// 1 Stunning Blow: single, WAR 5, "Stun (2.00 seconds)" in slot 12.
// 2 Greater Ward: 100 ticks, self, beneficial, CLR 30 and WAR 20, linked to
//   Fire Bolt, "Increase Armor Class by 30 (L20) to 75 (L65)".
// 3 "Café" in Latin-1: a hidden Charisma slot (base 0), effect -1, WAR 255,
//   CLR 0.
// 4 Sapping Mist: Hitpoints with a negative base and a cap (stacking value
//   -50), id -2147483648.
class SpellFilterTest : public testsupport::SpellTableTest {
protected:
    void SetUp() override
    {
        SpellTableTest::SetUp();
        SpellStruct& bolt = AddSpell(100, "Fire Bolt");
        bolt.duration = 0;
        bolt.targetType = 5;
        bolt.resistType = 2;
        bolt.skill = 24;
        bolt.classLevel[CLASS_WIZ] = 10;
        SetSlot(bolt, 0, kHitpoints, -50);
        SpellStruct& blow = AddSpell(101, "Stunning Blow");
        blow.targetType = 5;
        blow.classLevel[CLASS_WAR] = 5;
        SetSlot(blow, 11, kStun, 2000);
        SpellStruct& ward = AddSpell(102, "Greater Ward");
        ward.duration = 100;
        ward.targetType = 6;
        ward.beneficial = 1;
        ward.classLevel[CLASS_CLR] = 30;
        ward.classLevel[CLASS_WAR] = 20;
        ward.linkedSpell = 100;
        SetSlot(ward, 0, kArmorClass, 10, 0, 102);
        SpellStruct& cafe = AddSpell(103, "Caf\xE9");
        cafe.classLevel[CLASS_CLR] = 0;
        SetSlot(cafe, 2, kCharisma, 0);
        SetSlot(cafe, 5, -1, 3);  // effect id -1, which the effect selector uses for "any"
        SpellStruct& mist = AddSpell(-2147483647 - 1, "Sapping Mist");
        SetSlot(mist, 0, kHitpoints, -10, 50);
        texts_.Build(0);
    }

    // The table indexes the expression keeps, as "0 2 4".
    std::string Kept(std::string_view expression)
    {
        FilterQuery query;
        FilterError error;
        if (!query.Parse(expression, error)) return "error: " + error.message;
        std::string kept;
        for (int index = 0; index < g_numSpells; ++index) {
            if (!FilterMatches(query, texts_, index)) continue;
            if (!kept.empty()) kept += ' ';
            kept += std::to_string(index);
        }
        return kept;
    }

    FilterTexts texts_;
};

struct MatchCase {
    const char* name;
    const char* expression;
    const char* kept;
};

class FilterMatch : public SpellFilterTest, public testing::WithParamInterface<MatchCase> {};

TEST_P(FilterMatch, KeepsTheSpellsTheExpressionDescribes)
{
    EXPECT_EQ(Kept(GetParam().expression), GetParam().kept);
}

const MatchCase kMatchCases[] = {
    {"Empty", "", "0 1 2 3 4"},
    {"BlanksOnly", " \t ", "0 1 2 3 4"},
    {"TextEqualIgnoresCase", "targetType = \"single\"", "0 1"},
    {"TextNotEqual", "targetType != \"Single\"", "2 3 4"},
    {"TextContains", "name ~ \"WARD\"", "2"},
    {"FieldAndKeywordCase", "NAME = \"fire bolt\" OR Id = 101", "0 1"},
    {"Utf8AgainstLatin1Name", "name = \"caf\xC3\xA9\"", "3"},
    {"AccentedLettersIgnoreCase", "name = \"CAF\xC3\x89\"", "3"},
    {"DurationText", "duration = \"Instant\"", "0"},
    {"DurationMinutes", "duration ~ \"(10.0 minutes)\"", "2"},
    {"LinkedSpellName", "linkedSpell = \"Fire Bolt\"", "2"},
    {"NoLinkedSpell", "linkedSpell = \"None\"", "0 1 3 4"},
    {"ClassText", "classLevel ~ \"CLR(0)\"", "3"},
    {"CodedTexts", "resistType = \"Fire\" and skill = \"Evocation\" and beneficial = \"Detrimental\"", "0"},
    {"Seconds", "seconds13 = \"0.00\"", "0 1 2 3 4"},
    {"NumberEqual", "id = 101", "1"},
    {"NumberNotEqual", "id != 101", "0 2 3 4"},
    {"NumberLess", "id < 101", "0 4"},
    {"NumberLessEqual", "id <= 101", "0 1 4"},
    {"NumberGreater", "id > 101", "2 3"},
    {"NumberGreaterEqual", "id >= +102", "2 3"},
    {"SmallestNumber", "id = -2147483648", "4"},
    {"TicksOfAnInstantSpell", "ticks = 0", "0"},
    {"TicksAbove", "ticks >= 100", "2"},
    {"ClassLevel", "level(WAR) <= 20", "1 2"},
    {"ClassNameCase", "level(war) > 5", "2"},
    {"LevelZeroIsListed", "level(CLR) = 0", "3"},
    {"ClassLackingNeverMatches", "level(WAR) != 5", "2"},
    {"NotOfAClassLacking", "not level(WAR) >= 0", "0 3 4"},
    {"EffectShown", "effect = 21", "1"},
    {"EffectHiddenSlot", "effect = 10", ""},
    {"EffectInNoSlot", "effect != 0", "1 2 3"},
    {"EffectMinusOne", "effect = -1", "3"},
    {"ValueBase", "value(1) = 10", "2"},
    {"ValueNegativeBaseWithCap", "value(0) = -50", "0 4"},
    {"ValueWithoutTheEffect", "value(21) < 0 or value(21) >= 0", "1"},
    {"SentenceContains", "text ~ \"stun\"", "1"},
    {"SentenceEqual", "text = \"decrease hitpoints by 50\"", "0"},
    {"SentenceOverLevels", "text ~ \"(L20) to 75 (L65)\"", "2"},
    {"NoSentenceEqual", "text != \"Decrease Hitpoints by 50\"", "1 2 3 4"},
    {"AndBeforeOr", "id = 100 or id = 101 and targetType = \"Self\"", "0"},
    {"Parentheses", "(id = 100 or id = 101) and targetType = \"Single\"", "0 1"},
    {"NotBindsToOneFactor", "not id = 100 and not id = 101", "2 3 4"},
    {"NotOfParentheses", "not (id = 100 or id = 101)", "2 3 4"},
    {"NotNot", "not not id = 100", "0"},
    {"EscapedQuote", "name != \"a\\\"b\\\\\"", "0 1 2 3 4"},
};

INSTANTIATE_TEST_SUITE_P(Filter, FilterMatch, testing::ValuesIn(kMatchCases), testsupport::RowName());

struct ErrorCase {
    const char* name;
    std::string_view expression;
    const char* message;
};

class FilterErrorMessage : public SpellFilterTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(FilterErrorMessage, NamesTheProblemAndItsColumn)
{
    EXPECT_EQ(Kept(GetParam().expression), std::string("error: ") + GetParam().message);
}

using namespace std::string_view_literals;

const ErrorCase kErrorCases[] = {
    {"UnknownField", "colour = 1", "unknown field \"colour\" at column 1"},
    {"KeywordAsField", "id = 1 and or = 2", "unknown field \"or\" at column 12"},
    {"NoValue", "level(WAR) >=", "expected a value after \">=\" at column 14"},
    {"OperatorOnText", "name < \"x\"", "\"<\" does not apply to the text field name at column 6"},
    {"ContainsOnNumber", "id ~ 5", "\"~\" does not apply to the number field id at column 4"},
    {"OrderOnEffect", "effect > 5", "\">\" does not apply to the field effect at column 8"},
    {"OrderOnSentences", "text >= \"a\"", "\">=\" does not apply to the text field text at column 6"},
    {"NumberForText", "name = 5", "expected a string after \"=\" for name at column 8"},
    {"StringForNumber", "level(MNK) = \"5\"", "expected a number after \"=\" for level(MNK) at column 14"},
    {"NoOperator", "id 5", "expected an operator (= != < <= > >= ~) after id at column 4"},
    {"UnknownClass", "level(XYZ) = 1", "unknown class \"XYZ\" at column 7"},
    {"LevelWithoutClass", "level = 1", "expected \"(\" after level at column 7"},
    {"ClassNotClosed", "level(WAR = 1", "expected \")\" after the class at column 11"},
    {"ValueWithoutId", "value(x) = 1", "expected an effect id after \"value(\" at column 7"},
    {"PastInt32", "id = 2147483648",
     "number \"2147483648\" is out of range (-2147483648 to 2147483647) at column 6"},
    {"BelowInt32", "id > -2147483649",
     "number \"-2147483649\" is out of range (-2147483648 to 2147483647) at column 6"},
    {"UnclosedParenthesis", "(id = 1 or (id = 2)", "unclosed \"(\" at column 1"},
    {"ExtraParenthesis", "id = 1)", "unexpected \")\" at column 7"},
    {"EmptyParentheses", "()", "unexpected \")\" at column 2"},
    {"UnclosedQuote", "name = \"abc", "unclosed quote at column 8"},
    {"EscapedLastQuote", "name = \"abc\\\"", "unclosed quote at column 8"},
    {"UnknownEscape", "name = \"a\\nb\"", "unknown escape \"\\n\" in a string at column 10"},
    {"TwoConditions", "id = 1 id = 2", "expected \"and\", \"or\" or the end at column 8"},
    {"ConditionsInParentheses", "(id = 1 id = 2)", "expected \")\", \"and\" or \"or\" at column 9"},
    {"NothingAfterAnd", "id = 1 and ", "expected a condition after \"and\" at column 12"},
    {"NothingAfterNot", "not", "expected a condition after \"not\" at column 4"},
    {"ValueFirst", "5 = id", "expected a field before \"5\" at column 1"},
    {"LongStringCutBeforeACharacter", "\"éééééééééééééééé\"",
     "expected a field before \"\"ééééééééééééééé...\" at column 1"},
    {"StrangeCharacter", "id = 1 & id = 2", "expected \"and\", \"or\" or the end at column 8"},
    {"StrangeCharacterFirst", "@", "unexpected character \"@\" at column 1"},
    {"Nul", "id = 1\0"sv, "NUL character at column 7"},
    {"NulInString", "name = \"a\0b\""sv, "NUL character at column 10"},
    {"InvalidUtf8", "name = \"\xFF\"", "invalid UTF-8 at column 9"},
    {"ColumnsCountCharacters", "name ~ \"\xC3\xA9\xC3\"", "invalid UTF-8 at column 10"},
    {"OverlongUtf8", "name ~ \"\xC0\xAF\"", "invalid UTF-8 at column 9"},
};

INSTANTIATE_TEST_SUITE_P(Filter, FilterErrorMessage, testing::ValuesIn(kErrorCases), testsupport::RowName());

TEST_F(SpellFilterTest, NestingStopsAt64LevelsAndLongInputIsAMessage)
{
    auto nested = [](int depth, const std::string& open) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += open;
        text += "id = 100";
        if (open == "(") text += std::string(static_cast<std::size_t>(depth), ')');
        return text;
    };
    EXPECT_EQ(Kept(nested(64, "(")), "0");
    EXPECT_EQ(Kept(nested(64, "not ")), "0");
    EXPECT_EQ(Kept(nested(65, "(")), "error: nesting deeper than 64 levels at column 65");
    EXPECT_EQ(Kept(nested(65, "not ")), "error: nesting deeper than 64 levels at column 257");
    EXPECT_EQ(Kept(nested(10000, "(")), "error: nesting deeper than 64 levels at column 65");
    EXPECT_EQ(Kept(nested(10000, "not (")), "error: nesting deeper than 64 levels at column 161");

    EXPECT_EQ(Kept("name ~ \"" + std::string(259, 'a') + "\""), "");
    EXPECT_EQ(Kept("name ~ \"" + std::string(5000, 'a') + "\""),
              "error: string longer than 259 bytes at column 8");
    std::string chain = "id = 101";
    for (int i = 0; i < 2000; ++i) chain += " or id = 101";
    EXPECT_EQ(Kept(chain), "1");
}

TEST_F(SpellFilterTest, ABadExpressionLeavesTheQueryAsItWas)
{
    FilterQuery query;
    FilterError error;
    ASSERT_TRUE(query.Parse("id = 101", error));
    EXPECT_FALSE(query.Parse("id = ", error));
    EXPECT_EQ(error.column, 6);
    EXPECT_FALSE(FilterMatches(query, texts_, 0));
    EXPECT_TRUE(FilterMatches(query, texts_, 1));
}

TEST_F(SpellFilterTest, SentencesAtTheLevelInForceAndTheRecordsLeftAlone)
{
    SpellStruct& ward = g_spellArray[2];
    CopyText(ward.effectText[0], "cached");
    texts_.Build(40);
    EXPECT_EQ(Kept("text = \"Increase Armor Class by 50 (L40)\""), "2");
    EXPECT_STREQ(ward.effectText[0].data(), "cached");
    EXPECT_EQ(g_spellArray[0].isInstant, 0);
    EXPECT_EQ(g_levelEnable, 0);
}

// The selectors offer what the loaded file holds and write conditions that
// keep what they name.
TEST_F(SpellFilterTest, PickedConditionsJoinTheExpression)
{
    const auto values = [](int picker) {
        std::string joined;
        for (const std::string& value : FilterPickerValues(picker)) joined += value + "|";
        return joined;
    };
    EXPECT_EQ(values(0), "Self|Single|Unknown|");         // target type
    EXPECT_EQ(values(3), "Beneficial|Detrimental|");      // kind
    EXPECT_EQ(values(6), "Armor Class|Hitpoints|Stun|");  // effect names, not the hidden Charisma
    EXPECT_EQ(FilterPickerCondition(0, "Single"), "targetType = \"Single\"");
    EXPECT_EQ(FilterPickerCondition(6, "a\"b\\"), "text ~ \"a\\\"b\\\\\"");
    EXPECT_EQ(Kept(FilterPickerCondition(6, "Stun")), "1");

    EXPECT_EQ(AddFilterCondition(" \t", "id = 1"), "id = 1");
    EXPECT_EQ(AddFilterCondition(" id = 2 ", "id = 1"), "id = 2 and id = 1");
    EXPECT_EQ(AddFilterCondition("id = 2 or id = 3", "id = 1"), "(id = 2 or id = 3) and id = 1");
    EXPECT_EQ(AddFilterCondition("(id = 2) or (id = 3", "id = 1"), "(id = 2) or (id = 3 and id = 1");
}

}  // namespace
