// The toolkit layer over Qt: what commits a control and what never does,
// window place, texts, controls drawn by a canvas, and the resource files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <map>
#include <span>

#include "app/main_uir.h"
#include "compare/compare_uir.h"
#include "popup/spell_uir.h"
#include "stacking/stacking_uir.h"
#include "ui/toolkit_testing.h"
#include "ui_test_support.h"

namespace {

using Events = std::vector<std::pair<int, int>>;  // (control, event)
Events g_events;
int RecordEvent(int, int control, int event, void*, int, int)
{
    g_events.emplace_back(control, event);
    return 0;
}

class ToolkitTest : public testing::Test {
protected:
    void SetUp() override { panel = LoadPanel(0, MAIN_UIR, MAINPANEL); }
    void TearDown() override { DiscardPanel(panel); }
    int panel = 0;
};

// A user's action on a control of the main window and what its callback gets.
struct UserActionRow {
    const char* name;
    const char* widget;  // its name in the resource file
    Qt::Key key;         // none: a click
    int control, event;
};
const UserActionRow kUserActionRows[] = {
    {"button clicked", "browseButton", {}, MAINPANEL_BROWSE, EVENT_COMMIT},
    {"check box clicked", "levelEnable", {}, MAINPANEL_LEVEL_ENABLE, EVENT_COMMIT},
    {"typing in a text box", "searchText", Qt::Key_A, MAINPANEL_SEARCH_TEXT, EVENT_VAL_CHANGED},
    {"Return in a text box", "searchText", Qt::Key_Return, MAINPANEL_SEARCH_TEXT, EVENT_COMMIT},
    {"numeric stepped", "spellNum", Qt::Key_Up, MAINPANEL_SPELL_NUM, EVENT_COMMIT},
    {"selector choice", "classSelector", Qt::Key_Down, MAINPANEL_CLASS, EVENT_COMMIT},
    {"list row moved", "spellList", Qt::Key_Down, MAINPANEL_SPELL_LIST, EVENT_VAL_CHANGED},
    {"list row activated", "spellList", Qt::Key_Return, MAINPANEL_SPELL_LIST, EVENT_COMMIT},
};

class UserAction : public ToolkitTest, public testing::WithParamInterface<UserActionRow> {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        for (int control : {MAINPANEL_SPELL_NUM, MAINPANEL_LEVEL_ENABLE, MAINPANEL_BROWSE,
                            MAINPANEL_SEARCH_TEXT, MAINPANEL_CLASS, MAINPANEL_SPELL_LIST})
            InstallCtrlCallback(panel, control, RecordEvent, nullptr);
        for (int list : {MAINPANEL_CLASS, MAINPANEL_SPELL_LIST})
            for (int value : {12, 3999}) InsertListItem(panel, list, -1, "Row", value);
        DisplayPanel(panel);
        g_events.clear();
    }
};

TEST_P(UserAction, ReachesTheCallbackAsCommitOrValueChange)
{
    const UserActionRow& c = GetParam();
    QWidget* widget = PanelWindow(panel)->findChild<QWidget*>(c.widget);
    c.key ? QTest::keyClick(widget, c.key) : QTest::mouseClick(widget, Qt::LeftButton);
    EXPECT_EQ(g_events, (Events{{c.control, c.event}}));
}

INSTANTIATE_TEST_SUITE_P(ToolkitTest, UserAction, testing::ValuesIn(kUserActionRows), RowName());

TEST_F(UserAction, TheProgramsOwnChangesCommitNothing)
{
    SetCtrlVal(panel, MAINPANEL_SPELL_NUM, 30);
    SetCtrlVal(panel, MAINPANEL_LEVEL_ENABLE, 0);
    SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, "Ward");
    SetCtrlIndex(panel, MAINPANEL_SPELL_LIST, 0);
    EXPECT_EQ(g_events, Events{});
}

