// Start-up, the settings file and the main window's own controls.
#include "app/app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <fstream>
#include <sstream>

#include "app/main_uir.h"
#include "core/temp_dir.h"
#include "ui/toolkit.h"
#include "ui_test_support.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Commit(CtrlCallbackPtr callback, int control)
{
    return callback(mainPanel, control, EVENT_COMMIT, nullptr, 0, 0);
}

class AppTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        mainPanel = LoadMainPanel();
        ASSERT_GT(mainPanel, 0);
        settings = (dir.path() / "rivizuzi.cfg").string();
    }
    void TearDown() override { DiscardPanel(mainPanel); }

    int Dimmed()
    {
        int dimmed = -1;
        GetCtrlAttribute(mainPanel, MAINPANEL_LEVEL, ATTR_DIMMED, &dimmed);
        return dimmed;
    }
    int Top()
    {
        int v = 0;
        GetPanelAttribute(mainPanel, ATTR_TOP, &v);
        return v;
    }

    TempDir dir;
    std::string settings;
};

TEST_F(AppTest, SettingsRoundTrip)
{
    CopyText(g_fileName, "/data/spells_us.txt");
    g_displayLevel = 65;
    g_levelEnable = 0;
    SetPanelPos(mainPanel, 120, 240);
    SaveInitFile(settings.c_str());
    EXPECT_EQ(ReadFile(settings), "/data/spells_us.txt\n65 0 120 240\n");

    InitGlobals();
    std::ofstream(settings) << "/other/spells.txt\n40 1 130 250\n";
    ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), "/other/spells.txt");
    EXPECT_EQ(g_displayLevel, 40);
    EXPECT_EQ(g_levelEnable, 1);
    EXPECT_EQ(Dimmed(), 0);
    int checked = 0, level = 0;
    GetCtrlVal(mainPanel, MAINPANEL_LEVEL_ENABLE, &checked);
    GetCtrlVal(mainPanel, MAINPANEL_LEVEL, &level);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(level, 40);
    EXPECT_EQ(Top(), 130);
    SaveInitFile(settings.c_str());
    EXPECT_EQ(ReadFile(settings), "/other/spells.txt\n40 1 130 250\n");
}

TEST_F(AppTest, LevelIsClampedAndOtherFlagsChangeNothing)
{
    struct Case {
        const char* line2;
        int level;
        int enable;
        int dimmed;
    };
    const Case cases[] = {
        {"0 0 10 10\n", 1, 0, 1},   {"70 0 10 10\n", 65, 0, 1},          {"-5 1 10 10\n", 1, 1, 0},
        {"30 7 10 10\n", 30, 0, 1}, {"99999999999 1 10 10\n", 65, 1, 0},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        std::ofstream(settings) << "path\n" << c.line2;
        ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
        EXPECT_EQ(g_displayLevel, c.level) << c.line2;
        EXPECT_EQ(g_levelEnable, c.enable) << c.line2;
        EXPECT_EQ(Dimmed(), c.dimmed) << c.line2;
    }
}

TEST_F(AppTest, MissingOrShortSecondLineKeepsStartValues)
{
    for (const char* contents : {"path\n", "path\n50 1\n", "path\nabc\n", "path"}) {
        TearDown();
        SetUp();
        int top = Top();
        std::ofstream(settings) << contents;
        ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
        EXPECT_STREQ(g_fileName.data(), "path") << contents;
        EXPECT_EQ(g_displayLevel, 65) << contents;
        EXPECT_EQ(g_levelEnable, 0) << contents;
        EXPECT_EQ(Top(), top) << contents;
    }
}

TEST_F(AppTest, FirstLineWithoutLineFeedKeepsItsWholePath)
{
    std::ofstream(settings) << "/data/spells_us.txt";
    ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), "/data/spells_us.txt");
    std::ofstream(settings) << "C:\\spells_us.txt\r\n65 0 1 1\r\n";
    ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), "C:\\spells_us.txt");
}

TEST_F(AppTest, EmptyFirstLineWritesNoSettings)
{
    std::ofstream(settings) << "\n65 0 10 10\n";
    ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), "");
    std::filesystem::remove(settings);
    SaveInitFile(settings.c_str());
    EXPECT_FALSE(std::filesystem::exists(settings));
}

TEST_F(AppTest, FirstRunShowsTheNoticeAndTheChooser)
{
    std::string missing = (dir.path() / "none.cfg").string();
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, "/data/spells_us.txt");
    int top = Top();
    EXPECT_EQ(LoadInitFile(missing.c_str()), 0);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    EXPECT_EQ(Dialogs().messages[0].text, kFirstRunText);
    ASSERT_EQ(Dialogs().chooserTitles.size(), 1u);
    EXPECT_EQ(Dialogs().chooserTitles[0], "Find spells_us.txt");
    EXPECT_STREQ(g_fileName.data(), "/data/spells_us.txt");
    EXPECT_EQ(g_displayLevel, 65);
    EXPECT_EQ(Top(), top);

    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, "/data/new.txt");
    EXPECT_EQ(LoadInitFile(missing.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), "/data/new.txt");
}

