// Start-up, the settings file and the main window's own controls.
#include "app/app.h"

#include <sys/resource.h>

#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <csignal>

#include "app/main_uir.h"
#include "app/start.h"
#include "stacking/stacking_callbacks.h"
#include "ui_test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FileText;
using testsupport::ReadFile;
using testsupport::WorkIn;
using Chooser = std::array<std::string, 3>;  // folder, filters, title
const std::string kFilters = "spells_us.txt (spells_us.txt);;*.txt (*.txt);;All files (*)";
constexpr int kExisting = VAL_EXISTING_FILE_SELECTED, kNew = VAL_NEW_FILE_SELECTED;

class AppTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitGlobals();
        mainPanel = LoadMainPanel();
    }
    void TearDown() override { DiscardPanel(mainPanel); }
    // Loads a file through the browse button as the user does.
    static int Browse(int result, const std::string& path)
    {
        Dialogs().AnswerNextFileSelect(result, path);
        return CommitCtrl(mainPanel, MAINPANEL_BROWSE);
    }
    static int Dimmed() { return Attr(mainPanel, MAINPANEL_LEVEL, ATTR_DIMMED); }
    // The text with DIR replaced by the test's folder.
    std::string InDir(std::string text) const
    {
        for (std::size_t at; (at = text.find("DIR")) != std::string::npos;)
            text.replace(at, 3, dir.path().string());
        return text;
    }

    testsupport::TempDir dir;
    const std::string settings = (dir.path() / "rivizuzi.cfg").string();
};

// File; path, level, enable, top read back (0: kept); file written again (nullptr: unchecked; "": none).
struct SettingsRow {
    const char* name;
    const char* file;
    const char* path;
    int level, enable, top;
    const char* saved;
};
const SettingsRow kSettingsRows[] = {
    {"round trip", "/o/s.txt\n40 1 130 250\n", "/o/s.txt", 40, 1, 130, "/o/s.txt\n40 1 130 250\n"},
    {"level 0", "p\n0 0 10 20\n", "p", 1, 0, 10, "p\n1 0 10 20\n"},
    {"level 66", "p\n66 0 10 20\n", "p", 65, 0, 10, "p\n65 0 10 20\n"},
    {"short second line", "p\n50 1\n", "p", 65, 0, 0, nullptr},
    {"empty first line", "\n65 0 10 20\n", "", 65, 0, 10, ""},
};

class SettingsFile : public AppTest, public testing::WithParamInterface<SettingsRow> {};

TEST_P(SettingsFile, ReadsBackClampedAndWritesItselfAgain)
{
    const auto& [name, file, path, level, enable, top, saved] = GetParam();
    const int startTop = PanelAttr(mainPanel, ATTR_TOP);
    dir.Write("rivizuzi.cfg", file);
    ASSERT_EQ(LoadInitFile(settings.c_str()), 0);
    EXPECT_STREQ(g_fileName.data(), path);
    EXPECT_EQ(
        (std::array{g_displayLevel, Value(mainPanel, MAINPANEL_LEVEL), g_levelEnable,
                    Value(mainPanel, MAINPANEL_LEVEL_ENABLE), Dimmed(), PanelAttr(mainPanel, ATTR_TOP)}),
        (std::array{level, level, enable, enable, 1 - enable, top ? top : startTop}));
    fs::remove(settings);
    SaveInitFile(settings.c_str());
    EXPECT_EQ(saved ? ReadFile(settings) : "", saved ? saved : "");
}

INSTANTIATE_TEST_SUITE_P(AppTest, SettingsFile, testing::ValuesIn(kSettingsRows), RowName());

TEST_F(AppTest, SettingsWriteThatFailsLeavesTheOldFileWhole)
{
    const std::string old = "/o/s.txt\n40 1 130 250\n";
    dir.Write("rivizuzi.cfg", old);
    CopyText(g_fileName, "/n/s.txt");
    // No byte may be written to any file: the write fails when it is flushed.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit none{0, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &none);
    SaveInitFile(settings.c_str());
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(ReadFile(settings), old);
    EXPECT_FALSE(fs::exists(settings + ".new"));
}