// Two screens of 1920 and 1280 by 1000 side by side; 24-pixel title bars,
// 2-pixel borders. Where a window 800 wide is shown.
struct PlacementRow {
    const char* name;
    bool placed;
    int top, left, height;
    std::pair<int, int> shown;
};
const PlacementRow kPlacementRows[] = {
    {"no position: centred on the primary screen", false, 0, 0, 560, {231, 560}},
    {"a position on a screen is kept exactly", true, 120, 240, 560, {120, 240}},
    {"so is one on the second screen", true, 300, 2000, 560, {300, 2000}},
    {"off every screen: onto the nearest", true, -30000, 90000, 560, {24, 2398}},
    {"too low: moved up to fit", true, 420, 420, 725, {273, 420}},
    {"taller than the screen: title bar on the screen", true, 420, 420, 1100, {24, 420}},
};

class Placement : public ToolkitTest, public testing::WithParamInterface<PlacementRow> {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        SetScreensForTesting({{0, 0, 1920, 1000}, {0, 1920, 1280, 1000}}, 24, 2);
    }
    void TearDown() override
    {
        SetScreensForTesting(kTestDesktop);
        ToolkitTest::TearDown();
    }
};

TEST_P(Placement, KeepsTheWindowOnTheScreens)
{
    const PlacementRow& c = GetParam();
    if (c.placed) SetPanelPos(panel, c.top, c.left);
    SetPanelAttribute(panel, ATTR_WIDTH, 800);
    SetPanelAttribute(panel, ATTR_HEIGHT, c.height);
    DisplayPanel(panel);
    EXPECT_EQ(std::pair(PanelAttr(panel, ATTR_TOP), PanelAttr(panel, ATTR_LEFT)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(ToolkitTest, Placement, testing::ValuesIn(kPlacementRows), RowName());

TEST_F(ToolkitTest, ControlsKeepToTheirEdgesAndTextsReadBackAsUtf8)
{
    // Anchored controls follow a larger window; a smaller one keeps its resource size.
    DisplayPanel(panel);
    const int width = PanelAttr(panel, ATTR_WIDTH), height = PanelAttr(panel, ATTR_HEIGHT);
    auto places = [&] {
        return std::array{Attr(panel, MAINPANEL_SEARCH_TEXT, ATTR_WIDTH),
                          Attr(panel, MAINPANEL_SPELL_LIST, ATTR_HEIGHT),
                          Attr(panel, MAINPANEL_CLASS, ATTR_LEFT), Attr(panel, MAINPANEL_STATUS, ATTR_TOP),
                          PanelAttr(panel, ATTR_WIDTH)};
    };
    const std::array before = places();
    for (auto [grow, growth] : {std::pair{200, 1}, {-100, 0}}) {
        SetPanelAttribute(panel, ATTR_WIDTH, width + grow);
        SetPanelAttribute(panel, ATTR_HEIGHT, height + grow / 2);
        QApplication::processEvents();
        EXPECT_EQ(places(),
                  (std::array{before[0] + 200 * growth, before[1] + 100 * growth, before[2] + 200 * growth,
                              before[3] + 100 * growth, before[4] + 200 * growth}))
            << "window grown by " << grow;
    }
    // Text is kept as UTF-8; bytes that are not UTF-8 are read as Latin-1.
    for (const char* text : {"Caf\xC3\xA9", "Caf\xE9"}) {
        SetCtrlVal(panel, MAINPANEL_SEARCH_TEXT, text);
        EXPECT_EQ(Text(panel, MAINPANEL_SEARCH_TEXT), "Caf\xC3\xA9");
    }
    // A run-time caption sits left of its field, also when asked to sit over it; the asked place reads back.
    const int field = NewCtrl(panel, CTRL_STRING, "Caption", 300, 200);
    const QLabel* caption = ControlCaption(panel, field);
    for (int asked : {0, 190}) {
        if (asked) SetCtrlAttribute(panel, field, ATTR_LABEL_LEFT, asked);
        EXPECT_TRUE(caption->x() >= 0 && caption->geometry().right() < 200) << asked;
    }
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_LEFT), 190);
    // A message box shows the text as written: its own line breaks only, no markup.
    SetDialogHook(nullptr);
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        const auto* text = box->findChild<QTextEdit*>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::tuple(text->toPlainText(), text->document()->blockCount(), text->isReadOnly()),
                  std::tuple(QString("Caf\u00E9 <b>x</b>\nend"), 2, true));
        box->close();
    });
    MessagePopup("Title", "Caf\xE9 <b>x</b>\nend");
    SetDialogHook(&Dialogs());
}

