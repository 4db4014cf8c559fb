// The toolkit layer over Qt: handles, positions, values, commits, keys and
// the close box.
#include "ui/toolkit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWidget>
#include <tuple>

#include "app/main_uir.h"
#include "ui_test_support.h"

namespace {

int g_commits = 0;
int g_lastControl = 0;
int CountCommit(int, int control, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) {
        ++g_commits;
        g_lastControl = control;
    }
    return 0;
}

int DiscardOwnPanel(int panel, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) DiscardPanel(panel);
    return 0;
}

std::vector<std::pair<int, int>> g_panelEvents;
int RecordPanelEvent(int panel, int event, void*, int eventData1, int)
{
    g_panelEvents.emplace_back(event, eventData1);
    if (event == EVENT_KEYPRESS && eventData1 == VAL_ESC_VKEY) DiscardPanel(panel);
    return 0;
}

QWidget* WindowOf(int panel)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "mainPanel" && w->isVisible()) return w;
    }
    (void)panel;
    return nullptr;
}

class ToolkitTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_commits = 0;
        g_panelEvents.clear();
        panel = LoadPanel(0, MAIN_UIR, MAINPANEL);
        ASSERT_GT(panel, 0);
    }
    void TearDown() override
    {
        DiscardPanel(panel);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    int panel = 0;
};

TEST_F(ToolkitTest, LoadPanelFailsWithNegativeResults)
{
    EXPECT_LT(LoadPanel(0, "no-such-file.uir", 1), 0);
    EXPECT_LT(LoadPanel(0, MAIN_UIR, 7), 0);
    EXPECT_LT(LoadPanel(9999, MAIN_UIR, WAITPANEL), 0);
    EXPECT_LT(DisplayPanel(9999), 0);
    EXPECT_LT(SetCtrlVal(panel, 999, 1), 0);
    EXPECT_LT(SetCtrlVal(panel, MAINPANEL_BROWSE, 1), 0);  // a button has no numeric value
    int value = 0;
    EXPECT_LT(GetCtrlVal(panel, MAINPANEL_STATUS, &value), 0);
}

TEST_F(ToolkitTest, PanelPositionReadsBackExactly)
{
    ASSERT_EQ(SetPanelPos(panel, 120, 240), 0);
    DisplayPanel(panel);
    int top = 0, left = 0;
    GetPanelAttribute(panel, ATTR_TOP, &top);
    GetPanelAttribute(panel, ATTR_LEFT, &left);
    EXPECT_EQ(top, 120);
    EXPECT_EQ(left, 240);
    SetPanelAttribute(panel, ATTR_HEIGHT, 725);
    int height = 0;
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    EXPECT_EQ(height, 725);
}

TEST_F(ToolkitTest, AnchoredControlsFollowTheWindowSize)
{
    DisplayPanel(panel);
    struct Case {
        int control;
        int attribute;
        int atResourceSize;  // main.uir: 770 x 560
        int atLargerSize;    // 970 x 660
    };
    const Case cases[] = {
        {MAINPANEL_SEARCH_TEXT, ATTR_LEFT, 95, 95},   {MAINPANEL_SEARCH_TEXT, ATTR_WIDTH, 300, 500},
        {MAINPANEL_SPELL_LIST, ATTR_WIDTH, 470, 670}, {MAINPANEL_SPELL_LIST, ATTR_HEIGHT, 450, 550},
        {MAINPANEL_CLASS, ATTR_LEFT, 550, 750},       {MAINPANEL_CLASS, ATTR_TOP, 15, 15},
        {MAINPANEL_QUIT, ATTR_LEFT, 500, 700},        {MAINPANEL_QUIT, ATTR_WIDTH, 250, 250},
        {MAINPANEL_STATUS, ATTR_TOP, 522, 622},       {MAINPANEL_STATUS, ATTR_WIDTH, 740, 940},
    };
    // Smaller than the resource size is refused.
    for (auto [width, height, larger] : {std::tuple{970, 660, true}, std::tuple{300, 200, false}}) {
        SetPanelAttribute(panel, ATTR_WIDTH, width);
        SetPanelAttribute(panel, ATTR_HEIGHT, height);
        QApplication::processEvents();
        int value = 0;
        GetPanelAttribute(panel, ATTR_WIDTH, &value);
        EXPECT_EQ(value, larger ? 970 : 770);
        for (const Case& c : cases) {
            GetCtrlAttribute(panel, c.control, c.attribute, &value);
            EXPECT_EQ(value, larger ? c.atLargerSize : c.atResourceSize)
                << "control " << c.control << " attribute " << c.attribute << " at width " << width;
        }
    }
}

