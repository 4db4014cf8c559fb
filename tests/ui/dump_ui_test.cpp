// The main window's dump commands, run through the real buttons.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_uir.h"
#include "data/reader.h"
#include "dump/dump_callbacks.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DumpWindow : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("rivizuzi_dump_ui_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        InitGlobals();

        std::ofstream spells("spells_us.txt", std::ios::binary);
        for (const char* line : {"11^Alpha^a\n", "22^Beta^b\n", "33^Gamma^c\n"}) spells << line;
        spells.close();
        CopyText(g_fileName, (dir_ / "spells_us.txt").c_str());
        g_numSpells = ParseSpellFile(g_fileName.data(), g_spellArray);
        ASSERT_EQ(g_numSpells, 3);

        panel_ = LoadPanel(0, MAIN_UIR, MAINPANEL);
        ASSERT_GT(panel_, 0);
    }

    void TearDown() override
    {
        if (panel_ > 0) DiscardPanel(panel_);
        fs::current_path(saved_);
        fs::remove_all(dir_);
        InitGlobals();
    }

    void Click(int control)
    {
        toolkit::Control* button = toolkit::FindControl(panel_, control);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button->widget.data(), Qt::LeftButton);
    }

    fs::path saved_;
    fs::path dir_;
    int panel_ = -1;
};

TEST_F(DumpWindow, DumpSpellButtonDumpsTheLineTheSpellNumberNames)
{
    ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_SPELL_NUM, 1), 0);
    Click(MAINPANEL_DUMP_SPELL);
    const std::string text = ReadText("SpellNum1.txt");
    EXPECT_TRUE(text.starts_with("Field 0 = 22\nField 1 = Beta\nField 2 = b\n\nField 3 = \n"))
        << text.substr(0, 60);
    EXPECT_TRUE(Dialogs().messages.empty());

    // Only a commit dumps.
    ASSERT_EQ(SetCtrlVal(panel_, MAINPANEL_SPELL_NUM, 2), 0);
    EXPECT_EQ(DumpSpellCallback(panel_, MAINPANEL_DUMP_SPELL, EVENT_KEYPRESS, nullptr, 0, 0), 0);
    EXPECT_FALSE(fs::exists("SpellNum2.txt"));
    EXPECT_EQ(DumpSpellCallback(panel_, MAINPANEL_DUMP_SPELL, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_TRUE(fs::exists("SpellNum2.txt"));
}

TEST_F(DumpWindow, OtherDumpButtonsWriteUnderTheWorkingDirectoryAndRestoreTheCursor)
{
    g_spellArray[0].base[0] = 5;
    g_spellArray[0].calc[0] = 101;
    Click(MAINPANEL_DUMP_ATTRIB);
    Click(MAINPANEL_DUMP_ALL);
    Click(MAINPANEL_DUMP_SPECIAL);
    EXPECT_EQ(ReadText("kestrel/attributes/AttributeNum2.txt"),
              "Attribute Value:                   a\n\t\tSpell: 11 \tAlpha\n"
              "Attribute Value:                   b\n\t\tSpell: 22 \tBeta\n"
              "Attribute Value:                   c\n\t\tSpell: 33 \tGamma\n");
    EXPECT_TRUE(fs::exists("kestrel/dump/Gamma.txt"));
    EXPECT_EQ(ReadText("calcdump.txt"), "                         Alpha\tb:5\t\tm: 0\tc: 101\ta: 0\n");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Dialogs().messages.empty());
}

}  // namespace