TEST_F(AppTest, FirstRunCancelledEndsWithoutSettings)
{
    std::string missing = (dir.path() / "none.cfg").string();
    EXPECT_EQ(LoadInitFile(missing.c_str()), -1);
    EXPECT_STREQ(g_fileName.data(), "");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(AppTest, LevelControlsDimAndTakeTheLevel)
{
    EXPECT_EQ(Dimmed(), 1) << "level display starts off";
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL_ENABLE, 1);
    Commit(EnableLevelCallback, MAINPANEL_LEVEL_ENABLE);
    EXPECT_EQ(g_levelEnable, 1);
    EXPECT_EQ(Dimmed(), 0);
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL, 42);
    Commit(DisplayAsLevelCallback, MAINPANEL_LEVEL);
    EXPECT_EQ(g_displayLevel, 42);
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL, 0);  // the control keeps 1..65
    Commit(DisplayAsLevelCallback, MAINPANEL_LEVEL);
    EXPECT_EQ(g_displayLevel, 1);
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL_ENABLE, 0);
    Commit(EnableLevelCallback, MAINPANEL_LEVEL_ENABLE);
    EXPECT_EQ(g_levelEnable, 0);
    EXPECT_EQ(Dimmed(), 1);
    // Other events do nothing.
    EnableLevelCallback(mainPanel, MAINPANEL_LEVEL_ENABLE, EVENT_KEYPRESS, nullptr, 0, 0);
    EXPECT_EQ(Dimmed(), 1);
}

TEST_F(AppTest, BrowseReadsOnlyAnExistingFileAndCancelKeepsThePath)
{
    std::string spells = dir.Write("spells_us.txt", "1^Alpha\n2^Beta\n");
    CopyText(g_fileName, "/old/spells_us.txt");

    Commit(BrowseFilesCallback, MAINPANEL_BROWSE);  // cancelled
    EXPECT_STREQ(g_fileName.data(), "/old/spells_us.txt");
    EXPECT_EQ(g_numSpells, 0);

    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, "/data/new.txt");
    Commit(BrowseFilesCallback, MAINPANEL_BROWSE);
    EXPECT_STREQ(g_fileName.data(), "/data/new.txt");
    EXPECT_EQ(g_numSpells, 0) << "a new name is kept but nothing is read";

    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, spells);
    Commit(BrowseFilesCallback, MAINPANEL_BROWSE);
    EXPECT_EQ(g_numSpells, 2);
    TextField status{};
    GetCtrlVal(mainPanel, MAINPANEL_STATUS, status);
    EXPECT_EQ(std::string(status.data()), "Loaded 2 spells from " + spells);
    EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(AppTest, MissingSpellFileShowsTheErrorWhileTheWaitPanelIsUp)
{
    DisplayPanel(mainPanel);
    std::string path = (dir.path() / "gone" / "spells_us.txt").string();
    bool waitPanelShown = false;
    bool busyCursor = false;
    Dialogs().onMessage = [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "waitPanel" && w->isVisible()) waitPanelShown = true;
        }
        busyCursor = QApplication::overrideCursor() != nullptr;
    };
    int panels = CountLivePanels();
    ParseSpells(mainPanel, path.c_str());
    EXPECT_TRUE(waitPanelShown);
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(CountLivePanels(), panels) << "the wait panel is discarded";
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    EXPECT_EQ(Dialogs().messages[0].text,
              "Cannot open the file: " + path + " - please browse for a valid file.");
    EXPECT_EQ(g_numSpells, -1);
}

TEST_F(AppTest, StatusLineSaysWhenTheFileHeldMoreThanTheTable)
{
    std::string text;
    for (int i = 0; i < MAX_SPELLS + 1; ++i) text += "1^n\n";
    std::string path = dir.Write("big.txt", text);
    ParseSpells(mainPanel, path.c_str());
    TextField status{};
    GetCtrlVal(mainPanel, MAINPANEL_STATUS, status);
    EXPECT_NE(std::string(status.data()).find("more lines than the 4000"), std::string::npos)
        << status.data();
}

TEST_F(AppTest, CloseBoxAndQuitEndTheEventLoop)
{
    DisplayPanel(mainPanel);
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == "mainPanel" && w->isVisible()) w->close();
            }
        },
        Qt::QueuedConnection);
    EXPECT_EQ(RunUserInterface(), 0);
    QMetaObject::invokeMethod(
        qApp, [] { Commit(ExitCallback, MAINPANEL_QUIT); }, Qt::QueuedConnection);
    EXPECT_EQ(RunUserInterface(), 0);
}

}  // namespace