// Run-time controls on a canvas: no widgets, attributes kept, drawn, clicks commit, captions clear.
TEST(CanvasTest, DrawsRunTimeControlsAndCommitsClicksOnItsButtons)
{
    const int panel = LoadPanel(0, "toolkit_canvas_test.uir", 1);
    QWidget* canvas = PanelCanvas(panel);
    const int field = NewCtrl(panel, CTRL_STRING, "Slot 3:", 180, 80);
    const int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "", 40, 40);
    const std::tuple<int, int, int> set[] = {{field, ATTR_LABEL_LEFT, 70},
                                             {field, ATTR_TEXT_POINT_SIZE, 16},
                                             {button, ATTR_WIDTH, 20},
                                             {button, ATTR_HEIGHT, 10},
                                             {button, ATTR_CMD_BUTTON_COLOR, 0x008000}};
    for (auto [control, attribute, value] : set) SetCtrlAttribute(panel, control, attribute, value);
    SetCtrlVal(panel, field, "Increase Hitpoints by 10");
    for (auto [control, attribute, value] : set) EXPECT_EQ(Attr(panel, control, attribute), value);
    EXPECT_EQ(Text(panel, field), "Increase Hitpoints by 10");
    std::string caption;
    QRect captionPlace;
    ASSERT_TRUE(PaintedCaption(panel, field, caption, captionPlace));
    EXPECT_LT(captionPlace.right(), 80) << "the caption was moved clear of its field";
    const int captionTop = Attr(panel, field, ATTR_LABEL_TOP);
    SetCtrlAttribute(panel, field, ATTR_TOP, 5000);
    EXPECT_EQ(Attr(panel, field, ATTR_LABEL_TOP), captionTop + 4820) << "the caption moves with its field";
    InstallCtrlCallback(panel, button, RecordEvent, nullptr);
    DisplayPanel(panel);
    QApplication::processEvents();
    EXPECT_EQ(canvas->grab().toImage().pixelColor(50, 45), QColor(0x00, 0x80, 0x00));
    g_events.clear();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 45));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 70));  // beside it
    EXPECT_EQ(g_events, (Events{{button, EVENT_COMMIT}}));
    EXPECT_GE(canvas->minimumHeight(), 5000 + Attr(panel, field, ATTR_HEIGHT)) << "it grows to show the last";
    EXPECT_TRUE(canvas->findChildren<QLabel*>().empty() && canvas->findChildren<QPushButton*>().empty());
    DiscardPanel(panel);
}

// Every callback name in the resource files is bound: a misspelt one would leave a dead button.
// Every callback a resource file names is bound, and every control the code
// addresses is there once, of the kind the code expects.
TEST(ResourceTest, CallbacksAreBoundAndControlsAreThereOnceWithTheirKind)
{
    const std::pair<const char*, std::span<const ExpectedControl>> resources[] = {
        {MAIN_UIR, kMainUirControls},
        {SPELL_UIR, kSpellUirControls},
        {STACKING_UIR, kStackingUirControls},
        {COMPARE_UIR, kCompareUirControls}};
    for (const auto& [file, expected] : resources) {
        std::vector<ResourcePanelInfo> panels;
        std::vector<ResourceControlInfo> controls;
        ASSERT_TRUE(InspectResource(file, panels, controls)) << file;
        for (const auto& p : panels)
            EXPECT_TRUE(p.callback.empty() || FindPanelCallback(p.callback.c_str()))
                << file << ": " << p.callback;
        std::map<std::pair<int, int>, std::string> kinds;
        for (const auto& c : controls) {
            EXPECT_TRUE(c.callback.empty() || FindCtrlCallback(c.callback.c_str()))
                << file << ": " << c.callback;
            EXPECT_TRUE(kinds.insert({{c.panelNumber, c.ctrlId}, c.kind}).second) << file << ": " << c.ctrlId;
        }
        for (const ExpectedControl& e : expected) {
            const auto it = kinds.find({e.panelNumber, e.ctrlId});
            EXPECT_EQ(it == kinds.end() ? "missing" : it->second, e.kind) << file << ": " << e.ctrlId;
        }
    }
}

}  // namespace
