#include "app/list_filter.h"

#include "find/spell_filter.h"

namespace {

// The last good expression and the texts it compares.
struct ListFilterState {
    FilterQuery query;
    FilterTexts texts;
    SpellFilter filter{query, texts};
};

ListFilterState& State()
{
    static ListFilterState state;
    return state;
}

}  // namespace

bool SetListFilter(std::string_view expression, FilterError& error)
{
    return State().query.Parse(expression, error);
}

void ClearListFilter()
{
    FilterError error;
    State().query.Parse("", error);
    State().texts.Clear();
}

const SpellCondition* ListFilter()
{
    ListFilterState& state = State();
    if (state.query.IsEmpty()) return nullptr;
    if (state.query.NeedsTexts()) state.texts.Update(CurrentFilterLevel());
    return &state.filter;
}

bool HasListFilter()
{
    return !State().query.IsEmpty();
}

bool ListFilterReadsSentences()
{
    return State().query.NeedsTexts();
}
