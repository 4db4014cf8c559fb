// Controls made at run time, as widgets on a panel and drawn by a scrolling
// canvas: the same attributes and values, captions kept clear of their
// control's text, buttons that commit; the canvas makes no widget for them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/main_uir.h"
#include "ui/toolkit.h"
#include "ui/toolkit_internal.h"

namespace {

int g_commits = 0;
int CountCommit(int, int, int event, void*, int, int)
{
    g_commits += event == EVENT_COMMIT;
    return 0;
}

int Attr(int panel, int control, int attribute)
{
    int value = -1;
    EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &value), 0) << "attribute " << attribute;
    return value;
}

// Where a caption stands (ATTR_LABEL_LEFT reads back the place asked for).
QRect CaptionRect(int panel, int control)
{
    const toolkit::Control* c = toolkit::FindControl(panel, control);
    return c->label ? c->label->geometry() : toolkit::FindPanel(panel)->painted[c->painted].labelRect;
}

TEST(RunTimeControlsTest, KeepTheirAttributesValuesAndCallbacks)
{
    struct Case {
        const char* name;
        const char* file;
        int panelNumber;
    };
    for (const Case& c :
         {Case{"widgets", MAIN_UIR, MAINPANEL}, Case{"canvas", "toolkit_canvas_test.uir", 1}}) {
        SCOPED_TRACE(c.name);
        const int panel = LoadPanel(0, c.file, c.panelNumber);
        const int field = NewCtrl(panel, CTRL_STRING, "Slot 3:", 180, 80);
        const int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "Link", 182, 15);
        ASSERT_GT(button, field);
        const std::tuple<int, int, int> set[] = {{field, ATTR_WIDTH, 500},
                                                 {field, ATTR_LABEL_LEFT, 70},
                                                 {field, ATTR_LABEL_COLOR, 0xFFFF00},
                                                 {field, ATTR_TEXT_COLOR, 0xFFFFFF},
                                                 {field, ATTR_TEXT_POINT_SIZE, 16},
                                                 {button, ATTR_HEIGHT, 8},
                                                 {button, ATTR_CMD_BUTTON_COLOR, 0x008000}};
        for (auto [control, attribute, value] : set) SetCtrlAttribute(panel, control, attribute, value);
        SetCtrlVal(panel, field, "Increase Hitpoints by 10");
        for (auto [control, attribute, value] : set) EXPECT_EQ(Attr(panel, control, attribute), value);
        EXPECT_EQ(Attr(panel, field, ATTR_LEFT), 80);
        TextField text{};
        GetCtrlVal(panel, field, text);
        EXPECT_STREQ(text.data(), "Increase Hitpoints by 10");
        EXPECT_LT(CaptionRect(panel, field).right(), 80) << "the caption was moved clear of its field";
        const int captionTop = Attr(panel, field, ATTR_LABEL_TOP);
        SetCtrlAttribute(panel, field, ATTR_TOP, 200);
        EXPECT_EQ(Attr(panel, field, ATTR_LABEL_TOP), captionTop + 20) << "the caption moves with its field";
        g_commits = 0;
        InstallCtrlCallback(panel, button, CountCommit, nullptr);
        EXPECT_EQ(CommitCtrl(panel, button), 0);
        EXPECT_EQ(g_commits, 1);
        DiscardPanel(panel);
    }
}

TEST(RunTimeControlsTest, ACanvasDrawsThemAndCommitsClicksOnItsButtons)
{
    const int panel = LoadPanel(0, "toolkit_canvas_test.uir", 1);
    QWidget* canvas = toolkit::FindPanel(panel)->canvas;
    const int button = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "", 40, 40);
    SetCtrlAttribute(panel, button, ATTR_WIDTH, 20);
    SetCtrlAttribute(panel, button, ATTR_HEIGHT, 10);
    SetCtrlAttribute(panel, button, ATTR_CMD_BUTTON_COLOR, 0x008000);
    InstallCtrlCallback(panel, button, CountCommit, nullptr);
    const int last = NewCtrl(panel, CTRL_STRING, "Last", 5000, 70);
    SetCtrlAttribute(panel, 1, ATTR_FRAME_COLOR, 0x000080);  // a frame of the resource file
    DisplayPanel(panel);
    QApplication::processEvents();
    EXPECT_EQ(canvas->grab().toImage().pixelColor(50, 45), QColor(0x00, 0x80, 0x00));
    g_commits = 0;
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 45));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(50, 70));  // beside it
    EXPECT_EQ(g_commits, 1);
    EXPECT_GE(canvas->minimumHeight(), 5000 + Attr(panel, last, ATTR_HEIGHT))
        << "it grows to scroll to the last";
    EXPECT_TRUE(canvas->findChildren<QLabel*>().empty());
    EXPECT_TRUE(canvas->findChildren<QPushButton*>().empty());
    EXPECT_EQ(Attr(panel, 1, ATTR_FRAME_COLOR), 0x000080);
    EXPECT_NE(canvas->findChild<QFrame*>("frame1"), nullptr) << "controls of the resource file stay widgets";
    DiscardPanel(panel);
}

}  // namespace