// The choosers' answers; what LoadInitFile returns, the path taken, the choosers shown.
struct FirstRunRow {
    const char* name;
    std::vector<std::pair<int, std::string>> answers;
    int result;
    const char* path;
    std::size_t choosers;
};
const FirstRunRow kFirstRunRows[] = {
    {"existing file", {{kExisting, "/d/spells_us.txt"}}, 0, "/d/spells_us.txt", 1},
    {"cancelled after typing a name", {{VAL_NO_FILE_SELECTED, "/d/typed"}}, -1, "", 1},
    {"unstorable, then a new file", {{kExisting, "/a\nb"}, {kNew, "/d/n"}}, 0, "/d/n", 2},
};

class FirstRun : public AppTest, public testing::WithParamInterface<FirstRunRow> {};

TEST_P(FirstRun, ShowsTheNoticeThenTheChooserUntilAStorablePathOrCancel)
{
    const auto& [name, answers, result, path, choosers] = GetParam();
    Dialogs().Reset();
    for (const auto& [answer, chosen] : answers) Dialogs().AnswerNextFileSelect(answer, chosen);
    EXPECT_EQ(LoadInitFile((dir.path() / "none.cfg").c_str()), result);
    EXPECT_EQ(Dialogs().choosers, std::vector<Chooser>(choosers, {"", kFilters, "Find spells_us.txt"}))
        << "the first run opens in the working folder";
    EXPECT_EQ(Dialogs().messages.at(0).text, kFirstRunText);
    EXPECT_STREQ(g_fileName.data(), path);
    SaveInitFile(settings.c_str());
    EXPECT_EQ(fs::exists(settings), result == 0) << "a cancelled first run writes nothing";
}

INSTANTIATE_TEST_SUITE_P(AppTest, FirstRun, testing::ValuesIn(kFirstRunRows), RowName());

// A browse that reads nothing: the chooser's answer and the message shown ("" for none); DIR
// stands for the loaded file's folder.
struct BrowseRow {
    const char* name;
    int result;
    const char* path;
    const char* message;
};
const std::string k260Bytes = "/" + std::string(259, 'p');
const BrowseRow kBrowseRows[] = {
    {"cancelled", VAL_NO_FILE_SELECTED, "", ""},
    {"new file", kNew, "DIR/new.txt", "The file DIR/new.txt does not exist. Nothing was loaded."},
    {"vanished file", kExisting, "DIR/new.txt",
     "Cannot open the file: DIR/new.txt - please browse for a valid file."},
    {"line feed", kExisting, "DIR/a\nb.txt",
     "That path cannot be stored in rivizuzi.cfg: it holds a line feed. Please choose another file."},
    {"260 bytes", kExisting, k260Bytes.c_str(),
     "That path cannot be stored in rivizuzi.cfg: it is longer than 259 bytes. Please choose another file."},
};

class BrowseRefused : public AppTest, public testing::WithParamInterface<BrowseRow> {};

TEST_P(BrowseRefused, KeepsTheWorkingFile)
{
    const std::string kept = dir.Write("spells_us.txt", FileText({{1, "Alpha"}, {2, "Beta"}}));
    EXPECT_EQ(Browse(kExisting, kept), 0);
    EXPECT_EQ(Text(mainPanel, MAINPANEL_STATUS), "Loaded 2 spells from " + kept);
    Dialogs().Reset();
    Browse(GetParam().result, InDir(GetParam().path));
    const std::string message = InDir(GetParam().message);
    ASSERT_EQ(Dialogs().messages.size(), message.empty() ? 0u : 1u);
    EXPECT_EQ(message.empty() ? "" : Dialogs().messages[0].text, message);
    EXPECT_EQ(Dialogs().choosers,
              (std::vector<Chooser>{{dir.path().string(), kFilters, "Find spells_us.txt"}}))
        << "the chooser opens in the loaded file's folder";
    EXPECT_STREQ(g_fileName.data(), kept.c_str()) << "the dumps and the settings keep the loaded file";
    EXPECT_EQ(g_numSpells, 2);
}

