// The main window's dump buttons, clicked: each writes where the README says,
// under the working directory, and leaves no busy cursor or message behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/main_uir.h"
#include "data/reader.h"
#include "test_support.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

// Runs in a fresh working directory; the old one comes back whatever fails.
class DumpWindow : public testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(dir.path()); }
    void TearDown() override
    {
        std::filesystem::current_path(savedDir);
        InitGlobals();
    }
    const std::filesystem::path savedDir = std::filesystem::current_path();
    const testsupport::TempDir dir;
};

TEST_F(DumpWindow, EachButtonWritesItsDumpWhereTheReadmeSays)
{
    InitGlobals();
    CopyText(g_fileName,
             dir.Write("spells_us.txt", testsupport::FileText({{11, "Alpha"}, {22, "Beta"}})).c_str());
    g_numSpells = ParseSpellFile(g_fileName.data(), g_spellArray);
    ASSERT_EQ(g_numSpells, 2);
    g_spellArray[1].attrib[0] = 0;  // a slot with a formula for the formula report
    g_spellArray[1].base[0] = 5;
    g_spellArray[1].calc[0] = 101;
    const int panel = LoadPanel(0, MAIN_UIR, MAINPANEL);
    ASSERT_GT(panel, 0);
    SetCtrlVal(panel, MAINPANEL_SPELL_NUM, 1);
    struct Case {
        const char* name;
        int button;
        const char* file;
        const char* starts;  // the first line: the dump is of the spell or column asked for
    };
    const Case cases[] = {
        {"the line's columns", MAINPANEL_DUMP_SPELL, "SpellNum1.txt", "Field 0 = 22"},
        {"every column", MAINPANEL_DUMP_ATTRIB, "kestrel/attributes/AttributeNum1.txt", "Attribute Value:"},
        {"every spell's slots", MAINPANEL_DUMP_ALL, "kestrel/dump/Beta.txt", ""},
        {"the formula report", MAINPANEL_DUMP_SPECIAL, "calcdump.txt", "                          Beta\tb:5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::mouseClick(toolkit::FindControl(panel, c.button)->widget.data(), Qt::LeftButton);
        ASSERT_TRUE(std::filesystem::exists(c.file));
        EXPECT_EQ(testsupport::ReadFile(c.file).rfind(c.starts, 0), 0u);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(Dialogs().messages.empty());
    }
    EXPECT_EQ(testsupport::Lines(testsupport::ReadFile("kestrel/attributes/AttributeNum1.txt")).at(1),
              "Attribute Value:                 Beta\t\tSpell: 22 \tBeta")
        << "every loaded line, with its id and name";
    DiscardPanel(panel);
}

}  // namespace
