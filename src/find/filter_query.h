// A filter expression over the fields a spell's detail window shows, parsed
// once into a plan that is then evaluated spell by spell.
//
//     expr      := term { "or" term }
//     term      := factor { "and" factor }
//     factor    := "not" factor | "(" expr ")" | condition
//     condition := field op value
//     op        := "=" | "!=" | "<" | "<=" | ">" | ">=" | "~"
//     value     := integer | string
//
// Keywords, field names and class names ignore letter case. Integers have an
// optional sign and decimal digits within the 32-bit range; strings are
// double-quoted with \" and \\ as their only escapes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class FilterOp : std::uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Contains };

// What a condition compares.
enum class FilterFieldKind : std::uint8_t {
    Text,       // a text of the detail window (`which`: its PanelText)
    Number,     // a number of the record (`which`: a FilterNumber)
    Level,      // level(CLASS) (`which`: the ClassIndex)
    Effect,     // effect: some shown slot carries the id
    Value,      // value(ID) (`which`: the effect id)
    Sentences,  // text: the sentences of the shown slots
};

enum FilterNumber : int {
    FILTER_NUMBER_ID,
    FILTER_NUMBER_COL9,
    FILTER_NUMBER_COL10,
    FILTER_NUMBER_COL11,
    FILTER_NUMBER_COL18,
    FILTER_NUMBER_COL19,
    FILTER_NUMBER_COL147,
    FILTER_NUMBER_TICKS,
};

struct FilterCondition {
    FilterFieldKind kind = FilterFieldKind::Number;
    int which = 0;
    FilterOp op = FilterOp::Equal;
    int number = 0;    // the value of a number comparison
    std::string text;  // the value of a text comparison, upper-cased like the texts it meets
};

// One node of the plan. And/Or nodes list their operands in `children`
// (indexes into the plan's nodes); Not has one; Condition names its condition.
struct FilterNode {
    enum class Kind : std::uint8_t { Condition, Not, And, Or } kind = Kind::Condition;
    int condition = -1;
    std::vector<int> children;
};

// A bad expression: what is wrong and where (column 1 is the first character).
struct FilterError {
    int column = 0;
    std::string message;  // ends in "at column N"
};

inline constexpr int MAX_FILTER_NESTING = 64;
// No text a field shows holds more: a longer string can never match.
inline constexpr int MAX_FILTER_STRING_BYTES = 259;

class FilterQuery {
public:
    // Parses an expression. An empty one, or one of blanks only, is the
    // query that keeps every spell. On an error the query is left as it was
    // and `error` says why.
    bool Parse(std::string_view expression, FilterError& error);

    // True for the query that keeps every spell.
    bool IsEmpty() const { return root_ < 0; }
    // True when evaluating needs the described texts of the spells.
    bool NeedsTexts() const { return needsTexts_; }

    int Root() const { return root_; }
    const FilterNode& Node(int index) const { return nodes_[static_cast<std::size_t>(index)]; }
    const FilterCondition& Condition(int index) const { return conditions_[static_cast<std::size_t>(index)]; }

private:
    friend class FilterParser;
    std::vector<FilterNode> nodes_;
    std::vector<FilterCondition> conditions_;
    int root_ = -1;
    bool needsTexts_ = false;
};

// The value as a string of the expression: in double quotes, each quote and
// backslash escaped by a backslash.
std::string QuoteFilterString(std::string_view value);
