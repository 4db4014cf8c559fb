// Evaluating a filter expression over the loaded table: the texts it
// compares, described once per load and level, and the test of one spell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "find/filter_query.h"
#include "list/search.h"

// The level a description is made at: 0 shows values over the levels, 1 to
// 65 the values at that character level.
using FilterLevel = int;

// The level setting of the main window: g_displayLevel when values are shown
// at one level, otherwise 0.
FilterLevel CurrentFilterLevel();

// The texts of every loaded spell as its detail window shows them, as UTF-8
// and upper-cased with the search's case rule: the panel texts and the
// sentences of the shown effect slots at one level. Two allocations in all
// (the text and its offsets), none per spell.
class FilterTexts {
public:
    // Describes every loaded spell at the level, reading the table only.
    void Build(FilterLevel level);
    // Builds unless the texts were built for the loaded table (the same load)
    // at this level.
    void Update(FilterLevel level);
    // Forgets the texts: the next Update builds them.
    void Clear();

    int Count() const { return static_cast<int>(shown_.size()); }
    std::string_view Text(int index, int panelText) const { return Field(index, panelText); }
    // The sentence of a slot (0..11) the window shows; false for a slot it
    // does not show.
    bool Sentence(int index, int slot, std::string_view& sentence) const;

private:
    std::string_view Field(int index, int field) const;

    std::vector<uint16_t> shown_;  // per spell: bit k set when slot k is shown
    std::vector<uint32_t> ends_;   // per spell, its fields: where each text ends
    std::string text_;
    int generation_ = -1;  // the load of the table they were built for
    int builtFor_ = -1;
    FilterLevel level_ = -1;
};

// True when the spell at the table index passes the query. `texts` must be
// built for the loaded table when the query needs texts.
bool FilterMatches(const FilterQuery& query, const FilterTexts& texts, int index);

// A query bound to its texts, as the search takes it.
class SpellFilter final : public SpellCondition {
public:
    SpellFilter(const FilterQuery& query, const FilterTexts& texts) : query_(query), texts_(texts) {}
    bool Matches(int index) const override { return FilterMatches(query_, texts_, index); }

private:
    const FilterQuery& query_;
    const FilterTexts& texts_;
};