INSTANTIATE_TEST_SUITE_P(AppTest, BrowseRefused, testing::ValuesIn(kBrowseRows), RowName());

TEST_F(AppTest, LoadingAnotherFileLeavesNoWindowOrRowOfTheOldTable)
{
    Browse(kExisting, dir.Write("a.txt", FileText({{1, "Alpha"}, {2, "Alpine"}, {3, "Beta"}})));
    const int live = CountLivePanels();
    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "alp");
    CommitCtrl(mainPanel, MAINPANEL_SEARCH);
    ASSERT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), (Rows{{"Alpha", 0}, {"Alpine", 1}}));
    ASSERT_EQ(OpenSpellPopup(0), 0);
    ASSERT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[2], 0, 0), 0);
    Browse(kExisting, dir.Write("b.txt", FileText({{3, "Beta"}, {2, "Alpine"}, {1, "Alpha"}})));
    EXPECT_EQ(g_numPopups, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CountLivePanels(), live) << "the spell and stacking windows are closed";
    EXPECT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), (Rows{{"Alpha", 2}, {"Alpine", 1}}))
        << "the search in the box runs again on the new table";
    SetCtrlVal(mainPanel, MAINPANEL_SEARCH_TEXT, "");
    Browse(kExisting, dir.Write("c.txt", FileText({{9, "Only"}, {8, "Other"}})));
    EXPECT_EQ(ListRows(mainPanel, MAINPANEL_SPELL_LIST), (Rows{{"Only", 0}, {"Other", 1}}))
        << "an empty search box lists every spell";
    // Indexes from the old table are refused, whatever holds them.
    EXPECT_EQ(StackingCallback(0, 0, EVENT_COMMIT, &g_spellArray[2], 0, 0), -1);
    EXPECT_EQ(GoToLink2Callback(0, 0, EVENT_COMMIT, &g_intArray[3], 0, 0), -1);
    EXPECT_EQ(g_numPopups, 0);
}

// The spell file's text (none: the file does not exist), the status line and the message; DIR
// stands for the file's folder.
struct StatusRow {
    const char* name;
    const char* text;
    const char* status;
    const char* message;
};
const std::string k4001Lines(4001, '\n');
const StatusRow kStatusRows[] = {
    {"one line of text", "hello\n", "Loaded 1 spell from DIR/s.txt; 1 line does not have 174 columns", ""},
    {"more lines than the table", k4001Lines.c_str(),
     "Loaded 4000 spells from DIR/s.txt. The file holds more lines than the 4000 the table holds; the rest "
     "were not read. 4000 lines do not have 174 columns.",
     ""},
    {"no such file", nullptr, "No spells loaded: cannot open DIR/s.txt",
     "Cannot open the file: DIR/s.txt - please browse for a valid file."},
};

class StatusLine : public AppTest, public testing::WithParamInterface<StatusRow> {};

