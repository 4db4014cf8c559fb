// Filter expressions as a player types them: any bytes parse into a plan or
// give a message with a column inside the text, and a plan evaluates over a
// small table; "not (EXPR)" keeps exactly the spells EXPR drops.
#include <string>
#include <string_view>

#include "data/spell_index.h"
#include "find/filter_query.h"
#include "find/spell_filter.h"
#include "fuzz_support.h"

namespace {

// A few spells with every kind of field set, described once.
const FilterTexts& Table()
{
    static FilterTexts texts = [] {
        InitGlobals();
        const char* names[] = {"Fire Bolt", "Caf\xE9", "", "Stunning Blow"};
        for (int i = 0; i < 4; ++i) {
            SpellStruct& spell = g_spellArray[static_cast<std::size_t>(i)];
            spell.id = 100 + i;
            CopyText(spell.name, names[i]);
            spell.duration = i * 10;
            spell.targetType = 5 + i;
            spell.linkedSpell = 100 + (i + 1) % 4;
            spell.attrib.fill(UNUSED_EFFECT);
            spell.classLevel.fill(CLASS_LEVEL_NONE);
            spell.classLevel[static_cast<std::size_t>(i * 3)] = 10 * i;
            spell.attrib[0] = i * 7;
            spell.base[0] = i % 2 == 0 ? -50 : 2000;
            spell.max[0] = i * 20;
            spell.calc[0] = 100 + i;
        }
        g_numSpells = 4;
        BuildSpellIdIndex();
        FilterTexts built;
        built.Build(0);
        return built;
    }();
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FilterTexts& texts = Table();
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    FilterQuery query;
    FilterError error;
    if (!query.Parse(expression, error)) {
        FUZZ_CHECK(error.column >= 1 && static_cast<std::size_t>(error.column) <= size + 1);
        const std::string suffix = " at column " + std::to_string(error.column);
        FUZZ_CHECK(error.message.size() > suffix.size() &&
                   error.message.compare(error.message.size() - suffix.size(), suffix.size(), suffix) == 0);
        return 0;
    }
    FilterQuery negated;
    const bool negates = negated.Parse("not (" + std::string(expression) + "\n)", error);
    for (int index = 0; index < g_numSpells; ++index) {
        const bool kept = FilterMatches(query, texts, index);
        if (negates && !query.IsEmpty()) FUZZ_CHECK(FilterMatches(negated, texts, index) == !kept);
    }
    return 0;
}
