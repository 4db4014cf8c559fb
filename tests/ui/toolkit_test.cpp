// The toolkit layer over Qt: what commits a control and what never does, key
// and close-box dispatch, a panel discarded by its own callback, window size
// and place, values and failures.
#include "ui/toolkit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <functional>

#include "app/main_uir.h"
#include "ui/toolkit_internal.h"
#include "ui_test_support.h"

namespace {

std::vector<std::pair<int, int>> g_events;  // (control, event), or (event, key) for the panel
int RecordCtrlEvent(int panel, int control, int event, void* discard, int, int)
{
    g_events.emplace_back(control, event);
    if (discard) DiscardPanel(panel);
    return 0;
}
int RecordPanelEvent(int, int event, void*, int key, int)
{
    g_events.emplace_back(event, key);
    return 0;
}

class ToolkitTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_events.clear();
        panel = LoadPanel(0, MAIN_UIR, MAINPANEL);
        ASSERT_GT(panel, 0);
    }
    void TearDown() override
    {
        DiscardPanel(panel);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A widget of this panel's window, by its name in the resource file.
    QWidget* Widget(const char* name) const
    {
        return toolkit::FindPanel(panel)->window->findChild<QWidget*>(name);
    }
    // An attribute of a control, or of the panel for control 0.
    int Attr(int control, int attribute) const
    {
        int value = -1;
        (control ? GetCtrlAttribute(panel, control, attribute, &value)
                 : GetPanelAttribute(panel, attribute, &value));
        return value;
    }
    int panel = 0;
};

TEST_F(ToolkitTest, UserActionsCommitAndTheProgramsChangesNever)
{
    for (int control : {MAINPANEL_SPELL_NUM, MAINPANEL_LEVEL_ENABLE, MAINPANEL_BROWSE, MAINPANEL_SEARCH_TEXT,
                        MAINPANEL_CLASS, MAINPANEL_SPELL_LIST})
        InstallCtrlCallback(panel, control, RecordCtrlEvent, nullptr);
    for (int list : {MAINPANEL_CLASS, MAINPANEL_SPELL_LIST}) {
        InsertListItem(panel, list, -1, "Alpha", 12);
        InsertListItem(panel, list, -1, "Beta", 3999);
    }
    DisplayPanel(panel);
    auto click = [this](const char* name) {
        return [=, this] { QTest::mouseClick(Widget(name), Qt::LeftButton); };
    };
    auto key = [this](const char* name, Qt::Key k) {
        return [=, this] { QTest::keyClick(Widget(name), k); };
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<std::pair<int, int>> events;
    };
    const Case cases[] = {
        {"button clicked", click("browseButton"), {{MAINPANEL_BROWSE, EVENT_COMMIT}}},
        {"check box clicked", click("levelEnable"), {{MAINPANEL_LEVEL_ENABLE, EVENT_COMMIT}}},
        {"typing in a text box", key("searchText", Qt::Key_A), {{MAINPANEL_SEARCH_TEXT, EVENT_VAL_CHANGED}}},
        {"Return in a text box", key("searchText", Qt::Key_Return), {{MAINPANEL_SEARCH_TEXT, EVENT_COMMIT}}},
        {"numeric stepped", key("spellNum", Qt::Key_Up), {{MAINPANEL_SPELL_NUM, EVENT_COMMIT}}},
        {"selector choice", key("classSelector", Qt::Key_Down), {{MAINPANEL_CLASS, EVENT_COMMIT}}},
        {"list row moved", key("spellList", Qt::Key_Down), {{MAINPANEL_SPELL_LIST, EVENT_VAL_CHANGED}}},
        {"list row activated", key("spellList", Qt::Key_Return), {{MAINPANEL_SPELL_LIST, EVENT_COMMIT}}},
        {"the program sets values",
         [this] {
             SetCtrlVal(panel, MAINPANEL_SPELL_NUM, 30);
             SetCtrlVal(panel, MAINPANEL_LEVEL_ENABLE, 0);
             SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, "Ward");
             SetCtrlVal(panel, MAINPANEL_CLASS, 12);
             SetCtrlIndex(panel, MAINPANEL_SPELL_LIST, 0);
         },
         {}},
    };
    for (const Case& c : cases) {
        g_events.clear();
        c.act();
        EXPECT_EQ(g_events, c.events) << c.name;
    }
}

TEST_F(ToolkitTest, KeysAndTheCloseBoxReachThePanelAndItsCallbackMayDiscardIt)
{
    const int live = CountLivePanels();
    int discard = 1;
    InstallPanelCallback(panel, RecordPanelEvent, nullptr);
    InstallCtrlCallback(panel, MAINPANEL_QUIT, RecordCtrlEvent, &discard);
    DisplayPanel(panel);
    const QPointer<QWidget> window = toolkit::FindPanel(panel)->window;
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the callback decides whether the window goes";
    QTest::keyClick(Widget("searchText"), Qt::Key_A);
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::mouseClick(Widget("quitButton"), Qt::LeftButton);  // discards the panel
    EXPECT_EQ(g_events, (std::vector<std::pair<int, int>>{{EVENT_CLOSE, 0},
                                                          {EVENT_KEYPRESS, Qt::Key_A},
                                                          {EVENT_KEYPRESS, VAL_ESC_VKEY},
                                                          {MAINPANEL_QUIT, EVENT_COMMIT}}));
    EXPECT_EQ(CountLivePanels(), live - 1);
    EXPECT_LT(DisplayPanel(panel), 0);
    EXPECT_TRUE(window) << "not deleted inside its own callback";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window) << "but once the callback has returned";
}

