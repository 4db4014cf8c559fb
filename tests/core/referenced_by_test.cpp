// The referenced-by index: against what the detail windows link to, on a
// table with self-links and a repeated id, and on the 4000-spell sample.
#include "popup/referenced_by.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/reader.h"
#include "data/spell_index.h"
#include "effects/effect_catalogue.h"
#include "effects/effects.h"
#include "popup/spell_panel.h"
#include "sample/sample_gen.h"
#include "test_support.h"

namespace {

constexpr int kWeaponProc = 85, kSpellLimit = 139, kHitpoints = 0;

class ReferencedByTest : public testsupport::SpellTableTest {
protected:
    static std::string Of(int spell)
    {
        std::string text;
        for (const int16_t referrer : ReferencedBy(g_referencedBy, spell)) {
            if (!text.empty()) text += ' ';
            text += std::to_string(referrer);
        }
        return text;
    }

    // What the detail windows link to, spell by spell: for each j, every i
    // whose window has a link to j, in table order, each once.
    static std::vector<std::string> Scan()
    {
        std::vector<std::string> expected(static_cast<std::size_t>(g_numSpells));
        std::vector<int> last(static_cast<std::size_t>(g_numSpells), -1);
        for (int i = 0; i < g_numSpells; ++i) {
            SpellPanelContent content;
            BuildSpellPanelContent(i, content);
            std::vector<int> targets{content.linkedSpellIndex};
            for (int r = 0; r < content.rowCount; ++r)
                targets.push_back(content.rows[static_cast<std::size_t>(r)].linkIndex);
            for (const int j : targets) {
                if (j < 0 || last[static_cast<std::size_t>(j)] == i) continue;
                last[static_cast<std::size_t>(j)] = i;
                std::string& text = expected[static_cast<std::size_t>(j)];
                if (!text.empty()) text += ' ';
                text += std::to_string(i);
            }
        }
        return expected;
    }
};

TEST_F(ReferencedByTest, SelfLinksRepeatedIdsAndEachReferrerOnce)
{
    AddSpell(10, "Ember").linkedSpell = 10;       // 0: links to itself
    SpellStruct& proc = AddSpell(11, "Proc");     // 1
    SetSlot(proc, 0, kWeaponProc, 10);            // to 0
    SetSlot(proc, 1, kSpellLimit, 11);            // to itself
    SetSlot(proc, 2, kSpellLimit, -10);           // to 0 again
    AddSpell(10, "Ember Twin").linkedSpell = 11;  // 2: its id finds 0, never it
    SpellStruct& lost = AddSpell(12, "Lost");     // 3
    SetSlot(lost, 0, kWeaponProc, 999);           // no such spell
    lost.linkedSpell = -1;
    SetSlot(AddSpell(13, "Plain"), 0, kHitpoints, 5);  // 4
    BuildSpellIdIndex();
    UpdateReferencedBy();

    EXPECT_EQ(Of(0), "0 1");
    EXPECT_EQ(Of(1), "1 2");
    EXPECT_EQ(Of(2), "");
    EXPECT_EQ(Of(3), "");
    EXPECT_EQ(Of(4), "");
    EXPECT_EQ(Of(5), "");
    EXPECT_EQ(Of(-1), "");
    EXPECT_EQ(g_spellArray[1].effectText[0][0], '\0');  // no sentence cached by the build
    const std::vector<std::string> scan = Scan();
    for (int j = 0; j < g_numSpells; ++j) EXPECT_EQ(Of(j), scan[static_cast<std::size_t>(j)]) << j;
}

TEST_F(ReferencedByTest, TheSampleAgreesWithItsWindows)
{
    g_numSpells = ParseSpellText(GenerateSampleSpellFile({}), g_spellArray);
    BuildSpellIdIndex();
    UpdateReferencedBy();
    const std::vector<std::string> scan = Scan();
    int referred = 0;
    for (int j = 0; j < g_numSpells; ++j) {
        EXPECT_EQ(Of(j), scan[static_cast<std::size_t>(j)]) << j;
        referred += Of(j).empty() ? 0 : 1;
    }
    EXPECT_GT(referred, 100);
}

// The index describes only the slots whose kind links: no other effect may
// give a link, whatever its base.
TEST_F(ReferencedByTest, OnlyTheLinkingKindsLink)
{
    AddSpell(7, "Target");
    SpellStruct& spell = AddSpell(8, "Every effect");
    for (int attrib = 0; attrib <= effects::kHighestEffectId; ++attrib) {
        for (const int base : {7, -7}) {
            TextField text{};
            int link = -1;
            GenerateEffectString(1, attrib, base, 0, 100, spell.duration, 0, 0, text, &link);
            EXPECT_FALSE(link >= 0 && !effects::LinksToSpell(effects::LookUpEffect(attrib).kind))
                << attrib << " " << base;
        }
    }
}

}  // namespace