TEST_F(ToolkitTest, WindowsAreKeptOnTheScreens)
{
    // Two screens side by side, 1920 and 1280 wide, 1000 high; the window
    // manager adds a 24-pixel title bar and 2-pixel borders. The main window
    // is 770 wide.
    SetScreensForTesting({{0, 0, 1920, 1000}, {0, 1920, 1280, 1000}}, 24, 2);
    struct Case {
        const char* name;
        bool placed;
        int top, left, height;
        int shownTop, shownLeft;
    };
    const Case cases[] = {
        {"no position: centred on the primary screen", false, 0, 0, 560, 231, 575},
        {"a position on a screen is kept exactly", true, 120, 240, 560, 120, 240},
        {"so is one on the second screen", true, 300, 2000, 560, 300, 2000},
        {"off every screen: onto the nearest", true, -30000, 90000, 560, 24, 2428},
        {"too low: moved up to fit", true, 420, 420, 725, 273, 420},
        {"taller than the screen: title bar on the screen", true, 420, 420, 1100, 24, 420},
    };
    for (const Case& c : cases) {
        const int window = LoadPanel(0, MAIN_UIR, MAINPANEL);
        if (c.placed) SetPanelPos(window, c.top, c.left);
        SetPanelAttribute(window, ATTR_HEIGHT, c.height);
        DisplayPanel(window);
        int top = 0, left = 0;
        GetPanelAttribute(window, ATTR_TOP, &top);
        GetPanelAttribute(window, ATTR_LEFT, &left);
        EXPECT_EQ(std::make_pair(top, left), std::make_pair(c.shownTop, c.shownLeft)) << c.name;
        DiscardPanel(window);
    }
    SetScreensForTesting(kTestDesktop);
}

TEST_F(ToolkitTest, SettingValuesNeverCommits)
{
    InstallCtrlCallback(panel, MAINPANEL_LEVEL, CountCommit, nullptr);
    InstallCtrlCallback(panel, MAINPANEL_LEVEL_ENABLE, CountCommit, nullptr);
    InstallCtrlCallback(panel, MAINPANEL_CLASS, CountCommit, nullptr);
    InsertListItem(panel, MAINPANEL_CLASS, -1, "All", 0);
    InsertListItem(panel, MAINPANEL_CLASS, -1, "BRD", 1);
    SetCtrlVal(panel, MAINPANEL_LEVEL, 30);
    SetCtrlVal(panel, MAINPANEL_LEVEL_ENABLE, 1);
    SetCtrlVal(panel, MAINPANEL_CLASS, 1);
    EXPECT_EQ(g_commits, 0);
    int value = 0;
    GetCtrlVal(panel, MAINPANEL_LEVEL, &value);
    EXPECT_EQ(value, 30);
    GetCtrlVal(panel, MAINPANEL_CLASS, &value);
    EXPECT_EQ(value, 1);
}

TEST_F(ToolkitTest, UserActionsCommit)
{
    DisplayPanel(panel);
    InstallCtrlCallback(panel, MAINPANEL_BROWSE, CountCommit, nullptr);
    InstallCtrlCallback(panel, MAINPANEL_LEVEL_ENABLE, CountCommit, nullptr);
    InstallCtrlCallback(panel, MAINPANEL_SEARCH_TEXT, CountCommit, nullptr);
    QWidget* window = WindowOf(panel);
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->findChild<QPushButton*>("browseButton"), Qt::LeftButton);
    EXPECT_EQ(g_lastControl, MAINPANEL_BROWSE);
    QTest::mouseClick(window->findChild<QCheckBox*>("levelEnable"), Qt::LeftButton);
    EXPECT_EQ(g_lastControl, MAINPANEL_LEVEL_ENABLE);
    QWidget* text = window->findChild<QWidget*>("searchText");
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(g_lastControl, MAINPANEL_SEARCH_TEXT);
    EXPECT_EQ(g_commits, 3);
}

TEST_F(ToolkitTest, ListRowsCarryValuesAndActivationCommits)
{
    InstallCtrlCallback(panel, MAINPANEL_SPELL_LIST, CountCommit, nullptr);
    InsertListItem(panel, MAINPANEL_SPELL_LIST, -1, "Alpha", 12);
    InsertListItem(panel, MAINPANEL_SPELL_LIST, -1, "Beta", 3999);
    int count = 0, value = -1;
    GetNumListItems(panel, MAINPANEL_SPELL_LIST, &count);
    EXPECT_EQ(count, 2);
    GetCtrlVal(panel, MAINPANEL_SPELL_LIST, &value);
    EXPECT_EQ(value, 12);
    SetCtrlIndex(panel, MAINPANEL_SPELL_LIST, 1);
    GetCtrlVal(panel, MAINPANEL_SPELL_LIST, &value);
    EXPECT_EQ(value, 3999);
    EXPECT_EQ(g_commits, 0);
    DisplayPanel(panel);
    auto* list = WindowOf(panel)->findChild<QListWidget*>("spellList");
    emit list->itemActivated(list->item(1));
    EXPECT_EQ(g_commits, 1);
    ClearListCtrl(panel, MAINPANEL_SPELL_LIST);
    GetNumListItems(panel, MAINPANEL_SPELL_LIST, &count);
    EXPECT_EQ(count, 0);
    EXPECT_LT(GetCtrlVal(panel, MAINPANEL_SPELL_LIST, &value), 0);
}

