// Start-up, the settings file and the main window's own controls.
#include "app/app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <fstream>
#include <sstream>

#include "app/main_uir.h"
#include "list/search_callbacks.h"
#include "popup/popup_callbacks.h"
#include "stacking/stacking_callbacks.h"
#include "test_support.h"
#include "ui/toolkit.h"
#include "ui_test_support.h"

namespace {

using Rows = std::vector<std::pair<std::string, int>>;

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

// A spell line of all 174 columns: id, name and a duration.
std::string SpellLine(const char* id, const char* name)
{
    return testsupport::RawLine({{0, id}, {1, name}, {17, "10"}});
}

// Loads a file through the browse button as the user does.
int Browse(int result, const std::string& path)
{
    Dialogs().AnswerNextFileSelect(result, path);
    return Commit(BrowseFilesCallback, MAINPANEL_BROWSE);
}

std::string Status()
{
    TextField status{};
    GetCtrlVal(mainPanel, MAINPANEL_STATUS, status);
    return status.data();
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

    testsupport::TempDir dir;
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

TEST_F(AppTest, BrowseKeepsTheWorkingFileUnlessAnotherFileIsRead)
{
    const std::string spells = dir.Write("spells_us.txt", SpellLine("1", "Alpha") + SpellLine("2", "Beta"));
    EXPECT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, spells), 0);
    EXPECT_EQ(g_numSpells, 2);
    EXPECT_EQ(Status(), "Loaded 2 spells from " + spells);
    EXPECT_TRUE(Dialogs().messages.empty());

    Commit(BrowseFilesCallback, MAINPANEL_BROWSE);  // cancelled
    const std::string missing = (dir.path() / "new.txt").string();
    EXPECT_EQ(Browse(VAL_NEW_FILE_SELECTED, missing), -1);
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    EXPECT_EQ(Dialogs().messages[0].text, "The file " + missing + " does not exist. Nothing was loaded.");
    EXPECT_STREQ(g_fileName.data(), spells.c_str()) << "the dumps read the loaded file";
    EXPECT_EQ(g_numSpells, 2);
    SaveInitFile(settings.c_str());
    EXPECT_EQ(ReadFile(settings).substr(0, spells.size() + 1), spells + "\n");
}

TEST_F(AppTest, LoadingAnotherFileLeavesNoWindowOrRowOfTheOldTable)
{
    const std::string first =
        dir.Write("first.txt", SpellLine("1", "Alpha") + SpellLine("2", "Alpine") + SpellLine("3", "Beta"));
    const std::string reversed = dir.Write(
        "reversed.txt", SpellLine("3", "Beta") + SpellLine("2", "Alpine") + SpellLine("1", "Alpha"));
    ASSERT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, first), 0);
    const int live = CountLivePanels();
    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "alp");
    SearchStringCallback(mainPanel, MAINPANEL_SEARCH, EVENT_COMMIT, nullptr, 0, 0);
    ASSERT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), (Rows{{"Alpha", 0}, {"Alpine", 1}}));
    ASSERT_EQ(OpenSpellPopup(0), 0);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[2], 0, 0), 0);

    ASSERT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, reversed), 0);
    EXPECT_EQ(g_numPopups, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CountLivePanels(), live) << "the spell and stacking windows are closed";
    EXPECT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), (Rows{{"Alpha", 2}, {"Alpine", 1}}))
        << "the search in the box runs again on the new table";

    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "");
    ASSERT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, dir.Write("one.txt", SpellLine("9", "Only"))), 0);
    EXPECT_TRUE(ListRows(mainPanel, MAINPANEL_SPELL_LIST).empty())
        << "with an empty search box the list is emptied";
    // Indexes from the old table are refused, whatever holds them.
    EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[2], 0, 0), -1);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[3], 0, 0), -1);
    EXPECT_EQ(g_numPopups, 0);
}