TEST_F(ToolkitTest, AnchoredControlsFollowTheWindowSize)
{
    DisplayPanel(panel);
    struct Case {
        int control, attribute;
        int perWidth, perHeight;  // its change when the window grows by one
    };
    const Case cases[] = {
        {MAINPANEL_SEARCH_TEXT, ATTR_LEFT, 0, 0}, {MAINPANEL_SEARCH_TEXT, ATTR_WIDTH, 1, 0},
        {MAINPANEL_SPELL_LIST, ATTR_WIDTH, 1, 0}, {MAINPANEL_SPELL_LIST, ATTR_HEIGHT, 0, 1},
        {MAINPANEL_CLASS, ATTR_LEFT, 1, 0},       {MAINPANEL_CLASS, ATTR_TOP, 0, 0},
        {MAINPANEL_QUIT, ATTR_LEFT, 1, 0},        {MAINPANEL_QUIT, ATTR_WIDTH, 0, 0},
        {MAINPANEL_STATUS, ATTR_TOP, 0, 1},       {MAINPANEL_STATUS, ATTR_WIDTH, 1, 0},
    };
    const int width = Attr(0, ATTR_WIDTH), height = Attr(0, ATTR_HEIGHT);
    std::vector<int> before;
    for (const Case& c : cases) before.push_back(Attr(c.control, c.attribute));
    // Larger by 200 x 100, then smaller than the resource size (refused).
    for (auto [grow, growth] : {std::pair{200, 1}, {-100, 0}}) {
        SetPanelAttribute(panel, ATTR_WIDTH, width + grow);
        SetPanelAttribute(panel, ATTR_HEIGHT, height + grow / 2);
        QApplication::processEvents();
        EXPECT_EQ(Attr(0, ATTR_WIDTH), width + 200 * growth);
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const Case& c = cases[i];
            EXPECT_EQ(Attr(c.control, c.attribute),
                      before[i] + (200 * c.perWidth + 100 * c.perHeight) * growth)
                << "control " << c.control << " attribute " << c.attribute << " window grown by " << grow;
        }
    }
}

TEST_F(ToolkitTest, WindowsAreKeptOnTheScreens)
{
    // Two screens side by side, 1920 and 1280 wide, 1000 high; the window
    // manager adds a 24-pixel title bar and 2-pixel borders.
    SetScreensForTesting({{0, 0, 1920, 1000}, {0, 1920, 1280, 1000}}, 24, 2);
    struct Case {
        const char* name;
        bool placed;
        int top, left, height;  // the window is 800 wide
        int shownTop, shownLeft;
    };
    const Case cases[] = {
        {"no position: centred on the primary screen", false, 0, 0, 560, 231, 560},
        {"a position on a screen is kept exactly", true, 120, 240, 560, 120, 240},
        {"so is one on the second screen", true, 300, 2000, 560, 300, 2000},
        {"off every screen: onto the nearest", true, -30000, 90000, 560, 24, 2398},
        {"too low: moved up to fit", true, 420, 420, 725, 273, 420},
        {"taller than the screen: title bar on the screen", true, 420, 420, 1100, 24, 420},
    };
    for (const Case& c : cases) {
        const int window = LoadPanel(0, MAIN_UIR, MAINPANEL);
        if (c.placed) SetPanelPos(window, c.top, c.left);
        SetPanelAttribute(window, ATTR_WIDTH, 800);
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

TEST_F(ToolkitTest, TextsReadBackAsUtf8AndFailuresAreNegative)
{
    // Text is kept as UTF-8; bytes that are not UTF-8 are read as Latin-1.
    for (const char* text : {"Caf\xC3\xA9", "Caf\xE9"}) {
        TextField read{};
        SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text);
        GetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, read);
        EXPECT_STREQ(read.data(), "Caf\xC3\xA9");
    }
    int value = 0;
    EXPECT_LT(GetCtrlVal(panel, MAINPANEL_SPELL_LIST, &value), 0) << "an empty list has no value";
    EXPECT_LT(LoadPanel(0, "no-such-file.uir", 1), 0);
    EXPECT_LT(LoadPanel(0, MAIN_UIR, 7), 0);
    EXPECT_LT(LoadPanel(9999, MAIN_UIR, WAITPANEL), 0);
    EXPECT_LT(DisplayPanel(9999), 0);
    EXPECT_LT(SetCtrlVal(panel, 999, 1), 0);
    EXPECT_LT(SetCtrlVal(panel, MAINPANEL_BROWSE, 1), 0) << "a button has no numeric value";
    EXPECT_LT(GetCtrlVal(panel, MAINPANEL_STATUS, &value), 0);
}

}  // namespace