TEST_F(ToolkitTest, TextValuesKeepUtf8AndReadLatin1)
{
    SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT,
               "Fl\xC3\xA9"
               "che");
    TextField text{};
    GetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text);
    EXPECT_STREQ(text.data(),
                 "Fl\xC3\xA9"
                 "che");
    SetCtrlVal(panel, MAINPANEL_STATUS,
               "Fl\xE9"
               "che");  // Latin-1
    GetCtrlVal(panel, MAINPANEL_STATUS, text);
    EXPECT_STREQ(text.data(),
                 "Fl\xC3\xA9"
                 "che");
}

TEST_F(ToolkitTest, DiscardingAPanelFromItsOwnCallbackIsSafe)
{
    int live = CountLivePanels();
    DisplayPanel(panel);
    InstallCtrlCallback(panel, MAINPANEL_QUIT, DiscardOwnPanel, nullptr);
    auto* quit = WindowOf(panel)->findChild<QPushButton*>("quitButton");
    QTest::mouseClick(quit, Qt::LeftButton);
    EXPECT_EQ(CountLivePanels(), live - 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_LT(DisplayPanel(panel), 0);
}

TEST_F(ToolkitTest, KeysAndTheCloseBoxReachThePanelCallback)
{
    InstallPanelCallback(panel, RecordPanelEvent, nullptr);
    DisplayPanel(panel);
    QWidget* window = WindowOf(panel);
    ASSERT_NE(window, nullptr);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the callback decides whether the window goes";
    QTest::keyClick(window->findChild<QWidget*>("searchText"), Qt::Key_A);
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_GE(g_panelEvents.size(), 2u);
    EXPECT_EQ(g_panelEvents[0], std::make_pair(EVENT_CLOSE, 0));
    EXPECT_EQ(g_panelEvents.back(), std::make_pair(EVENT_KEYPRESS, VAL_ESC_VKEY));
    EXPECT_LT(DisplayPanel(panel), 0);  // Escape discarded it
}

TEST_F(ToolkitTest, RunTimeControlsTakeTheirGeometryAndColours)
{
    int field = NewCtrl(panel, CTRL_STRING, "Slot 3:", 380, 80);
    ASSERT_GT(field, MAINPANEL_DUMP_SPECIAL);
    SetCtrlAttribute(panel, field, ATTR_WIDTH, 500);
    SetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, 45);
    SetCtrlAttribute(panel, field, ATTR_LABEL_COLOR, 0xFFFF00);
    SetCtrlAttribute(panel, field, ATTR_TEXT_COLOR, 0xFFFFFF);
    SetCtrlVal(panel, field, "Increase Hitpoints by 10");
    int value = 0;
    GetCtrlAttribute(panel, field, ATTR_TOP, &value);
    EXPECT_EQ(value, 380);
    GetCtrlAttribute(panel, field, ATTR_WIDTH, &value);
    EXPECT_EQ(value, 500);
    GetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, &value);
    EXPECT_EQ(value, 45);
    GetCtrlAttribute(panel, field, ATTR_LABEL_COLOR, &value);
    EXPECT_EQ(value, 0xFFFF00);
    TextField text{};
    GetCtrlVal(panel, field, text);
    EXPECT_STREQ(text.data(), "Increase Hitpoints by 10");

    int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "Link", 382, 15);
    EXPECT_NE(button, field);
    SetCtrlAttribute(panel, button, ATTR_WIDTH, 20);
    SetCtrlAttribute(panel, button, ATTR_HEIGHT, 8);
    SetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, 0x008000);
    GetCtrlAttribute(panel, button, ATTR_HEIGHT, &value);
    EXPECT_EQ(value, 8);
    GetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, &value);
    EXPECT_EQ(value, 0x008000);
}

TEST_F(ToolkitTest, DialogsGoThroughTheHook)
{
    MessagePopup("Error", "text");
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Error");
    TextField path{};
    CopyText(path, "unchanged");
    EXPECT_EQ(FileSelectPopup("", "spells_us.txt", "*.*", "Find", VAL_OK_BUTTON, 0, 0, 1, 1, path.data()),
              VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path.data(), "unchanged");
    Dialogs().AnswerNextFileSelect(VAL_NEW_FILE_SELECTED, std::string(300, 'p'));
    EXPECT_EQ(FileSelectPopup("", "", "*.*", "Find", VAL_OK_BUTTON, 0, 0, 1, 1, path.data()),
              VAL_PATH_TOO_LONG)
        << "a path too long for the buffer is never cut into another";
    EXPECT_STREQ(path.data(), "unchanged");
}

TEST(StringUpperCaseTest, UpperCasesAsciiLettersOnly)
{
    char text[] = "alpha Ward 12 \xC3\xA9z";
    StringUpperCase(text);
    EXPECT_STREQ(text, "ALPHA WARD 12 \xC3\xA9Z");
}

}  // namespace