// A read that fails says so once the wait panel is gone, never with it behind the message box.
TEST_P(StatusLine, SaysWhatWasLoadedOnceTheWaitPanelIsGone)
{
    struct WaitPanelWatch : ScriptedDialogs {
        void Message(const char* title, const char* text) override
        {
            ScriptedDialogs::Message(title, text);
            for (const QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle() == "Loading") ++waitPanelsShown;
        }
        int waitPanelsShown = 0;
    } watch;
    const StatusRow& c = GetParam();
    DisplayPanel(mainPanel);
    if (c.text) dir.Write("s.txt", c.text);
    const int panels = CountLivePanels();
    SetDialogHook(&watch);
    ParseSpells(mainPanel, InDir("DIR/s.txt").c_str());
    SetDialogHook(&Dialogs());
    EXPECT_EQ(Text(mainPanel, MAINPANEL_STATUS), InDir(c.status));
    EXPECT_EQ(watch.messages.empty() ? "" : watch.messages[0].text, InDir(c.message));
    EXPECT_EQ(watch.waitPanelsShown, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(CountLivePanels(), panels) << "the wait panel is discarded";
}

INSTANTIATE_TEST_SUITE_P(AppTest, StatusLine, testing::ValuesIn(kStatusRows), RowName());

// A message wider than the screen wraps, long paths too, and its button stays on the screen.
TEST_F(AppTest, MessageBoxFitsTheScreen)
{
    const std::string text =
        "That path cannot be stored in rivizuzi.cfg: it is longer than 259 bytes. Please choose another "
        "file.\n/" +
        std::string(600, 'p') + "/spells_us.txt";
    QRect box, button;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        box = shown->frameGeometry();
        const QWidget* ok = shown->findChild<QPushButton*>();
        button = QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size());
        shown->close();
    });
    SetDialogHook(nullptr);
    MessagePopup("Error", text.c_str());
    SetDialogHook(&Dialogs());
    const QRect screen(0, 0, 1600, 1200);  // kTestDesktop
    EXPECT_TRUE(screen.contains(box))
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    EXPECT_TRUE(screen.contains(button));
    EXPECT_LT(box.height(), 400) << "a box of a few lines stays as short as its text";
}

// The level controls and the dump buttons reach their callbacks; dumps land where the README says.
TEST_F(AppTest, LevelControlsAndDumpButtonsReachTheirCallbacks)
{
    const WorkIn in(dir.path());
    Browse(kExisting, dir.Write("spells_us.txt", FileText({{11, "Alpha"}, {22, "Beta"}})));
    SetCtrlVal(mainPanel, MAINPANEL_SPELL_NUM, 1);
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL_ENABLE, 1);
    SetCtrlVal(mainPanel, MAINPANEL_LEVEL, 42);
    for (int control : {MAINPANEL_LEVEL_ENABLE, MAINPANEL_LEVEL, MAINPANEL_DUMP_SPELL, MAINPANEL_DUMP_ATTRIB,
                        MAINPANEL_DUMP_ALL, MAINPANEL_DUMP_SPECIAL})
        CommitCtrl(mainPanel, control);
    EXPECT_EQ((std::array{g_levelEnable, g_displayLevel, Dimmed()}), (std::array{1, 42, 0}));
    for (const char* file :
         {"SpellNum1.txt", "kestrel/attributes/AttributeNum1.txt", "kestrel/dump/Beta.txt", "calcdump.txt"})
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(ReadFile("SpellNum1.txt").rfind("Field 0 = 22\n", 0), 0u) << "the spell of the number field";

    SetCtrlVal(mainPanel, MAINPANEL_SPELL_NUM, 5);
    CommitCtrl(mainPanel, MAINPANEL_DUMP_SPELL);
    EXPECT_FALSE(fs::exists("SpellNum5.txt")) << "no file for a line the spell file lacks";
    EXPECT_EQ(Text(mainPanel, MAINPANEL_STATUS),
              "Nothing was dumped: the spell file has no line 5 (its 2 lines are numbered 0 to 1).");
}

// The close box ends the program like Quit and the settings are written; a loop that does not end
// fails the test after 30 s instead of hanging the suite.
TEST_F(AppTest, CloseBoxEndsTheProgramAndWritesTheSettings)
{
    std::string spells = dir.Write("spells_us.txt", FileText({{1, "Alpha"}}));
    const testsupport::TempDir work;
    const WorkIn in(work.path());
    DiscardPanel(mainPanel);
    bool hung = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QThread::currentThread()->loopLevel() == 0) return;  // not yet in the event loop
        poll.stop();
        PanelWindow(mainPanel)->close();
    });
    poll.start(0);
    QTimer::singleShot(30000, &poll, [&] { hung = true, QCoreApplication::exit(1); });
    char* argv[] = {const_cast<char*>("rivizuzi"), spells.data(), nullptr};
    RivizuziMain(2, argv);
    EXPECT_FALSE(hung) << "the event loop did not end";
    EXPECT_EQ(testsupport::Lines(ReadFile("rivizuzi.cfg")).at(0), spells);
    mainPanel = LoadMainPanel();
}

}  // namespace