TEST_F(AppTest, PathsTheSettingsFileCannotHoldAreRefused)
{
    const std::string kept = dir.Write("spells_us.txt", SpellLine("1", "Kept"));
    ASSERT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, kept), 0);
    struct Case {
        const char* name;
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {"line feed", dir.Write("two\nlines.txt", SpellLine("2", "Other")), "it holds a line feed"},
        {"carriage return at the end", dir.Write("cr.txt\r", SpellLine("2", "Other")),
         "it ends in a carriage return"},
        {"longer than 259 bytes", "/" + std::string(300, 'p'), "it is longer than 259 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialogs().Reset();
        EXPECT_EQ(Browse(VAL_EXISTING_FILE_SELECTED, c.path), 0);
        ASSERT_EQ(Dialogs().messages.size(), 1u);
        EXPECT_EQ(Dialogs().messages[0].text, std::string("That path cannot be stored in rivizuzi.cfg: ") +
                                                  c.reason + ". Please choose another file.");
        EXPECT_STREQ(g_fileName.data(), kept.c_str());
        EXPECT_EQ(g_numSpells, 1);
    }
    SaveInitFile(settings.c_str());
    EXPECT_EQ(ReadFile(settings).substr(0, kept.size() + 1), kept + "\n");

    // On the first run the chooser asks again.
    Dialogs().Reset();
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, cases[0].path);
    Dialogs().AnswerNextFileSelect(VAL_EXISTING_FILE_SELECTED, kept);
    g_fileName.fill('\0');
    EXPECT_EQ(LoadInitFile((dir.path() / "none.cfg").string().c_str()), 0);
    EXPECT_EQ(Dialogs().chooserTitles.size(), 2u);
    EXPECT_STREQ(g_fileName.data(), kept.c_str());

    // A path that would not read back is never written.
    CopyText(g_fileName, "a\nb");
    std::filesystem::remove(settings);
    SaveInitFile(settings.c_str());
    EXPECT_FALSE(std::filesystem::exists(settings));
}

TEST_F(AppTest, ChooserOpensInTheLoadedFilesFolderAndOffersAllFiles)
{
    CopyText(g_fileName, dir.Write("spells_us.txt", SpellLine("1", "Alpha")).c_str());
    Commit(BrowseFilesCallback, MAINPANEL_BROWSE);
    EXPECT_EQ(LoadInitFile((dir.path() / "none.cfg").string().c_str()), -1);
    ASSERT_EQ(Dialogs().chooserDirectories.size(), 2u);
    EXPECT_EQ(Dialogs().chooserDirectories[0], dir.path().string());
    EXPECT_EQ(Dialogs().chooserDirectories[1], "") << "the first run opens in the working folder";
    EXPECT_EQ(Dialogs().chooserFilters[0], "spells_us.txt (spells_us.txt);;*.txt (*.txt);;All files (*)");
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

TEST_F(AppTest, StatusLineSaysWhatWasLoaded)
{
    std::string tooMany;
    for (int i = 0; i < MAX_SPELLS + 1; ++i) tooMany += "1^n\n";
    struct Case {
        const char* name;
        std::string text;
        std::string says;  // after "Loaded ... from PATH"
    };
    const Case cases[] = {
        {"a spell file", SpellLine("1", "a") + SpellLine("2", "b"), ""},
        {"one short line", SpellLine("1", "a") + "2^b\n", "; 1 line does not have 174 columns"},
        {"a text file", "hello\nworld\n", "; 2 lines do not have 174 columns"},
        {"more lines than the table", tooMany,
         ". The file holds more lines than the 4000 the table holds; the rest were not read. 4000 lines do "
         "not have 174 columns."},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("spells.txt", c.text);
        ParseSpells(mainPanel, path.c_str());
        EXPECT_EQ(Status(), "Loaded " + std::to_string(g_numSpells) + " spells from " + path + c.says)
            << c.name;
    }
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
