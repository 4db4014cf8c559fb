#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/main_uir.h"
#include "data/spell.h"
#include "list/search.h"
#include "list/search_callbacks.h"
#include "ui/toolkit.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

class SearchWindow : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        panel_ = LoadMainPanel();  // main.uir's panel 1 with its class selector filled
        ASSERT_GT(panel_, 0);
    }

    void TearDown() override
    {
        if (panel_ > 0) DiscardPanel(panel_);
    }

    static int AddSpell(const std::string& name)
    {
        const int index = g_numSpells++;
        SpellStruct& spell = g_spellArray[static_cast<std::size_t>(index)];
        CopyText(spell.name, name.c_str());
        spell.classLevel.fill(CLASS_LEVEL_NONE);
        return index;
    }

    // Sets the two controls and commits the search the way the window does.
    int Commit(const char* text, int classValue, int event = EVENT_COMMIT)
    {
        EXPECT_EQ(SetCtrlVal(panel_, MAINPANEL_SEARCH_TEXT, text), 0);
        EXPECT_EQ(SetCtrlVal(panel_, MAINPANEL_CLASS, classValue), 0);
        return SearchStringCallback(panel_, MAINPANEL_SEARCH, event, nullptr, 0, 0);
    }

    Rows ListRows() { return ::ListRows(panel_, MAINPANEL_SPELL_LIST); }

    int panel_ = -1;
};

TEST_F(SearchWindow, CommitFillsTheListWithLabelsAndTableIndices)
{
    const int ward = AddSpell("Alpha Ward");
    const int alpha = AddSpell("Alpha");
    AddSpell("Beta");
    const int alphas = AddSpell("Alphas");
    g_spellArray[ward].classLevel[CLASS_BRD] = 12;
    g_spellArray[alpha].classLevel[CLASS_BST] = 3;
    g_spellArray[alphas].classLevel[CLASS_BRD] = 40;
    g_spellArray[alphas].classLevel[CLASS_BST] = 2;

    EXPECT_EQ(Commit("ALP", 0), 0);
    EXPECT_EQ(ListRows(), (Rows{{"Alpha Ward", ward}, {"Alpha", alpha}, {"Alphas", alphas}}));

    // A new search replaces the rows of the last one.
    EXPECT_EQ(Commit("", 1), 0);
    EXPECT_EQ(ListRows(), (Rows{{"12    Alpha Ward", ward}, {"40    Alphas", alphas}}));
    EXPECT_EQ(Commit("a", 2), 0);
    EXPECT_EQ(ListRows(), (Rows{{"2    Alphas", alphas}, {"3    Alpha", alpha}}));

    EXPECT_EQ(Commit("beta", 1), 0);
    EXPECT_TRUE(ListRows().empty());
}

TEST_F(SearchWindow, OtherEventsAndEmptyTableLeaveTheList)
{
    AddSpell("Alpha");
    ASSERT_EQ(Commit("", 0), 0);
    ASSERT_EQ(ListRows().size(), 1u);

    EXPECT_EQ(Commit("zzz", 0, EVENT_KEYPRESS), 0);  // not a commit: nothing happens
    EXPECT_EQ(ListRows().size(), 1u);

    g_numSpells = -1;  // after a failed load
    EXPECT_EQ(Commit("", 0), 0);
    EXPECT_TRUE(ListRows().empty());
}

TEST_F(SearchWindow, LongNameRowOpensTheRightSpell)
{
    g_numSpells = 3999;
    const int index = AddSpell(std::string(SPELL_FIELD_CHARS - 1, 'L'));
    g_spellArray[index].classLevel[CLASS_WIZ] = 254;
    EXPECT_EQ(Commit("lll", 16384), 0);
    EXPECT_EQ(ListRows(), (Rows{{"254    " + std::string(247, 'L'), 3999}}));
}

TEST_F(SearchWindow, ClassSelectorOffersEveryClassValue)
{
    int count = 0;
    ASSERT_EQ(GetNumListItems(panel_, MAINPANEL_CLASS, &count), 0);
    EXPECT_EQ(count, NUM_CLASS_SELECTOR_VALUES);
    int value = -1;
    ASSERT_EQ(GetCtrlVal(panel_, MAINPANEL_CLASS, &value), 0);
    EXPECT_EQ(value, 0);
    for (const ClassSelectorEntry& entry : kClassSelector) {
        ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_CLASS, entry.value), 0) << entry.label;
        TextField label;
        ASSERT_EQ(GetCtrlVal(panel_, MAINPANEL_CLASS, label), 0);
        EXPECT_STREQ(label.data(), entry.label);
    }
}

}  // namespace
