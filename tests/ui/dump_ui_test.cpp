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
    // Beta's first slot has a formula, for the formula report.
    const std::string text =
        testsupport::FileText({{11, "Alpha"}, testsupport::SpellLine(22, "Beta").Slot(0, 0, 5, 0, 101)});
    CopyText(g_fileName, dir.Write("spells_us.txt", text).c_str());
    ASSERT_EQ(g_numSpells = ParseSpellFile(g_fileName.data(), g_spellArray), 2);
    const int panel = LoadPanel(0, MAIN_UIR, MAINPANEL);
    ASSERT_GT(panel, 0);
    SetCtrlVal(panel, MAINPANEL_SPELL_NUM, 1);
    struct Case {
        const char* name;
        int button;
        const char* file;
        const char* starts;  // the dump is of the spell or column asked for
    };
    const Case cases[] = {
        {"the line's columns", MAINPANEL_DUMP_SPELL, "SpellNum1.txt", "Field 0 = 22"},
        {"every column", MAINPANEL_DUMP_ATTRIB, "kestrel/attributes/AttributeNum1.txt",
         "Attribute Value:                Alpha\t\tSpell: 11 \tAlpha\nAttribute Value:                 Beta"},
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
    DiscardPanel(panel);
}

}  // namespace
